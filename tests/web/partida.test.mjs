// The page's game bookkeeping without a browser: a stand-in engine keeps the lines it is sent,
// and each test answers for it.
import assert from 'node:assert/strict'
import { test } from 'node:test'
import { fileURLToPath } from 'node:url'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const { Partida, leerControl, textoControl } = await import(`${raiz}web/src/partida.js`)

const INICIO = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'

function preparar(control) {
  const enviadas = []
  const partida = new Partida({ enviar: (linea) => enviadas.push(linea) }, () => {})
  partida.tic(0)
  partida.empezar(INICIO, 'w', leerControl(control))
  partida.lineaDelMotor('readyok')
  return { partida, enviadas }
}

test('searches typed in the console, and a "go" that starts none, leave the game its own answer', () => {
  const { partida, enviadas } = preparar('jugada:1')
  partida.busquedaAjena('go')
  partida.busquedaAjena('go  ')
  partida.busquedaAjena('go depth 2')
  assert.ok(partida.jugarHumano('e2', 'e4'))
  assert.deepEqual(enviadas.slice(-2), ['position startpos moves e2e4', 'go movetime 1000'])
  // "Move now" waits for the console's searches to end, and stops the game's own.
  partida.moverYa()
  assert.equal(enviadas.at(-1), 'go movetime 1000')
  partida.lineaDelMotor('bestmove d2d4')
  assert.equal(enviadas.at(-1), 'stop')
  assert.deepEqual(partida.juego.history(), ['e4'])
  partida.lineaDelMotor('NODOS: Totales: 10 Qsearch: 4')
  partida.lineaDelMotor('bestmove e7e5')
  assert.deepEqual(partida.juego.history(), ['e4', 'e5'])
  assert.deepEqual(partida.resumen, ['NODOS: Totales: 10 Qsearch: 4'])
  assert.ok(partida.turnoHumano())
})

test('a take-back abandons the search and puts the clocks back; a clock at zero ends the game', () => {
  const { partida, enviadas } = preparar('reloj:60:2')
  partida.tic(1000)
  assert.ok(partida.jugarHumano('g1', 'f3'))
  assert.equal(enviadas.at(-1), 'go wtime 62000 btime 60000 winc 2000 binc 2000')
  partida.tic(6000)
  assert.equal(partida.relojes.b, 55000)
  partida.deshacer()
  assert.equal(enviadas.at(-1), 'stop')
  assert.deepEqual(partida.relojes, { w: 60000, b: 60000 })
  partida.lineaDelMotor('bestmove g8f6')
  assert.deepEqual(partida.juego.history(), [])
  assert.ok(partida.turnoHumano())

  assert.ok(partida.jugarHumano('e2', 'e4'))
  partida.tic(70000)
  assert.equal(partida.fin.texto, 'Black lost on time: White wins')
  assert.match(partida.pgn(), /\[Result "1-0"\]/)
})

test('levels 1 to 7 search to a fixed depth, stopped past their share of the clock; level 8 plays on the clock', () => {
  const { partida, enviadas } = preparar('reloj:60:2')
  partida.empezar(INICIO, 'b', leerControl('reloj:60:2'), 1)
  partida.lineaDelMotor('readyok')
  assert.equal(enviadas.at(-1), 'go depth 1')
  // A thirtieth of 60 s and the increment: 4 s.
  partida.tic(3900)
  assert.equal(enviadas.at(-1), 'go depth 1')
  partida.tic(4000)
  assert.equal(enviadas.at(-1), 'stop')
  partida.tic(9000)
  assert.equal(enviadas.filter((l) => l === 'stop').length, 1)
  partida.lineaDelMotor('bestmove e2e4')
  assert.match(partida.pgn(), /\[White "Quorvantel \(level 1\)"\][\s\S]*\[Level "1"\]/)
  partida.empezar(INICIO, 'b', leerControl('infinito'), 7)
  assert.equal(enviadas.at(-1), 'go depth 7')
  partida.empezar(INICIO, 'b', leerControl('jugada:5'), 4)
  assert.equal(enviadas.at(-1), 'go depth 4')
  // The level-7 search left behind answers first.
  partida.lineaDelMotor('bestmove d2d4')
  partida.tic(15000)
  assert.equal(enviadas.at(-1), 'stop')
  partida.empezar(INICIO, 'b', leerControl('reloj:60:2'), 8)
  assert.equal(enviadas.at(-1), 'go wtime 60000 btime 60000 winc 2000 binc 2000')
})

test('a game taken up from its record has its moves, clocks, colour, level and control back', () => {
  const { partida } = preparar('reloj:180:2')
  partida.empezar(INICIO, 'w', leerControl('reloj:180:2'), 3)
  partida.lineaDelMotor('readyok')
  partida.jugarHumano('e2', 'e4')
  partida.lineaDelMotor('bestmove c7c5')
  partida.jugarHumano('g1', 'f3')
  partida.tic(4000)
  const registro = JSON.parse(JSON.stringify(partida.registro()))

  const otra = preparar('jugada:1')
  otra.partida.restaurar(registro)
  assert.deepEqual(otra.partida.juego.history(), ['e4', 'c5', 'Nf3'])
  assert.deepEqual(otra.partida.relojes, partida.relojes)
  assert.equal(otra.partida.nivel, 3)
  assert.equal(otra.partida.colorHumano, 'w')
  assert.equal(textoControl(otra.partida.control), 'reloj:180:2')
  // The engine is asked again for the move it owed.
  assert.deepEqual(otra.enviadas.slice(-2), [
    'position startpos moves e2e4 c7c5 g1f3',
    'go depth 3',
  ])
  // A take-back after the reload puts the clocks of before the move back.
  otra.partida.lineaDelMotor('bestmove b8c6')
  otra.partida.deshacer()
  assert.deepEqual(otra.partida.juego.history(), ['e4', 'c5'])
  assert.equal(otra.partida.relojes.w, registro.relojesAntes[2].w)
})

test('an engine that ended leaves no search owed; the new one is asked once it is ready', () => {
  const { partida, enviadas } = preparar('jugada:1')
  partida.jugarHumano('d2', 'd4')
  partida.motorNuevo()
  assert.equal(partida.pensando, false)
  partida.lineaDelMotor('readyok')
  assert.deepEqual(enviadas.slice(-2), ['position startpos moves d2d4', 'go movetime 1000'])
  partida.lineaDelMotor('bestmove d7d5')
  assert.deepEqual(partida.juego.history(), ['d4', 'd5'])
})

test('a typed move is read as SAN or coordinates, and only when it is legal for the person now', () => {
  const { partida } = preparar('jugada:1')
  partida.empezar('4k3/1P6/8/8/8/8/4P3/1N2KN2 w - - 0 1', 'w', leerControl('jugada:1'))
  partida.lineaDelMotor('readyok')
  const leida = (texto) => {
    const j = partida.leerJugada(texto)
    return j && j.from + j.to + (j.promotion ?? '')
  }
  assert.equal(leida('b8=Q+'), 'b7b8q')
  assert.equal(leida('b7b8n'), 'b7b8n')
  assert.equal(leida(' Nbd2 '), 'b1d2')
  assert.equal(leida('Nd2'), null, 'ambiguous')
  assert.equal(leida('e2e5'), null)
  assert.equal(leida('Ke8'), null)
  assert.ok(partida.jugarHumano('e2', 'e4'))
  assert.equal(leida('d4'), null, 'not the person\'s turn')
})
