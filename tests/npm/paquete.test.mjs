// The npm package as its users get it: the tarball of `make npm` installed into an empty folder
// with no network, then used from Node.js (import and require), as a command, and in Chromium,
// bundled with esbuild and loaded as a plain module.
//   QV_NATIVO: the native engine whose benchmark it matches (default build/test/quorvantel)
//   QV_CHROMIUM: the browser (default /usr/bin/chromium)
import assert from 'node:assert/strict'
import { execFileSync } from 'node:child_process'
import { cpSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs'
import { createRequire } from 'node:module'
import { tmpdir } from 'node:os'
import { join } from 'node:path'
import { after, before, test } from 'node:test'
import { fileURLToPath } from 'node:url'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const requerirWeb = createRequire(`${raiz}web/package.json`)
const { versionNpm } = await import(`${raiz}npm/construir.mjs`)
const { servir } = await import(`${raiz}web/servir.mjs`)

const version = versionNpm()
const TARBALL = `${raiz}dist/quorvantel-${version}.tgz`
const PLAZO = { timeout: 60000 }
const BENCH = /^(\d+) nodes \d+ nps$/

// One body for every host: Black's answer to e2e4, a wait whose test throws, and a wait that the
// engine's end rejects.
const PARTIDA = `
const motor = await crearMotor()
const fallida = motor.esperar(() => { throw new Error('x') }).then(() => 'resolved', () => 'rejected')
motor.enviar('position startpos moves e2e4')
motor.enviar('go depth 6')
const mejor = await motor.esperar('bestmove')
if ((await fallida) !== 'rejected') throw new Error('a throwing test did not reject its wait')
const nunca = motor.esperar(/^never$/).then(() => 'resolved', () => 'rejected')
await motor.terminar()
const resultado = mejor + ' / ' + (await nunca) + ' / ' + motor.activo`
const RESULTADO = /^bestmove [a-h][78][a-h][56]\b.* \/ rejected \/ false$/

let carpeta

before(() => {
  carpeta = mkdtempSync(join(tmpdir(), 'quorvantel-npm-'))
  writeFileSync(join(carpeta, 'package.json'), '{ "private": true }\n')
  execFileSync('npm', ['install', TARBALL, '--offline', '--no-audit', '--no-fund'], { cwd: carpeta, stdio: 'ignore' })
})

after(() => rmSync(carpeta, { recursive: true, force: true }))

const ejecutar = (orden, argumentos, entrada = '') =>
  execFileSync(orden, argumentos, { cwd: carpeta, input: entrada, encoding: 'utf8', ...PLAZO })

test('from import and from require, the engine answers a position and ends cleanly', () => {
  writeFileSync(join(carpeta, 'partida.mjs'), `import { crearMotor } from 'quorvantel'\n${PARTIDA}\nconsole.log(resultado)\n`)
  writeFileSync(join(carpeta, 'partida.cjs'),
    `const { crearMotor } = require('quorvantel')\n;(async () => {${PARTIDA}\nconsole.log(resultado)\n})()\n`)
  for (const guion of ['partida.mjs', 'partida.cjs']) assert.match(ejecutar('node', [guion]).trim(), RESULTADO, guion)
})

test('npx quorvantel is the UCI engine on standard input and output, with the native benchmark', () => {
  const sesion = ejecutar('npx', ['quorvantel'], 'uci\nisready\nquit\n')
  assert.match(sesion, /^uciok$/m)
  assert.match(sesion, /^readyok$/m)
  const nativo = process.env.QV_NATIVO ?? `${raiz}build/test/quorvantel`
  const [paquete, propio] = [ejecutar('npx', ['quorvantel', 'bench']), ejecutar(nativo, ['bench'])]
    .map((salida) => salida.trim().match(BENCH)?.[1])
  assert.ok(propio, 'the native benchmark prints its node count')
  assert.equal(paquete, propio)
})

test('in Chromium, bundled with esbuild or imported as is, the engine answers a position', async () => {
  const web = join(carpeta, 'web')
  mkdirSync(web)
  writeFileSync(join(carpeta, 'pagina.mjs'), `import { crearMotor } from 'quorvantel'\n${PARTIDA}\ndocument.title = resultado\n`)
  await requerirWeb('esbuild').build({
    entryPoints: [join(carpeta, 'pagina.mjs')], bundle: true, format: 'esm', outfile: join(web, 'app.js'), logLevel: 'warning',
  })
  // The one step a bundler needs: the engine's files beside the bundle.
  cpSync(join(carpeta, 'node_modules/quorvantel/motor'), join(web, 'motor'), { recursive: true })
  writeFileSync(join(web, 'index.html'), '<script type="module" src="app.js"></script>\n')
  writeFileSync(join(carpeta, 'directo.html'), `<script type="module">
import { crearMotor } from './node_modules/quorvantel/navegador.mjs'\n${PARTIDA}\ndocument.title = resultado\n</script>\n`)
  const servidor = await servir(carpeta, 0)
  const navegador = await requerirWeb('playwright-core').chromium.launch({
    executablePath: process.env.QV_CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
  })
  try {
    const pagina = await navegador.newPage()
    for (const direccion of ['web/', 'directo.html']) {
      await pagina.goto(`http://127.0.0.1:${servidor.address().port}/${direccion}`)
      await pagina.waitForFunction(() => document.title.includes(' / '), null, PLAZO)
      assert.match(await pagina.title(), RESULTADO, direccion)
    }
  } finally {
    await navegador.close()
    servidor.close()
  }
})
