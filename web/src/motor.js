// The engine in this page: the WebAssembly build, running in threads of its own. Lines go to it
// one at a time; every line it prints goes to each listener, in order.
export class Motor {
  constructor() {
    this.oyentes = []
    this.terminado = false
    this.alTerminar = () => {}
    // Lines sent before the engine's script has run wait here.
    this.enEspera = []
  }

  // Loads the engine with the given command-line arguments; resolves once it reads input.
  iniciar(argumentos = []) {
    return new Promise((resolver, rechazar) => {
      window.Module = {
        arguments: argumentos,
        print: (linea) => this.recibir(linea),
        printErr: (linea) => this.recibir(linea),
        onRuntimeInitialized: resolver,
        onAbort: (motivo) => rechazar(new Error(`the engine stopped: ${motivo}`)),
        onExit: (estado) => {
          this.terminado = true
          this.alTerminar(estado)
        },
      }
      const guion = document.createElement('script')
      guion.src = 'quorvantel.js'
      guion.onload = () => {
        const enEspera = this.enEspera
        this.enEspera = null
        enEspera.forEach((linea) => this.enviar(linea))
      }
      guion.onerror = () => rechazar(new Error('quorvantel.js could not be loaded'))
      document.head.appendChild(guion)
    })
  }

  enviar(linea) {
    if (this.enEspera) this.enEspera.push(linea)
    else if (!this.terminado) window.Module.enviarLinea(linea)
  }

  alRecibir(oyente) {
    this.oyentes.push(oyente)
  }

  recibir(linea) {
    for (const oyente of this.oyentes) oyente(linea)
  }
}

// The fields of an "info depth" line: depth, score, nodes, nps and the line of moves.
export function leerInfo(linea) {
  const palabras = linea.trim().split(/\s+/)
  const info = {}
  for (let i = 1; i < palabras.length; i++) {
    const palabra = palabras[i]
    if (palabra === 'pv') {
      info.pv = palabras.slice(i + 1)
      break
    }
    if (palabra === 'score') {
      info.puntuacion = { tipo: palabras[i + 1], valor: Number(palabras[i + 2]) }
      i += 2
    } else if (['depth', 'time', 'nodes', 'nps', 'hashfull'].includes(palabra)) {
      info[palabra] = Number(palabras[++i])
    }
  }
  return info
}

// The first word of a line as the engine reads it: lines that start with a blank have none.
export function primeraPalabra(linea) {
  return linea.split(' ')[0]
}

// Whether the engine answers the line with a search, and so with one "bestmove": "go" with at
// least one word after it.
export function iniciaBusqueda(linea) {
  return primeraPalabra(linea) === 'go' && /[^ ]/.test(linea.slice(2))
}
