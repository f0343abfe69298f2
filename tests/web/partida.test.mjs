// The page's game bookkeeping without a browser: a stand-in engine keeps the lines it is sent,
// and each test answers for it.
import assert from 'node:assert/strict'
import { test } from 'node:test'
import { fileURLToPath } from 'node:url'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const { Partida, leerControl } = await import(`${raiz}web/src/partida.js`)

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
  partida.lineaDelMotor('bestmove d2d4')
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
