// The page in a real headless Chromium, for the page's tests: a server and a browser for the
// test file, a fresh context for each test, which fails on any error the page logs, and the
// moves of a person at the board.
//   QV_WEB: the built page (default build/web); QV_CHROMIUM: the browser (default /usr/bin/chromium)
import assert from 'node:assert/strict'
import { createRequire } from 'node:module'
import { after, afterEach, before, beforeEach } from 'node:test'
import { fileURLToPath } from 'node:url'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const { chromium } = createRequire(`${raiz}web/package.json`)('playwright-core')
export const { servir } = await import(`${raiz}web/servir.mjs`)

export const PAGINA = process.env.QV_WEB ?? `${raiz}build/web`
export const SEGUNDOS = 1000

export let servidor
let navegador
export let pagina
let errores

before(async () => {
  servidor = await servir(PAGINA, 0)
  navegador = await chromium.launch({
    executablePath: process.env.QV_CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  })
})

after(async () => {
  await navegador?.close()
  servidor?.close()
})

export async function abrir(servidorDe = servidor, consulta = '', contexto = {}) {
  pagina = await (await navegador.newContext(contexto)).newPage()
  errores = []
  pagina.on('pageerror', (error) => errores.push(error.message))
  pagina.on('console', (mensaje) => mensaje.type() === 'error' && errores.push(mensaje.text()))
  await pagina.goto(`http://127.0.0.1:${servidorDe.address().port}/${consulta}`)
}

beforeEach(() => {
  pagina = null
})

afterEach(async () => {
  if (!pagina) return
  await pagina.context().close()
  assert.deepEqual(errores, [])
})

export const consola = () => pagina.locator('#salida-consola')
export const jugadas = () => pagina.locator('#jugadas li')

export async function esperarTexto(locator, patron, plazo) {
  await pagina.waitForFunction(
    ([selector, fuente]) => new RegExp(fuente, 'm').test(document.querySelector(selector).textContent),
    [locator, patron.source],
    { timeout: plazo },
  )
}

export async function listo() {
  await esperarTexto('#salida-consola', /^readyok$/, 30 * SEGUNDOS)
}

// A click, or a tap, on the middle of a square of the board, seen from White's side.
export async function clicEnCasilla(casilla, pulsar = (x, y) => pagina.mouse.click(x, y)) {
  const caja = await pagina.locator('#tablero svg').first().boundingBox()
  const columna = casilla.charCodeAt(0) - 'a'.charCodeAt(0)
  const fila = 8 - Number(casilla[1])
  await pulsar(caja.x + (columna + 0.5) * caja.width / 8, caja.y + (fila + 0.5) * caja.height / 8)
}
export const tocarCasilla = (casilla) => clicEnCasilla(casilla, (x, y) => pagina.touchscreen.tap(x, y))

export async function nuevaPartida(color, control, nivel = '8') {
  await pagina.selectOption('#color', color)
  await pagina.selectOption('#control', control)
  await pagina.selectOption('#nivel', nivel)
  await pagina.click('#nueva')
}

export async function jugarYEsperarRespuesta(desde, hasta, patron) {
  await clicEnCasilla(desde)
  await clicEnCasilla(hasta)
  await esperarTexto('#jugadas', patron, 20 * SEGUNDOS)
}

// A clock's text ("4:59", or "0:09.5" under ten seconds) in seconds.
export async function segundosDelReloj(id) {
  const [m, s] = (await pagina.textContent(`#${id} .tiempo`)).split(':')
  return Number(m) * 60 + Number(s)
}

export async function escribirEnConsola(linea) {
  await pagina.fill('#entrada-consola', linea)
  await pagina.press('#entrada-consola', 'Enter')
}

