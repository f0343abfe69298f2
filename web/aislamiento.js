// The page's service worker. It keeps the page's files for use without a network, in a cache
// named after the build, so that a new build replaces the old files; and it serves them with the
// headers that make the page cross-origin isolated, which the engine's threads need, for hosts
// that cannot send them. The page's build writes VERSION and ARCHIVOS; unwritten, as the npm
// package ships it, it keeps no files and only isolates.
const VERSION = 'desarrollo'
const ARCHIVOS = []
const CACHE = `quorvantel-${VERSION}`

function aislada(respuesta) {
  if (respuesta.status === 0) return respuesta
  const cabeceras = new Headers(respuesta.headers)
  cabeceras.set('Cross-Origin-Opener-Policy', 'same-origin')
  cabeceras.set('Cross-Origin-Embedder-Policy', 'require-corp')
  cabeceras.set('Cross-Origin-Resource-Policy', 'same-origin')
  return new Response(respuesta.body, {
    status: respuesta.status,
    statusText: respuesta.statusText,
    headers: cabeceras,
  })
}

// The files are kept as far as they can be: isolation must not wait on them. The first worker
// takes over at once; a new build's waits until the pages of the old one are closed, so that no
// page mixes the files of two builds.
self.addEventListener('install', (evento) => {
  evento.waitUntil(
    caches
      .open(CACHE)
      .then((cache) => cache.addAll(ARCHIVOS.map((archivo) => new Request(archivo, { cache: 'reload' }))))
      .catch(() => undefined)
      .then(() => self.registration.active || self.skipWaiting()),
  )
})

self.addEventListener('activate', (evento) => {
  evento.waitUntil(
    caches
      .keys()
      // Only its own older caches go: a site that hosts the engine keeps its own.
      .then((nombres) => nombres.filter((n) => n.startsWith('quorvantel-') && n !== CACHE))
      .then((viejas) => Promise.all(viejas.map((n) => caches.delete(n))))
      .then(() => self.clients.claim()),
  )
})

const PAGINA = new URL('./', self.location.href).pathname

// The page's own files come from the cache, the page with any query too; anything else from
// the network.
self.addEventListener('fetch', (evento) => {
  const peticion = evento.request
  if (peticion.cache === 'only-if-cached' && peticion.mode !== 'same-origin') return
  const url = new URL(peticion.url)
  const propia = url.origin === self.location.origin && peticion.method === 'GET'
  const pagina = url.pathname === PAGINA || url.pathname === `${PAGINA}index.html`
  const clave = pagina ? PAGINA : url.pathname
  evento.respondWith(
    (propia ? caches.open(CACHE).then((cache) => cache.match(clave)) : Promise.resolve(undefined))
      .then((guardada) => guardada ?? fetch(peticion))
      .then(aislada),
  )
})
