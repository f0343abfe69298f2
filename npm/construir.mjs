// Builds the npm package in build/npm/quorvantel from this folder and the WebAssembly build
// (build/wasm), and packs it into dist/quorvantel-<version>.tgz.
//   node npm/construir.mjs
import { execFileSync } from 'node:child_process'
import { cpSync, existsSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs'
import { createRequire } from 'node:module'
import { dirname, join, resolve } from 'node:path'
import { fileURLToPath } from 'node:url'

import { archivosDelMotor, CARPETA_MOTOR } from './archivos.mjs'

const npm = dirname(fileURLToPath(import.meta.url))
const raiz = resolve(npm, '..')
const destino = join(raiz, 'build/npm/quorvantel')
const dist = join(raiz, 'dist')
const esbuild = createRequire(join(raiz, 'web/package.json'))('esbuild')

const FUENTES = ['README.md', 'nucleo.mjs', 'navegador.mjs', 'node.mjs', 'hilo-node.cjs', 'quorvantel.cjs']
// The licence and the notices of the packages the page bundles travel with the package.
const AVISOS = ['LICENSE', 'THIRD-PARTY-NOTICES']

// The engine's version in npm's form ("0.11.0-beta"), from the one script that reads it.
export function versionNpm() {
  return execFileSync(join(raiz, 'scripts/version.sh'), ['npm'], { encoding: 'utf8' }).trim()
}

function construir() {
  const version = versionNpm()
  rmSync(destino, { recursive: true, force: true })
  mkdirSync(join(destino, CARPETA_MOTOR), { recursive: true })
  for (const [origen, nombre] of archivosDelMotor(raiz)) {
    if (!existsSync(origen)) throw new Error(`${origen} is missing; build the wasm preset first`)
    cpSync(origen, join(destino, CARPETA_MOTOR, nombre))
  }
  for (const archivo of FUENTES) cpSync(join(npm, archivo), join(destino, archivo))
  // The page's service worker, unversioned: it keeps no files and only isolates.
  cpSync(join(raiz, 'web/aislamiento.js'), join(destino, 'aislamiento.js'))
  for (const archivo of AVISOS) cpSync(join(raiz, archivo), join(destino, archivo))
  // One declaration file serves both forms of the module.
  for (const tipos of ['index.d.mts', 'index.d.cts']) cpSync(join(npm, 'quorvantel.d.ts'), join(destino, tipos))
  esbuild.buildSync({
    entryPoints: [join(npm, 'node.mjs')],
    bundle: true,
    platform: 'node',
    format: 'cjs',
    target: 'node18',
    outfile: join(destino, 'node.cjs'),
    define: { 'import.meta.url': 'direccionDelModulo' },
    banner: { js: "const direccionDelModulo = require('node:url').pathToFileURL(__filename).href;" },
    logLevel: 'warning',
  })
  const paquete = JSON.parse(readFileSync(join(npm, 'package.json'), 'utf8'))
  writeFileSync(join(destino, 'package.json'), `${JSON.stringify({ ...paquete, version }, null, 2)}\n`)
  mkdirSync(dist, { recursive: true })
  execFileSync('npm', ['pack', '--pack-destination', dist, '--loglevel', 'warn'], { cwd: destino, stdio: 'inherit' })
  console.log(`package built in ${join(dist, `quorvantel-${version}.tgz`)}`)
}

if (process.argv[1] === fileURLToPath(import.meta.url)) construir()
