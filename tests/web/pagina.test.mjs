// The page in a real headless Chromium: it loads, its engine answers, a person plays with the
// mouse, and the engine's answers reach the board, the result line and the console panel.
import assert from 'node:assert/strict'
import { test } from 'node:test'

import {
  abrir, clicEnCasilla, consola, escribirEnConsola, esperarTexto, jugadas, jugarYEsperarRespuesta, listo,
  nuevaPartida, PAGINA, pagina, segundosDelReloj, SEGUNDOS, servidor, servir, tocarCasilla,
} from './navegador.mjs'

test('a move by mouse gets a legal reply from the engine', async () => {
  await abrir()
  await listo()
  assert.equal(await pagina.textContent('#estado-motor'), 'Engine ready')
  await nuevaPartida('w', 'jugada:1')
  await clicEnCasilla('e2')
  assert.equal(await pagina.locator('.marker-dot').count(), 2, 'the two targets of e2 are not shown')
  await clicEnCasilla('e4')
  await esperarTexto('#jugadas', /^e4 \S+/, 20 * SEGUNDOS)
  assert.match(await jugadas().first().textContent(), /^e4 [a-hNBRQKO][\w=+#-]*$/)
  assert.equal(await pagina.textContent('#resultado'), '')
})

test('a reload in the middle of a game brings it back where it was, clocks included', async () => {
  await abrir()
  await listo()
  await nuevaPartida('w', 'reloj:60:0', '1')
  await jugarYEsperarRespuesta('e2', 'e4', /^e4 \S+/)
  const antes = await pagina.textContent('#jugadas')
  const relojNegro = await segundosDelReloj('reloj-arriba')
  await pagina.waitForTimeout(1500)
  const relojBlanco = await segundosDelReloj('reloj-abajo')
  assert.ok(relojBlanco < 60, `White's clock did not run: ${relojBlanco}`)
  await pagina.reload()
  await listo()
  assert.equal(await pagina.textContent('#jugadas'), antes)
  assert.equal(await pagina.inputValue('#nivel'), '1')
  assert.equal(await segundosDelReloj('reloj-arriba'), relojNegro)
  const despues = await segundosDelReloj('reloj-abajo')
  assert.ok(despues <= relojBlanco && despues > relojBlanco - 5, `White's clock ${relojBlanco} came back as ${despues}`)
  await jugarYEsperarRespuesta('g1', 'f3', /Nf3 \S+$/)
  const partida = await pagina.textContent('#jugadas')
  // The benchmark's page, opened in its place and left, keeps nothing of its own.
  const direccion = pagina.url()
  await pagina.goto(`${direccion}?bench`)
  await esperarTexto('#salida-consola', /nodes/, 30 * SEGUNDOS)
  await pagina.goto(direccion)
  await listo()
  assert.equal(await pagina.textContent('#jugadas'), partida)
})

test('an engine that ends is replaced, and the game goes on', async () => {
  await abrir()
  await listo()
  await nuevaPartida('b', 'infinito')
  await esperarTexto('#p-profundidad', /^[1-9]/, 20 * SEGUNDOS)
  await escribirEnConsola('quit')
  await esperarTexto('#estado-motor', /^The engine ended \(status 0\) and a new one took over: engine ready$/, 30 * SEGUNDOS)
  // The new engine is asked for the move the old one owed.
  await esperarTexto('#p-profundidad', /^[1-9]/, 20 * SEGUNDOS)
  await pagina.click('#mover-ya')
  await esperarTexto('#jugadas', /^\S+/, 10 * SEGUNDOS)
  assert.equal(await jugadas().count(), 1)
})

test('after one visit the page loads and plays without a network', async () => {
  await abrir()
  await listo()
  await pagina.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 20 * SEGUNDOS })
  await pagina.context().setOffline(true)
  const inicio = Date.now()
  await pagina.reload()
  await esperarTexto('#estado-motor', /^Engine ready$/, 30 * SEGUNDOS)
  console.log(`offline reload to "Engine ready": ${Date.now() - inicio} ms`)
  await nuevaPartida('w', 'jugada:1', '1')
  await jugarYEsperarRespuesta('e2', 'e4', /^e4 \S+/)
})

test('on a phone the page fits its width, taps move pieces and typed moves are played', async () => {
  await abrir(servidor, '', { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true })
  await listo()
  const anchos = await pagina.evaluate(() => [document.documentElement.scrollWidth, innerWidth])
  assert.equal(anchos[0], anchos[1], 'the page scrolls sideways')
  const tablero = await pagina.locator('#tablero').boundingBox()
  assert.ok(tablero.width >= 360, `the board is ${tablero.width} px wide`)
  await nuevaPartida('w', 'jugada:1', '2')
  await tocarCasilla('d2')
  await tocarCasilla('d4')
  await esperarTexto('#jugadas', /^d4 \S+/, 20 * SEGUNDOS)
  assert.match(await pagina.textContent('#anuncio'), /^Quorvantel played \S+$/)
  await pagina.fill('#jugada', 'Nf9')
  await pagina.press('#jugada', 'Enter')
  assert.equal(await pagina.textContent('#error-jugada'), 'Not a move you can play now: Nf9')
  await pagina.fill('#jugada', 'g1f3')
  await pagina.press('#jugada', 'Enter')
  await esperarTexto('#jugadas', /Nf3 \S+$/, 20 * SEGUNDOS)
  await pagina.fill('#jugada', 'e3')
  await pagina.press('#jugada', 'Enter')
  await esperarTexto('#jugadas', /e3 \S+$/, 20 * SEGUNDOS)
  assert.equal(await pagina.textContent('#error-jugada'), '')
})

test('"Move now" ends a search without a limit with a move', async () => {
  await abrir()
  await listo()
  await nuevaPartida('b', 'infinito')
  await esperarTexto('#p-profundidad', /^[1-9]/, 20 * SEGUNDOS)
  assert.equal(await jugadas().count(), 0)
  await pagina.click('#mover-ya')
  await esperarTexto('#jugadas', /^\S+/, 10 * SEGUNDOS)
  assert.match(await pagina.textContent('#resumen'), /^NODOS: Totales: \d+/)
})

test('a broken FEN is refused and a mate in one set up by FEN ends the game', async () => {
  await abrir()
  await listo()
  await pagina.selectOption('#color', 'b')
  await pagina.selectOption('#control', 'jugada:1')
  await pagina.fill('#fen', '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0')
  await pagina.click('#formulario-fen button')
  assert.match(await pagina.textContent('#error-fen'), /^Not a position: /)
  await pagina.fill('#fen', '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1')
  await pagina.click('#formulario-fen button')
  await esperarTexto('#resultado', /^Checkmate: White wins$/, 20 * SEGUNDOS)
  assert.equal(await jugadas().first().textContent(), 'Ra8#')
  assert.match(await pagina.inputValue('#pgn'), /\[FEN "6k1\/5ppp\/8\/8\/8\/8\/5PPP\/R5K1 w - - 0 1"\][\s\S]*1\. Ra8# 1-0/)
})

test('the console panel runs engine commands and shows their answers', async () => {
  await abrir()
  await listo()
  await escribirEnConsola('move e2e5')
  await esperarTexto('#salida-consola', /^Movimiento Ilegal: e2e5$/, 10 * SEGUNDOS)
  await escribirEnConsola('perft 3')
  await esperarTexto('#salida-consola', /^Perft\(3\) = 8902$/, 20 * SEGUNDOS)
  // A search typed in the console is shown there and never played on the board.
  await escribirEnConsola('go depth 3')
  await esperarTexto('#salida-consola', /^bestmove \S+$/, 20 * SEGUNDOS)
  assert.equal(await jugadas().count(), 0)
})

test('the benchmark in the browser counts the same nodes as every other build', async () => {
  await abrir(servidor, '?bench')
  await esperarTexto('#salida-consola', /^13977224 nodes \d+ nps$/, 30 * SEGUNDOS)
  const linea = (await consola().textContent()).match(/^13977224 nodes \d+ nps$/m)[0]
  console.log(`Chromium: ${linea}`)
})

test('on a host without the isolation headers the service worker supplies them', async () => {
  const llano = await servir(PAGINA, 0, { aislar: false })
  try {
    await abrir(llano)
    await listo()
    assert.equal(await pagina.evaluate(() => window.crossOriginIsolated), true)
  } finally {
    llano.close()
  }
})
