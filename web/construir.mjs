// Builds the page into one static folder (default build/web): the bundled script, the page, its
// style and the board's pictures, the service worker, and the WebAssembly engine from build/wasm.
//   node web/construir.mjs [DESTINATION]
import { cpSync, existsSync, mkdirSync, rmSync } from 'node:fs'
import { dirname, join, resolve } from 'node:path'
import { fileURLToPath } from 'node:url'

import * as esbuild from 'esbuild'

const web = dirname(fileURLToPath(import.meta.url))
const raiz = resolve(web, '..')
const destino = resolve(process.argv[2] ?? join(raiz, 'build/web'))
const motor = join(raiz, 'build/wasm')
const ARCHIVOS_MOTOR = ['quorvantel.js', 'quorvantel.wasm', 'quorvantel.worker.js']

for (const archivo of ARCHIVOS_MOTOR) {
  if (!existsSync(join(motor, archivo))) {
    console.error(`construir.mjs: ${join(motor, archivo)} is missing; build the wasm preset first`)
    process.exit(1)
  }
}

rmSync(destino, { recursive: true, force: true })
mkdirSync(destino, { recursive: true })
await esbuild.build({
  entryPoints: [join(web, 'src/app.js')],
  bundle: true,
  minify: true,
  format: 'esm',
  target: 'es2020',
  outfile: join(destino, 'app.js'),
  logLevel: 'warning',
})
for (const archivo of ['index.html', 'estilo.css', 'aislamiento.js', 'hilo-motor.js']) cpSync(join(web, archivo), join(destino, archivo))
for (const archivo of ARCHIVOS_MOTOR) cpSync(join(motor, archivo), join(destino, archivo))

const tablero = join(web, 'node_modules/cm-chessboard/assets')
for (const archivo of [
  'chessboard.css',
  'pieces/standard.svg',
  'extensions/markers/markers.css',
  'extensions/markers/markers.svg',
  'extensions/promotion-dialog/promotion-dialog.css',
]) {
  mkdirSync(dirname(join(destino, 'assets', archivo)), { recursive: true })
  cpSync(join(tablero, archivo), join(destino, 'assets', archivo))
}
console.log(`page built in ${destino}`)
