// The analysis board, the review and PGN import in Chromium, as a person uses them.
import assert from 'node:assert/strict'
import { test } from 'node:test'

import { abrir, clicEnCasilla, escribirEnConsola, esperarTexto, jugadas, listo, pagina, SEGUNDOS } from './navegador.mjs'

const MATE_EN_DOS = '1r5k/6pp/7N/3Q4/8/8/8/6K1 w - - 0 1'
const PARTIDA_CON_ERROR = `[Event "Planted"]
[White "A"]
[Black "B"]
[Result "1-0"]

1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0`

async function importar(texto) {
  await pagina.fill('#texto-importar', texto)
  await pagina.click('#formulario-importar button[type=submit]')
}

test('the analysis board shows mate in two with an arrow, moves both sides and gives the game back', async () => {
  await abrir()
  await listo()
  await pagina.selectOption('#color', 'w')
  await pagina.fill('#fen', MATE_EN_DOS)
  await pagina.click('#formulario-fen button')
  await pagina.click('#analizar')
  await esperarTexto('#a-evaluacion', /^M2, depth \d+$/, 20 * SEGUNDOS)
  await pagina.waitForSelector('#tablero [data-arrow="d5g8"]', { timeout: 10 * SEGUNDOS })
  assert.match(await pagina.textContent('#a-variante'), /^Qg8\+ Rxg8 Nf7#/)
  await clicEnCasilla('d5')
  await clicEnCasilla('g8')
  await clicEnCasilla('b8')
  await clicEnCasilla('g8')
  await esperarTexto('#a-evaluacion', /^M1, /, 20 * SEGUNDOS)
  await pagina.keyboard.press('ArrowLeft')
  await pagina.keyboard.press('ArrowLeft')
  await esperarTexto('#a-evaluacion', /^M2, /, 20 * SEGUNDOS)
  assert.equal(await pagina.getAttribute('#a-jugadas li:first-child button', 'aria-current'), null)
  await pagina.click('#salir-analisis')
  assert.equal(await jugadas().count(), 0)
  assert.equal(await pagina.isHidden('#panel-analisis'), true)
})

test('a review marks the planted blunder with a better move, and is kept with the imported game', async () => {
  await abrir()
  await listo()
  await importar(PARTIDA_CON_ERROR)
  await pagina.click('#revisar')
  await esperarTexto('#precisiones', /^White: accuracy/, 60 * SEGUNDOS)
  const marcadas = await pagina.locator('#a-jugadas li:has(.mejor)').allTextContents()
  assert.deepEqual(marcadas.map((t) => t.replace(/, best was .*/, '')), ['3… Nf6?? blunder'])
  assert.match(marcadas[0], /best was \S+/)
  const precisiones = (await pagina.textContent('#precisiones')).match(/accuracy (\d+\.\d)/g)
  for (const p of precisiones) assert.ok(Number(p.split(' ')[1]) >= 0 && Number(p.split(' ')[1]) <= 100, p)
  // Kept in the list: opened again, the review is there without a second run.
  await pagina.reload()
  await listo()
  await pagina.click('#partidas li button:text("Open")')
  await esperarTexto('#precisiones', /^White: accuracy/, 5 * SEGUNDOS)
  assert.equal(await pagina.isHidden('#revisar'), true)
  // Clicking the graph's right end goes to the last move.
  const caja = await pagina.locator('#grafica').boundingBox()
  await pagina.mouse.click(caja.x + caja.width - 1, caja.y + caja.height / 2)
  await esperarTexto('#a-evaluacion', /^Checkmate$/, 5 * SEGUNDOS)
})

test('a PGN with an illegal move is refused at that move; of a two-game file either can be opened', async () => {
  await abrir()
  await listo()
  await importar('1. e4 e5 2. Nf3 Nf6 3. Nxe5 Ke7 4. Qxf7 *')
  assert.equal(await pagina.textContent('#error-importar'), 'This PGN cannot be read: Move 4 for White, "Qxf7", is not legal here')
  assert.equal(await pagina.isHidden('#panel-analisis'), true)
  await importar(`[White "Uno"]\n[Black "Dos"]\n\n1. d4 d5 1/2-1/2\n\n[White "Tres"]\n[Black "Cuatro"]\n\n1. c4 *\n`)
  assert.deepEqual(await pagina.locator('#partida-importar option').allTextContents(),
    ['1. Uno – Dos, *', '2. Tres – Cuatro, *'])
  await pagina.selectOption('#partida-importar', '1')
  await pagina.click('#abrir-importada')
  await esperarTexto('#a-jugadas', /^1\. c4$/, 5 * SEGUNDOS)
})

test('Cancel stops a review at once, and the engine answers straight after', async () => {
  await abrir()
  await listo()
  const larga = '1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3 O-O 9. h3 Nb8 10. d4 Nbd7 *'
  await importar(larga)
  await pagina.click('#revisar')
  await pagina.waitForFunction(() => document.getElementById('progreso-revision').value > 0, null, { timeout: 20 * SEGUNDOS })
  await pagina.click('#cancelar-revision')
  await esperarTexto('#aviso-revision', /^Review cancelled$/, 5 * SEGUNDOS)
  assert.equal(await pagina.isHidden('#progreso'), true)
  const listos = () => pagina.evaluate(() => document.getElementById('salida-consola').textContent.match(/^readyok$/gm).length)
  const antes = await listos()
  await escribirEnConsola('isready')
  await pagina.waitForFunction((n) => document.getElementById('salida-consola').textContent.match(/^readyok$/gm).length > n, antes, { timeout: 5 * SEGUNDOS })
  // The board analyses again.
  await esperarTexto('#a-evaluacion', /depth \d+$/, 20 * SEGUNDOS)
  // A game imported in the middle of a review is analysed at once.
  await pagina.click('#a-inicio')
  await importar(larga)
  await pagina.click('#revisar')
  await pagina.waitForFunction(() => document.getElementById('progreso-revision').value > 0, null, { timeout: 20 * SEGUNDOS })
  await importar('1. d4 d5 *')
  await esperarTexto('#a-evaluacion', /depth \d+$/, 20 * SEGUNDOS)
  assert.equal(await pagina.textContent('#aviso-revision'), '')
})
