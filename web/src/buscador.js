import { iniciaBusqueda, primeraPalabra } from './motor.js'

// The engine's searches in the order it answers them. The game, the analysis board, the review
// and the console all search with one engine: each "go" is answered by one "bestmove", in order,
// so the head of the queue owns every line printed until its "bestmove". A search that no one
// waits for any more (a take-back, a new position to analyse) is answered into the void.
export class Buscador {
  constructor(motor) {
    this.motor = motor
    this.cola = []
  }

  // Searches a position ("position ..." line) with a "go" line. The listener's alRecibir gets
  // the lines of the search and its alTerminar the "bestmove" line. Returns the search, for
  // olvidar.
  buscar(posicion, go, oyente) {
    const busqueda = { oyente }
    this.cola.push(busqueda)
    this.motor.enviar(posicion)
    this.motor.enviar(go)
    return busqueda
  }

  // Counts a line sent by someone else (the console), which may start a search of no one's.
  ajena(linea) {
    if (iniciaBusqueda(linea)) this.cola.push({ oyente: null })
  }

  // Stops a search that is still under way, and leaves its lines unheard.
  olvidar(busqueda) {
    if (!busqueda?.oyente) return
    busqueda.oyente = null
    this.detener(busqueda)
  }

  // Asks a search to end now with its best move. "stop" ends whatever the engine is searching,
  // so a search still waiting behind another is stopped once it starts: the engine reads its
  // input in order, and the "stop" then comes after that search's "go".
  detener(busqueda) {
    if (!busqueda || !this.cola.includes(busqueda)) return
    if (this.cola[0] === busqueda) this.motor.enviar('stop')
    else busqueda.detenida = true
  }

  // A new engine in place of one that ended: the old one's searches will never be answered.
  motorNuevo() {
    this.cola = []
  }

  lineaDelMotor(linea) {
    const busqueda = this.cola[0]
    if (!busqueda) return
    const palabra = primeraPalabra(linea)
    if (palabra === 'bestmove') {
      this.cola.shift()
      const oyente = busqueda.oyente
      busqueda.oyente = null
      if (this.cola[0]?.detenida) this.motor.enviar('stop')
      oyente?.alTerminar(linea)
    } else if (palabra !== 'readyok') {
      busqueda.oyente?.alRecibir(linea)
    }
  }
}
