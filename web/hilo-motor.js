// The engine's own worker: a fresh global scope for every engine, which the engine's script needs
// (it keeps its state in globals), and the page's thread left free. The first message gives the
// command-line arguments; every later one is a line of input. The engine's lines, its start and
// its end go back as messages.
let enEspera = []

self.onmessage = (evento) => {
  const { argumentos, linea } = evento.data
  if (argumentos) {
    self.Module = {
      arguments: argumentos,
      // The engine's threads load the engine's script, not this one.
      mainScriptUrlOrBlob: new URL('quorvantel.js', self.location.href).href,
      print: (texto) => postMessage({ linea: texto }),
      printErr: (texto) => postMessage({ linea: texto }),
      onRuntimeInitialized: () => postMessage({ listo: true }),
      onAbort: (motivo) => postMessage({ fin: `it stopped: ${motivo}` }),
      onExit: (estado) => postMessage({ fin: `status ${estado}` }),
    }
    importScripts('quorvantel.js')
    enEspera.forEach((l) => self.Module.enviarLinea(l))
    enEspera = null
  } else if (enEspera) {
    enEspera.push(linea)
  } else {
    self.Module.enviarLinea(linea)
  }
}
