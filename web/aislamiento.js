// Service worker for hosts that cannot send headers: it serves the page's own files with the
// headers that make the page cross-origin isolated, which the engine's threads need.
self.addEventListener('install', () => self.skipWaiting())
self.addEventListener('activate', (evento) => evento.waitUntil(self.clients.claim()))

self.addEventListener('fetch', (evento) => {
  const peticion = evento.request
  if (peticion.cache === 'only-if-cached' && peticion.mode !== 'same-origin') return
  evento.respondWith(
    fetch(peticion).then((respuesta) => {
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
    }),
  )
})
