// Serves a built page on localhost with the headers that make it cross-origin isolated, which
// the engine's threads need.
//   node web/servir.mjs [FOLDER] [PORT]      (defaults: build/web, 8080)
import { createReadStream, statSync } from 'node:fs'
import { createServer } from 'node:http'
import { extname, join, normalize, resolve, sep } from 'node:path'
import { fileURLToPath } from 'node:url'

const TIPOS = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
}

const AISLAMIENTO = {
  'Cross-Origin-Opener-Policy': 'same-origin',
  'Cross-Origin-Embedder-Policy': 'require-corp',
  'Cross-Origin-Resource-Policy': 'same-origin',
}

// Starts serving the folder; resolves with the server once it listens. Without `aislar` the
// headers are left out, as a plain static host would.
export function servir(carpeta, puerto = 8080, { aislar = true } = {}) {
  const raiz = resolve(carpeta)
  const servidor = createServer((peticion, respuesta) => {
    let ruta
    try {
      ruta = decodeURIComponent(new URL(peticion.url, 'http://localhost').pathname)
    } catch {
      respuesta.writeHead(400).end()
      return
    }
    let archivo = normalize(join(raiz, ruta))
    if (archivo !== raiz && !archivo.startsWith(raiz + sep)) {
      respuesta.writeHead(403).end()
      return
    }
    try {
      if (statSync(archivo).isDirectory()) archivo = join(archivo, 'index.html')
      statSync(archivo)
    } catch {
      respuesta.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found')
      return
    }
    respuesta.writeHead(200, {
      'Content-Type': TIPOS[extname(archivo)] ?? 'application/octet-stream',
      'Cache-Control': 'no-cache',
      ...(aislar ? AISLAMIENTO : {}),
    })
    if (peticion.method === 'HEAD') respuesta.end()
    else createReadStream(archivo).pipe(respuesta)
  })
  return new Promise((resolver) => servidor.listen(puerto, '127.0.0.1', () => resolver(servidor)))
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const carpeta = process.argv[2] ?? join(fileURLToPath(new URL('..', import.meta.url)), 'build/web')
  const puerto = Number(process.argv[3] ?? 8080)
  const servidor = await servir(carpeta, puerto)
  console.log(`serving ${resolve(carpeta)} at http://localhost:${servidor.address().port}/`)
}
