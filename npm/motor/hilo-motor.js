// The engine's own worker in a browser: a fresh global scope for every engine, which the engine's
// script needs (it keeps its state in globals), and the page's thread left free. The engine's
// command-line arguments come in the worker's address ("hilo-motor.js?bench"), so that it starts
// loading at once; every message is a line of input, which waits until the engine reads. The
// engine's lines, its start and its end go back as messages.
self.Module = {
  arguments: self.location.search.slice(1).split('&').filter(Boolean),
  // The engine's threads load the engine's script, not this one.
  mainScriptUrlOrBlob: new URL('quorvantel.js', self.location.href).href,
  print: (texto) => postMessage({ linea: texto }),
  printErr: (texto) => postMessage({ linea: texto }),
  onRuntimeInitialized: () => postMessage({ listo: true }),
  onAbort: (motivo) => postMessage({ fin: `it stopped: ${motivo}` }),
  onExit: (estado) => postMessage({ fin: `status ${estado}` }),
}
importScripts('quorvantel.js')
self.onmessage = (evento) => self.Module.enviarLinea(evento.data)
