import { Chess } from 'chess.js'

import { leerInfo } from './motor.js'
import { jugadaDeTexto, lineaPosition, textoJugada } from './partida.js'

// The analysis board: a game's moves to step through, with pieces that move for both sides, and
// the engine searching whatever position it shows, without limit, until the board moves on. A
// move played off the game's line replaces what followed it. It works on a copy of the game's
// record, so that leaving it gives the game back as it was.
export class Analisis {
  constructor(buscador, alCambiar) {
    this.buscador = buscador
    this.alCambiar = alCambiar
    this.registro = null
    this.jugadas = []
    this.cursor = 0
    this.posicion = new Chess()
    this.busqueda = null
    this.info = null
    this.suspendida = false
  }

  get abierto() {
    return this.registro !== null
  }

  // Opens a game's record at one of its positions (by default its last).
  abrir(registro, cursor = registro.jugadas.length) {
    this.registro = registro
    this.suspendida = false
    this.jugadas = [...registro.jugadas]
    this.ir(cursor)
  }

  cerrar() {
    this.buscador.olvidar(this.busqueda)
    this.busqueda = null
    this.registro = null
    this.suspendida = false
    this.alCambiar()
  }

  // Shows the position after the first `cursor` moves, and searches it.
  ir(cursor) {
    this.cursor = Math.max(0, Math.min(this.jugadas.length, cursor))
    this.posicion = new Chess(this.registro.fenInicial)
    for (const texto of this.jugadas.slice(0, this.cursor)) this.posicion.move(jugadaDeTexto(texto))
    this.analizar()
  }

  // Both sides' legal moves from a square, for the board to show.
  jugadasDesde(casilla) {
    if (!this.abierto) return []
    return this.posicion.moves({ square: casilla, verbose: true })
  }

  // Plays a move on the analysis board; false when it is not legal here.
  jugar(desde, hasta, promocion) {
    let jugada
    try {
      jugada = new Chess(this.posicion.fen()).move({ from: desde, to: hasta, promotion: promocion })
    } catch {
      return false
    }
    const texto = textoJugada(jugada)
    if (this.jugadas[this.cursor] !== texto) this.jugadas = [...this.jugadas.slice(0, this.cursor), texto]
    this.ir(this.cursor + 1)
    return true
  }

  // While the engine reviews the game, the board searches nothing of its own.
  suspender(suspendida) {
    this.suspendida = suspendida
    this.analizar()
  }

  // The engine's view of the position shown: a search without limit, whose latest "info" line is
  // kept. A position where the game is over is not searched.
  analizar() {
    this.buscador.olvidar(this.busqueda)
    this.busqueda = null
    this.info = null
    if (this.abierto && !this.suspendida && !this.posicion.isCheckmate() && !this.posicion.isStalemate()) {
      const posicion = lineaPosition(this.registro.fenInicial, this.jugadas.slice(0, this.cursor))
      this.busqueda = this.buscador.buscar(posicion, 'go infinite', {
        alRecibir: (linea) => {
          if (!linea.startsWith('info depth')) return
          const info = leerInfo(linea)
          if (!info.puntuacion || !info.pv?.length) return
          this.info = info
          this.alCambiar()
        },
        alTerminar: () => {},
      })
    }
    this.alCambiar()
  }

  // After the engine ended: the new one searches the position shown once it is ready.
  motorNuevo() {
    this.busqueda = null
  }
}
