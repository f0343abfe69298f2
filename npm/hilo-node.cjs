// The engine's own thread under Node.js. The engine's script keeps its state in globals and takes
// its settings from a global Module, so it runs here at the thread's global scope, as its own
// threads load it; its lines, its start and its end go back as messages. Its input is the
// thread's standard input.
const { readFileSync } = require('node:fs')
const { join } = require('node:path')
const { runInThisContext } = require('node:vm')
const { parentPort, workerData } = require('node:worker_threads')

const guion = join(__dirname, 'motor', 'quorvantel.js')
const avisar = (mensaje) => parentPort.postMessage(mensaje)
Object.assign(globalThis, {
  require,
  __filename: guion,
  __dirname: join(__dirname, 'motor'),
  Module: {
    arguments: workerData.argumentos,
    print: (texto) => avisar({ linea: texto }),
    printErr: (texto) => avisar({ linea: texto }),
    onRuntimeInitialized: () => avisar({ listo: true }),
    onAbort: (motivo) => avisar({ fin: `it stopped: ${motivo}` }),
    onExit: (estado) => avisar({ fin: `status ${estado}` }),
  },
})
runInThisContext(readFileSync(guion, 'utf8'), { filename: guion })
