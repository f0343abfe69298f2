import { Chess, DEFAULT_POSITION } from 'chess.js'

import { Buscador } from './buscador.js'
import { leerInfo, primeraPalabra } from './motor.js'
import { goDeNivel, NIVEL_MAXIMO, plazoDeNivel } from './niveles.js'

// Time controls as the page names them: "reloj:<seconds>:<increment>", "jugada:<seconds>" or
// "infinito" (the engine thinks until it is told to move).
export function leerControl(texto) {
  const [tipo, a, b] = texto.split(':')
  if (tipo === 'reloj') return { tipo, base: Number(a) * 1000, incremento: Number(b) * 1000 }
  if (tipo === 'jugada') return { tipo, porJugada: Number(a) * 1000 }
  return { tipo: 'infinito' }
}

// The page's name of a time control, as leerControl reads it.
export function textoControl(control) {
  if (control.tipo === 'reloj') return `reloj:${control.base / 1000}:${control.incremento / 1000}`
  if (control.tipo === 'jugada') return `jugada:${control.porJugada / 1000}`
  return 'infinito'
}

export const NOMBRE_COLOR = { w: 'White', b: 'Black' }

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

export function textoJugada(jugada) {
  return jugada.from + jugada.to + (jugada.promotion ?? '')
}

// A move in the engine's coordinate notation ("e7e8q") as the rules library takes it.
export function jugadaDeTexto(texto) {
  return { from: texto.slice(0, 2), to: texto.slice(2, 4), promotion: texto[4] }
}

// The "position" line of a start position and the moves since, in the engine's notation.
export function lineaPosition(fenInicial, jugadas) {
  const inicio = fenInicial === DEFAULT_POSITION ? 'startpos' : `fen ${fenInicial}`
  return `position ${inicio}${jugadas.length ? ' moves ' + jugadas.join(' ') : ''}`
}

export function nuevoId() {
  return `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`
}

// One game between the person and the engine. The engine is asked for a move with the whole game
// since its start, so that it sees repetitions; its searches go through the queue it shares with
// the analysis board, the review and the console (buscador), so that an answer the game no
// longer waits for (after a take-back or a new game) is left unheard. After every move,
// take-back and end alGuardar is called, so that the game's record (registro) can be kept.
export class Partida {
  constructor(motor, alCambiar, buscador = new Buscador(motor)) {
    this.motor = motor
    this.buscador = buscador
    this.alCambiar = alCambiar
    this.alGuardar = () => {}
    this.juego = new Chess()
    this.id = nuevoId()
    this.inicio = new Date().toISOString()
    this.fenInicial = DEFAULT_POSITION
    this.colorHumano = 'w'
    this.control = leerControl('reloj:300:3')
    this.nivel = NIVEL_MAXIMO
    this.relojes = { w: 0, b: 0 }
    // The clocks before each move of the game, which a take-back puts back.
    this.relojesAntes = []
    this.ticAnterior = 0
    this.fin = null
    this.revision = null
    this.busqueda = null
    // What is left of a level's time for the search under way, or null.
    this.plazo = null
    this.pausada = false
    this.pensando = false
    this.info = null
    this.fenBusqueda = DEFAULT_POSITION
    this.resumen = []
    this.resumenEnCurso = []
    this.listo = false
  }

  turnoHumano() {
    return this.listo && !this.fin && !this.pausada && !this.pensando && this.juego.turn() === this.colorHumano
  }

  // A new game from the given position with the chosen colour, time control and level.
  empezar(fen, colorHumano, control, nivel = NIVEL_MAXIMO) {
    const base = control.tipo === 'reloj' ? control.base : 0
    this.restaurar({
      id: nuevoId(),
      inicio: new Date().toISOString(),
      fenInicial: fen,
      jugadas: [],
      colorHumano,
      control,
      nivel,
      relojes: { w: base, b: base },
      relojesAntes: [],
      fin: null,
    })
  }

  // Everything needed to bring the game back: its position, clocks, colour, level and control.
  registro() {
    return {
      id: this.id,
      inicio: this.inicio,
      fenInicial: this.fenInicial,
      jugadas: this.juego.history({ verbose: true }).map(textoJugada),
      colorHumano: this.colorHumano,
      control: this.control,
      nivel: this.nivel,
      relojes: { ...this.relojes },
      relojesAntes: this.relojesAntes.map((r) => ({ ...r })),
      fin: this.fin,
      revision: this.revision,
      pgn: this.pgn(),
    }
  }

  // Takes up a game from its record, as far as its moves are legal; the engine goes on with it
  // when its turn has come.
  restaurar(registro) {
    this.abandonarBusqueda()
    this.juego = new Chess(registro.fenInicial)
    for (const texto of registro.jugadas) {
      try {
        this.juego.move(jugadaDeTexto(texto))
      } catch {
        break
      }
    }
    const jugadas = this.juego.history().length
    this.id = registro.id
    this.inicio = registro.inicio
    this.fenInicial = registro.fenInicial
    this.colorHumano = registro.colorHumano
    this.control = registro.control
    this.nivel = registro.nivel ?? NIVEL_MAXIMO
    this.relojes = { ...registro.relojes }
    this.relojesAntes = registro.relojesAntes.slice(0, jugadas)
    this.fin = registro.fin ?? finDePartida(this.juego)
    this.revision = registro.revision ?? null
    this.info = null
    this.resumen = []
    this.motor.enviar('ucinewgame')
    this.alGuardar()
    this.seguir()
  }

  // A new engine in place of one that ended: the searches of the old one will never be
  // answered, and the new one is asked for the game's move once it is ready.
  motorNuevo() {
    this.buscador.motorNuevo()
    this.busqueda = null
    this.pensando = false
    this.listo = false
    this.alCambiar()
  }

  // The legal moves of the person from a square (every one without a square), for the board to
  // show.
  jugadasDesde(casilla) {
    if (!this.turnoHumano()) return []
    return this.juego.moves(casilla ? { square: casilla, verbose: true } : { verbose: true })
  }

  // The person's move typed as SAN ("Nf3", "exd5", "e8=Q") or coordinates ("g1f3", "e7e8q"), as
  // the board would give it; null when it is no legal move of theirs now.
  leerJugada(texto) {
    const limpio = texto.trim().replace(/[+#!?]+$/, '')
    return (
      this.jugadasDesde(null).find(
        (j) => j.san.replace(/[+#]$/, '') === limpio || textoJugada(j) === limpio.toLowerCase(),
      ) ?? null
    )
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
    this.alGuardar()
    this.seguir()
  }

  quitarJugada() {
    this.juego.undo()
    this.relojes = this.relojesAntes.pop()
  }

  // Asks the engine to play at once.
  moverYa() {
    if (this.pensando) this.buscador.detener(this.busqueda)
    this.plazo = null
  }

  // Counts a search started from the console, whose answer is not the game's.
  busquedaAjena(linea) {
    this.buscador.ajena(linea)
  }

  // Every line of the engine: the first "readyok" lets the game start, and the lines of a search
  // go to whoever asked for it.
  lineaDelMotor(linea) {
    if (linea === 'readyok' && !this.listo) {
      this.listo = true
      this.seguir()
      return
    }
    this.buscador.lineaDelMotor(linea)
  }

  // The game waits, its clocks stopped, while the board shows something else (the analysis).
  pausar(pausada) {
    this.pausada = pausada
    if (pausada) this.abandonarBusqueda()
    this.seguir()
  }

  // The clock of the side to move runs while the game goes on; a clock at zero ends it.
  tic(ahora) {
    const transcurrido = ahora - this.ticAnterior
    this.ticAnterior = ahora
    if (this.pensando && this.plazo !== null) {
      this.plazo -= transcurrido
      if (this.plazo <= 0) this.moverYa()
    }
    if (this.control.tipo !== 'reloj' || this.fin || !this.listo || this.pausada) return
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
      this.alGuardar()
    }
    this.alCambiar()
  }

  pgn() {
    const hoy = new Date(this.inicio)
    const fecha = `${hoy.getFullYear()}.${String(hoy.getMonth() + 1).padStart(2, '0')}.${String(hoy.getDate()).padStart(2, '0')}`
    const motor = `Quorvantel (level ${this.nivel})`
    const cabeceras = {
      Event: 'Casual game',
      Site: 'Quorvantel web page',
      Date: fecha,
      White: this.colorHumano === 'w' ? 'Player' : motor,
      Black: this.colorHumano === 'b' ? 'Player' : motor,
      Result: this.fin ? this.fin.pgn : '*',
      Level: String(this.nivel),
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
    this.alGuardar()
    return hecha
  }

  jugarMotor(texto) {
    const jugada = texto && texto.length >= 4 ? this.jugar(jugadaDeTexto(texto)) : null
    if (!jugada && !this.fin) this.fin = { texto: `The engine answered "${texto}", which is no move here`, pgn: '*' }
    this.seguir()
  }

  // After every change: the engine is asked for a move when its turn has come.
  seguir() {
    if (this.listo && !this.fin && !this.pausada && !this.pensando && this.juego.turn() !== this.colorHumano)
      this.pedirJugada()
    this.alCambiar()
  }

  pedirJugada() {
    this.pensando = true
    this.plazo = plazoDeNivel(this.nivel, this.control, this.relojes[this.juego.turn()])
    this.info = null
    this.fenBusqueda = this.juego.fen()
    this.resumenEnCurso = []
    const jugadas = this.juego.history({ verbose: true }).map(textoJugada)
    this.busqueda = this.buscador.buscar(lineaPosition(this.fenInicial, jugadas), this.textoGo(), {
      alRecibir: (linea) => {
        if (linea.startsWith('info depth')) {
          this.info = leerInfo(linea)
          this.alCambiar()
        } else if (primeraPalabra(linea) !== 'info') {
          this.resumenEnCurso.push(linea)
        }
      },
      alTerminar: (linea) => {
        this.pensando = false
        this.resumen = this.resumenEnCurso
        this.jugarMotor(linea.split(' ')[1])
      },
    })
  }

  textoGo() {
    return goDeNivel(this.nivel, this.goDelControl())
  }

  goDelControl() {
    const c = this.control
    if (c.tipo === 'reloj') {
      const t = (ms) => Math.floor(ms)
      return `go wtime ${t(this.relojes.w)} btime ${t(this.relojes.b)} winc ${c.incremento} binc ${c.incremento}`
    }
    if (c.tipo === 'jugada') return `go movetime ${c.porJugada}`
    return 'go infinite'
  }

  abandonarBusqueda() {
    this.buscador.olvidar(this.busqueda)
    this.busqueda = null
    this.pensando = false
  }
}
