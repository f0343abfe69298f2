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
// Files of the repository's root that travel with the package where they exist.
const AVISOS = ['LICENSE', 'THIRD-PARTY-NOTICES']

// The engine's version ("0.11 BETA") in npm's form ("0.11.0-beta").
export function versionSemver(cabecera) {
  const texto = cabecera.match(/TextoVersion\s*=\s*"([^"]+)"/)?.[1]
  const partes = texto?.match(/^(\d+)\.(\d+)(?:\.(\d+))?(?:\s+(\w+))?$/)
  if (!partes) throw new Error(`version.h: no version of the form "0.11 BETA" (${texto})`)
  const [, mayor, menor, parche = '0', etapa] = partes
  return `${mayor}.${menor}.${parche}${etapa ? `-${etapa.toLowerCase()}` : ''}`
}

function construir() {
  const version = versionSemver(readFileSync(join(raiz, 'src/consola/version.h'), 'utf8'))
  rmSync(destino, { recursive: true, force: true })
  mkdirSync(join(destino, CARPETA_MOTOR), { recursive: true })
  for (const [origen, nombre] of archivosDelMotor(raiz)) {
    if (!existsSync(origen)) throw new Error(`${origen} is missing; build the wasm preset first`)
    cpSync(origen, join(destino, CARPETA_MOTOR, nombre))
  }
  for (const archivo of FUENTES) cpSync(join(npm, archivo), join(destino, archivo))
  // The page's service worker, unversioned: it keeps no files and only isolates.
  cpSync(join(raiz, 'web/aislamiento.js'), join(destino, 'aislamiento.js'))
  for (const archivo of AVISOS) if (existsSync(join(raiz, archivo))) cpSync(join(raiz, archivo), join(destino, archivo))
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
