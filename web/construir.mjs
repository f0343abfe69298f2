// Builds the page into one static folder (default build/web): the bundled script, the page, its
// style and the board's pictures, the service worker, the engine's files in motor/ (the
// WebAssembly engine from build/wasm and its worker), which the npm package's module finds beside
// it, and the licence with the notices of the bundled packages.
//   node web/construir.mjs [DESTINATION]
import { createHash } from 'node:crypto'
import { cpSync, existsSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs'
import { dirname, join, relative, resolve } from 'node:path'
import { fileURLToPath } from 'node:url'

import * as esbuild from 'esbuild'

import { archivosDelMotor, CARPETA_MOTOR } from '../npm/archivos.mjs'
import { pngDeIcono } from './icono.mjs'

const web = dirname(fileURLToPath(import.meta.url))
const raiz = resolve(web, '..')
const destino = resolve(process.argv[2] ?? join(raiz, 'build/web'))
const ARCHIVOS_MOTOR = archivosDelMotor(raiz)

for (const [origen] of ARCHIVOS_MOTOR) {
  if (!existsSync(origen)) {
    console.error(`construir.mjs: ${origen} is missing; build the wasm preset first`)
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
for (const archivo of ['index.html', 'estilo.css', 'aislamiento.js']) cpSync(join(web, archivo), join(destino, archivo))
mkdirSync(join(destino, CARPETA_MOTOR))
for (const [origen, nombre] of ARCHIVOS_MOTOR) cpSync(origen, join(destino, CARPETA_MOTOR, nombre))
for (const archivo of ['LICENSE', 'THIRD-PARTY-NOTICES']) cpSync(join(raiz, archivo), join(destino, archivo))

const tablero = join(web, 'node_modules/cm-chessboard/assets')
for (const archivo of [
  'chessboard.css',
  'pieces/standard.svg',
  'extensions/markers/markers.css',
  'extensions/markers/markers.svg',
  'extensions/arrows/arrows.css',
  'extensions/arrows/arrows.svg',
  'extensions/promotion-dialog/promotion-dialog.css',
]) {
  mkdirSync(dirname(join(destino, 'assets', archivo)), { recursive: true })
  cpSync(join(tablero, archivo), join(destino, 'assets', archivo))
}
escribirManifiesto(destino)
escribirIconos(destino)
versionarServicio(destino)
console.log(`page built in ${destino}`)

function escribirManifiesto(carpeta) {
  const manifiesto = {
    name: 'Quorvantel',
    short_name: 'Quorvantel',
    description: 'Play chess against the Quorvantel engine, in the browser and offline.',
    start_url: './',
    scope: './',
    display: 'standalone',
    background_color: '#f4efe6',
    theme_color: '#7a4b1e',
    icons: [192, 512].map((lado) => ({
      src: `icono-${lado}.png`,
      sizes: `${lado}x${lado}`,
      type: 'image/png',
      purpose: 'any maskable',
    })),
  }
  writeFileSync(join(carpeta, 'manifest.webmanifest'), JSON.stringify(manifiesto, null, 2))
}

function escribirIconos(carpeta) {
  for (const lado of [192, 512]) writeFileSync(join(carpeta, `icono-${lado}.png`), pngDeIcono(lado))
}

// Every file of the folder, relative to it.
function archivosDe(carpeta) {
  return readdirSync(carpeta, { recursive: true, withFileTypes: true })
    .filter((e) => e.isFile())
    .map((e) => relative(carpeta, join(e.parentPath ?? e.path, e.name)))
    .sort()
}

// The service worker learns the page's files and a version drawn from their contents: any change
// of the build gives it a new cache.
function versionarServicio(carpeta) {
  const archivos = archivosDe(carpeta).filter((a) => a !== 'aislamiento.js')
  const huella = createHash('sha256')
  for (const archivo of archivos) huella.update(archivo).update(readFileSync(join(carpeta, archivo)))
  const version = huella.digest('hex').slice(0, 16)
  const ruta = join(carpeta, 'aislamiento.js')
  let texto = readFileSync(ruta, 'utf8')
  for (const [marca, valor] of [
    ["const VERSION = 'desarrollo'", `const VERSION = '${version}'`],
    ['const ARCHIVOS = []', `const ARCHIVOS = ${JSON.stringify(['./', ...archivos])}`],
  ]) {
    if (!texto.includes(marca)) throw new Error(`aislamiento.js lacks "${marca}"`)
    texto = texto.replace(marca, valor)
  }
  writeFileSync(ruta, texto)
}
