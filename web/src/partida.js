import { Chess, DEFAULT_POSITION } from 'chess.js'

import { iniciaBusqueda, leerInfo, primeraPalabra } from './motor.js'

// Time controls as the page names them: "reloj:<seconds>:<increment>", "jugada:<seconds>" or
// "infinito" (the engine thinks until it is told to move).
export function leerControl(texto) {
  const [tipo, a, b] = texto.split(':')
  if (tipo === 'reloj') return { tipo, base: Number(a) * 1000, incremento: Number(b) * 1000 }
  if (tipo === 'jugada') return { tipo, porJugada: Number(a) * 1000 }
  return { tipo: 'infinito' }
}

const NOMBRE_COLOR = { w: 'White', b: 'Black' }

// Why a position ends the game, or null while it goes on.
export function finDePartida(juego) {
  if (juego.isCheckmate()) {
    const ganador = juego.turn() === 'w' ? 'b' : 'w'
    return { texto: `Checkmate: ${NOMBRE_COLOR[ganador]} wins`, pgn: ganador === 'w' ? '1-0' : '0-1' }
  }
  if (juego.isStalemate()) return { texto: 'Draw by stalemate', pgn: '1/2-1/2' }
  if (juego.isInsufficientMaterial()) return { texto: 'Draw by insufficient material', pgn: '1/2-1/2' }
  if (juego.isThreefoldRepetition()) return { texto: 'Draw by threefold repetition', pgn: '1/2-1/2' }
  if (juego.isDrawByFiftyMoves()) return { texto: 'Draw by the fifty-move rule', pgn: '1/2-1/2' }
  return null
}

function textoJugada(jugada) {
  return jugada.from + jugada.to + (jugada.promotion ?? '')
}

// One game between the person and the engine. The engine is asked for a move with the whole game
// since its start, so that it sees repetitions. Every "go" it is sent, the game's or one typed in
// the console, is answered by one "bestmove", in order: the queue of searches tells which answer
// is the game's, and a search the game no longer waits for (after a take-back or a new game) is
// answered into the void.
export class Partida {
  constructor(motor, alCambiar) {
    this.motor = motor
    this.alCambiar = alCambiar
    this.juego = new Chess()
    this.fenInicial = DEFAULT_POSITION
    this.colorHumano = 'w'
    this.control = leerControl('reloj:300:3')
    this.relojes = { w: 0, b: 0 }
    // The clocks before each move of the game, which a take-back puts back.
    this.relojesAntes = []
    this.ticAnterior = 0
    this.fin = null
    this.busquedas = []
    this.generacion = 0
    this.pensando = false
    this.info = null
    this.fenBusqueda = DEFAULT_POSITION
    this.resumen = []
    this.resumenEnCurso = []
    this.listo = false
  }

  turnoHumano() {
    return this.listo && !this.fin && !this.pensando && this.juego.turn() === this.colorHumano
  }

  // A new game from the given position with the chosen colour and time control.
  empezar(fen, colorHumano, control) {
    this.abandonarBusqueda()
    this.juego = new Chess(fen)
    this.fenInicial = fen
    this.colorHumano = colorHumano
    this.control = control
    const base = control.tipo === 'reloj' ? control.base : 0
    this.relojes = { w: base, b: base }
    this.relojesAntes = []
    this.fin = finDePartida(this.juego)
    this.info = null
    this.resumen = []
    this.motor.enviar('ucinewgame')
    this.seguir()
  }

  // The legal moves of the person from a square, for the board to show.
  jugadasDesde(casilla) {
    return this.turnoHumano() ? this.juego.moves({ square: casilla, verbose: true }) : []
  }

  // Plays the person's move; false when it is not legal now.
  jugarHumano(desde, hasta, promocion) {
    if (!this.turnoHumano()) return false
    const jugada = this.jugar({ from: desde, to: hasta, promotion: promocion })
    if (jugada) this.seguir()
    return Boolean(jugada)
  }

  // Takes back the person's last move, and the engine's answer to it, with the time they took; a
  // search under way is abandoned.
  deshacer() {
    if (this.juego.history().length === 0) return
    this.abandonarBusqueda()
    this.quitarJugada()
    if (this.juego.turn() !== this.colorHumano && this.juego.history().length > 0) this.quitarJugada()
    this.fin = null
    this.seguir()
  }

  quitarJugada() {
    this.juego.undo()
    this.relojes = this.relojesAntes.pop()
  }

  // Asks the engine to play at once.
  moverYa() {
    if (this.pensando) this.motor.enviar('stop')
  }

  // Counts a search started from the console, whose answer is not the game's.
  busquedaAjena(linea) {
    if (iniciaBusqueda(linea)) this.busquedas.push({ generacion: null })
  }

  lineaDelMotor(linea) {
    const palabra = primeraPalabra(linea)
    if (palabra === 'readyok' && !this.listo) {
      this.listo = true
      this.seguir()
      return
    }
    const busqueda = this.busquedas[0]
    const propia = busqueda !== undefined && busqueda.generacion === this.generacion && this.pensando
    if (palabra === 'bestmove') {
      this.busquedas.shift()
      if (!propia) return
      this.pensando = false
      this.resumen = this.resumenEnCurso
      this.jugarMotor(linea.split(' ')[1])
      return
    }
    if (!propia) return
    if (linea.startsWith('info depth')) {
      this.info = leerInfo(linea)
      this.alCambiar()
    } else if (palabra !== 'info' && palabra !== 'readyok') {
      this.resumenEnCurso.push(linea)
    }
  }

  // The clock of the side to move runs while the game goes on; a clock at zero ends it.
  tic(ahora) {
    const transcurrido = ahora - this.ticAnterior
    this.ticAnterior = ahora
    if (this.control.tipo !== 'reloj' || this.fin || !this.listo) return
    if (this.juego.history().length === 0 && !this.pensando) return
    const lado = this.juego.turn()
    this.relojes[lado] = Math.max(0, this.relojes[lado] - transcurrido)
    if (this.relojes[lado] === 0) {
      const ganador = lado === 'w' ? 'b' : 'w'
      this.fin = {
        texto: `${NOMBRE_COLOR[lado]} lost on time: ${NOMBRE_COLOR[ganador]} wins`,
        pgn: ganador === 'w' ? '1-0' : '0-1',
      }
      this.abandonarBusqueda()
    }
    this.alCambiar()
  }

  pgn() {
    const hoy = new Date()
    const fecha = `${hoy.getFullYear()}.${String(hoy.getMonth() + 1).padStart(2, '0')}.${String(hoy.getDate()).padStart(2, '0')}`
    const cabeceras = {
      Event: 'Casual game',
      Site: 'Quorvantel web page',
      Date: fecha,
      White: this.colorHumano === 'w' ? 'Player' : 'Quorvantel',
      Black: this.colorHumano === 'b' ? 'Player' : 'Quorvantel',
      Result: this.fin ? this.fin.pgn : '*',
    }
    for (const [nombre, valor] of Object.entries(cabeceras)) this.juego.setHeader(nombre, valor)
    return this.juego.pgn()
  }

  jugar(jugada) {
    let hecha
    try {
      hecha = this.juego.move(jugada)
    } catch {
      return null
    }
    this.relojesAntes.push({ ...this.relojes })
    if (this.control.tipo === 'reloj') this.relojes[hecha.color] += this.control.incremento
    this.fin = finDePartida(this.juego)
    return hecha
  }

  jugarMotor(texto) {
    const jugada = texto && texto.length >= 4 ? this.jugar({ from: texto.slice(0, 2), to: texto.slice(2, 4), promotion: texto[4] }) : null
    if (!jugada && !this.fin) this.fin = { texto: `The engine answered "${texto}", which is no move here`, pgn: '*' }
    this.seguir()
  }

  // After every change: the engine is asked for a move when its turn has come.
  seguir() {
    if (this.listo && !this.fin && !this.pensando && this.juego.turn() !== this.colorHumano)
      this.pedirJugada()
    this.alCambiar()
  }

  pedirJugada() {
    this.pensando = true
    this.info = null
    this.fenBusqueda = this.juego.fen()
    this.resumenEnCurso = []
    this.busquedas.push({ generacion: this.generacion })
    const jugadas = this.juego.history({ verbose: true }).map(textoJugada)
    const inicio = this.fenInicial === DEFAULT_POSITION ? 'startpos' : `fen ${this.fenInicial}`
    this.motor.enviar(`position ${inicio}${jugadas.length ? ' moves ' + jugadas.join(' ') : ''}`)
    this.motor.enviar(this.textoGo())
  }

  textoGo() {
    const c = this.control
    if (c.tipo === 'reloj') {
      const t = (ms) => Math.floor(ms)
      return `go wtime ${t(this.relojes.w)} btime ${t(this.relojes.b)} winc ${c.incremento} binc ${c.incremento}`
    }
    if (c.tipo === 'jugada') return `go movetime ${c.porJugada}`
    return 'go infinite'
  }

  abandonarBusqueda() {
    this.generacion++
    if (this.pensando) this.motor.enviar('stop')
    this.pensando = false
  }
}
