// Reading PGN the way players paste it or save it from other programs, and refusing what does
// not read with a message that says where.
import assert from 'node:assert/strict'
import { test } from 'node:test'
import { fileURLToPath } from 'node:url'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const { leerPartida, partidasDePgn } = await import(`${raiz}web/src/importar.js`)

const INICIO = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'

const ARCHIVO = [
  '\uFEFF[Event "Club \\"open\\""]',
  '[White "Ana"]',
  '[Result "1-0"]',
  '',
  '1. e4 {best by test} e5 $1 2. Nf3!? (2. f4 exf4 {gambit} (2... d5 3. exd5)) 2... Nc6',
  '; a line comment with ( and {',
  '3.Bb5 a6 4. Ba4 Nf6 5. 0-0 Be7 1-0',
  '',
  '[Event "Second"]',
  '[Result "0-1"]',
  '',
  '1. f3 e5 2. g4 Qh4#',
  '',
].join('\r\n')

test('a two-game file gives both games with their tags, mainline moves and results', () => {
  const partidas = partidasDePgn(ARCHIVO)
  assert.deepEqual(
    partidas.map((p) => p.cabeceras.Event),
    ['Club "open"', 'Second'],
  )
  const primera = leerPartida(partidas[0].texto)
  assert.equal(primera.fenInicial, INICIO)
  assert.equal(primera.cabeceras.White, 'Ana')
  assert.deepEqual(primera.jugadas, [
    'e2e4', 'e7e5', 'g1f3', 'b8c6', 'f1b5', 'a7a6', 'b5a4', 'g8f6', 'e1g1', 'f8e7',
  ])
  assert.equal(primera.resultado, '1-0')
  const segunda = leerPartida(partidas[1].texto)
  assert.deepEqual(segunda.jugadas, ['f2f3', 'e7e5', 'g2g4', 'd8h4'])
  assert.equal(segunda.resultado, '0-1')
  assert.deepEqual(partidasDePgn(' \r\n\n'), [])
  assert.equal(partidasDePgn('1. d4 d5 *').length, 1)
  assert.deepEqual(leerPartida('Downloaded from a site\n\n[White "A"]\n\n1. d4 *').jugadas, ['d2d4'])
})

test('a game from a FEN tag starts there and promotes; without a termination the Result tag holds', () => {
  const fen = '4k3/P7/8/8/8/8/8/R3K3 b Q - 0 30'
  const partida = leerPartida(`[Result "1/2-1/2"]\n[SetUp "1"]\n[FEN "${fen}"]\n\n30... Kd7 31. 0-0-0+ Ke7 32. a8Q\n`)
  assert.equal(partida.fenInicial, fen)
  assert.deepEqual(partida.jugadas, ['e8d7', 'e1c1', 'd7e7', 'a7a8q'])
  assert.equal(partida.resultado, '1/2-1/2')
  assert.throws(
    () => leerPartida('[FEN "8/8/8/8/8/8/8/8 w - - 0 1"]\n1. e4'),
    { message: 'The FEN tag is not a legal position: missing white king' },
  )
})

test('a move the position does not allow, or a token that is no move, is refused at that move', () => {
  const apertura = '1. e4 e5 2. Nf3 Nc6 3. Bb5 '
  assert.throws(() => leerPartida(`${apertura}Nxe5 4. O-O *`), {
    message: 'Move 3 for Black, "Nxe5", is not legal here',
  })
  assert.throws(() => leerPartida(`${apertura}a6 4. Kx9 *`), {
    message: 'Move 4 for White: "Kx9" is not a move',
  })
})

test('unbalanced comments and variations, and moves after the result, are refused', () => {
  for (const [texto, mensaje] of [
    ['1. e4 {never closed e5', 'A comment opened with "{" is never closed, after 1. e4'],
    ['1. e4 e5 } 2. d4', 'A "}" closes no comment, after 1... e5'],
    ['1. e4 (1. d4 d5 2. c4 *', 'A variation opened with "(" is never closed, after 1. e4'],
    ['1. e4 1-0 e5', '"e5" follows the result, after 1. e4'],
  ]) {
    assert.throws(() => leerPartida(texto), { message: mensaje })
  }
})
