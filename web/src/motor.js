// The address of the engine's worker for the given command-line arguments.
function direccionDelHilo(argumentos) {
  return `hilo-motor.js${argumentos.length ? `?${argumentos.join('&')}` : ''}`
}

// The engine in this page: the WebAssembly build in a worker of its own (hilo-motor.js), running
// in threads of its own. Lines go to it one at a time; every line it prints goes to each
// listener, in order. An engine that ends (a "quit", an abort) tells alTerminar why; iniciar
// then starts a new one.
export class Motor {
  constructor() {
    this.oyentes = []
    this.alTerminar = () => {}
    this.hilo = null
  }

  // Starts the engine with the given command-line arguments; resolves once it reads input.
  iniciar(argumentos = []) {
    this.hilo?.terminate()
    const hilo = new Worker(direccionDelHilo(argumentos))
    this.hilo = hilo
    return new Promise((resolver, rechazar) => {
      let iniciado = false
      const fin = (motivo) => {
        hilo.terminate()
        if (this.hilo === hilo) this.hilo = null
        if (iniciado) this.alTerminar(motivo)
        else rechazar(new Error(`the engine could not start: ${motivo}`))
      }
      // A worker already replaced says nothing more.
      hilo.onmessage = ({ data }) => {
        if (this.hilo !== hilo) return
        if (data.linea !== undefined) this.recibir(data.linea)
        else if (data.fin !== undefined) fin(data.fin)
        else if (data.listo) {
          iniciado = true
          resolver()
        }
      }
      hilo.onerror = (evento) => {
        evento.preventDefault()
        if (this.hilo === hilo) fin(`it failed: ${evento.message}`)
      }
    })
  }

  enviar(linea) {
    this.hilo?.postMessage(linea)
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
