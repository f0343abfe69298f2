import { Chess } from 'chess.js'

import { leerInfo } from './motor.js'
import { jugadaDeTexto, lineaPosition } from './partida.js'

// The budget of a review: every position of the game is searched this way, and the page says so.
export const PRESUPUESTO = {
  go: 'go movetime 400',
  texto: 'Each position is searched for 0.4 s.',
}

// Drops in the mover's winning chances that mark a move, largest first.
const CLASES = [
  { caida: 0.3, clase: 'blunder', signo: '??' },
  { caida: 0.2, clase: 'mistake', signo: '?' },
  { caida: 0.1, clase: 'inaccuracy', signo: '?!' },
]

// Winning chances from −1 to 1 for a score in centipawns, from the side it is given for.
export function probabilidadDeGanar(cp) {
  return 2 / (1 + Math.exp(-0.00368208 * cp)) - 1
}

// The same for an engine score ({ tipo: 'cp' | 'mate', valor }); a mate counts as ±1, and "mate
// 0" is the side to move mated.
export function probabilidadDePuntuacion(puntuacion) {
  if (puntuacion.tipo === 'mate') return puntuacion.valor > 0 ? 1 : -1
  return probabilidadDeGanar(puntuacion.valor)
}

// The accuracy of one move, from 0 to 100, by the mover's winning chances before and after it.
export function precisionDeJugada(antes, despues) {
  const porcentaje = (w) => 50 + 50 * w
  const precision = 103.1668 * Math.exp(-0.04354 * (porcentaje(antes) - porcentaje(despues))) - 3.1669
  return Math.min(100, Math.max(0, precision))
}

// The mark of a move by the drop in the mover's winning chances, or null.
export function claseDeCaida(caida) {
  return CLASES.find((c) => caida >= c.caida) ?? null
}

// What a review tells of each move (its mark and the engine's better move), of each side (its
// accuracy) and of each position (White's winning percentage), from the evaluations of every position of the game: each the engine's score
// for the side to move there and its best move.
export function resumirRevision(fenInicial, jugadas, evaluaciones) {
  const juego = new Chess(fenInicial)
  const suma = { w: 0, b: 0 }
  const cuenta = { w: 0, b: 0 }
  const porcentajes = [porcentajeBlancas(evaluaciones[0], juego.turn())]
  const marcas = jugadas.map((texto, i) => {
    const antes = probabilidadDePuntuacion(evaluaciones[i].puntuacion)
    const despues = -probabilidadDePuntuacion(evaluaciones[i + 1].puntuacion)
    const mejor = evaluaciones[i].mejor
    const mejorSan = mejor && mejor !== texto ? sanDe(juego, mejor) : null
    const jugada = juego.move(jugadaDeTexto(texto))
    porcentajes.push(porcentajeBlancas(evaluaciones[i + 1], juego.turn()))
    const precision = precisionDeJugada(antes, despues)
    suma[jugada.color] += precision
    cuenta[jugada.color] += 1
    const clase = claseDeCaida(antes - despues)
    return { san: jugada.san, color: jugada.color, clase, mejorSan: clase ? mejorSan : null, precision }
  })
  const media = (lado) => (cuenta[lado] ? suma[lado] / cuenta[lado] : null)
  return { marcas, porcentajes, precision: { w: media('w'), b: media('b') } }
}

function sanDe(juego, texto) {
  try {
    return new Chess(juego.fen()).move(jugadaDeTexto(texto)).san
  } catch {
    return null
  }
}

// White's winning percentage, 0 to 100, at a position given the engine's score for the side to
// move there.
export function porcentajeBlancas(evaluacion, turno) {
  const w = probabilidadDePuntuacion(evaluacion.puntuacion)
  return 50 + 50 * (turno === 'w' ? w : -w)
}

// Whether a saved review belongs to a game as it stands now, at the page's budget.
export function revisionVigente(registro) {
  const revision = registro.revision
  return (
    Boolean(revision) &&
    revision.presupuesto === PRESUPUESTO.go &&
    revision.jugadas.join(' ') === registro.jugadas.join(' ')
  )
}

// Runs a review: every position of a game searched in turn at the page's budget. Cancel stops
// the search under way at once.
export class Revision {
  constructor(buscador) {
    this.buscador = buscador
    this.busqueda = null
    this.cancelada = null
  }

  // Resolves with the review ({ presupuesto, jugadas, evaluaciones }), or null when cancelled.
  async revisar(registro, alProgreso) {
    this.cancelar()
    let cancelada = false
    const cancelacion = new Promise((resolver) => {
      this.cancelada = () => {
        cancelada = true
        resolver(null)
      }
    })
    const { fenInicial, jugadas } = registro
    const juego = new Chess(fenInicial)
    const evaluaciones = []
    for (let i = 0; i <= jugadas.length; i++) {
      alProgreso(i, jugadas.length + 1)
      const evaluacion = await Promise.race([this.evaluar(juego, fenInicial, jugadas.slice(0, i)), cancelacion])
      if (cancelada) return null
      evaluaciones.push(evaluacion)
      if (i < jugadas.length) juego.move(jugadaDeTexto(jugadas[i]))
    }
    this.cancelada = null
    alProgreso(jugadas.length + 1, jugadas.length + 1)
    return { presupuesto: PRESUPUESTO.go, jugadas: [...jugadas], evaluaciones }
  }

  // The engine's score and best move for one position; a game over there needs no search.
  evaluar(juego, fenInicial, jugadas) {
    if (juego.isCheckmate()) return { puntuacion: { tipo: 'mate', valor: 0 }, mejor: null }
    if (juego.isStalemate()) return { puntuacion: { tipo: 'cp', valor: 0 }, mejor: null }
    return new Promise((resolver) => {
      let ultima = null
      this.busqueda = this.buscador.buscar(lineaPosition(fenInicial, jugadas), PRESUPUESTO.go, {
        alRecibir: (linea) => {
          if (!linea.startsWith('info depth')) return
          const info = leerInfo(linea)
          if (info.puntuacion) ultima = info
        },
        alTerminar: (linea) => {
          this.busqueda = null
          resolver({
            puntuacion: ultima?.puntuacion ?? { tipo: 'cp', valor: 0 },
            mejor: linea.split(' ')[1],
            profundidad: ultima?.depth ?? 0,
          })
        },
      })
    })
  }

  get enCurso() {
    return this.cancelada !== null
  }

  cancelar() {
    this.buscador.olvidar(this.busqueda)
    this.busqueda = null
    this.cancelada?.()
    this.cancelada = null
  }
}
