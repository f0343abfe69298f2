#!/usr/bin/env node
// The engine on standard input and output, as a chess program or a tournament manager starts it;
// "quorvantel bench" runs its benchmark.
require('./motor/quorvantel.js')
