#!/usr/bin/env node
// Plays a match between two UCI players and estimates their Elo difference.
//   node scripts/partido.mjs nivel:3 stockfish:1350 --partidas 40 --reloj 10+0.1
// A player is a level of the page (nivel:1 to nivel:8) or stockfish at a UCI_Elo (stockfish:1500).
import { spawn } from 'node:child_process'
import { createInterface } from 'node:readline'
import { createRequire } from 'node:module'
import { performance } from 'node:perf_hooks'
import { goDeNivel, NIVEL_MAXIMO, plazoDeNivel } from '../web/src/niveles.js'
import { finDePartida, jugadaDeTexto } from '../web/src/partida.js'

const { Chess } = createRequire(new URL('../web/package.json', import.meta.url))('chess.js')

// Short balanced openings; each is played twice, once with each colour, because a side at a fixed
// depth always answers the same way and games from the start position would repeat.
const APERTURAS = [
  'e2e4 e7e5 g1f3 b8c6 f1b5 a7a6',
  'e2e4 e7e5 g1f3 b8c6 f1c4 f8c5',
  'e2e4 e7e5 g1f3 b8c6 d2d4 e5d4 f3d4 g8f6',
  'e2e4 e7e5 g1f3 g8f6 f3e5 d7d6 e5f3 f6e4',
  'e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4 g8f6',
  'e2e4 c7c5 g1f3 e7e6 d2d4 c5d4 f3d4 a7a6',
  'e2e4 c7c5 b1c3 b8c6 g2g3 g7g6',
  'e2e4 e7e6 d2d4 d7d5 b1c3 g8f6',
  'e2e4 c7c6 d2d4 d7d5 e4e5 c8f5',
  'e2e4 d7d6 d2d4 g8f6 b1c3 g7g6',
  'd2d4 d7d5 c2c4 e7e6 b1c3 g8f6',
  'd2d4 d7d5 c2c4 c7c6 g1f3 g8f6',
  'd2d4 d7d5 g1f3 g8f6 c1f4 e7e6',
  'd2d4 g8f6 c2c4 g7g6 b1c3 f8g7 e2e4 d7d6',
  'd2d4 g8f6 c2c4 e7e6 b1c3 f8b4',
  'd2d4 g8f6 c2c4 e7e6 g1f3 b7b6',
  'd2d4 f7f5 g2g3 g8f6 f1g2 e7e6',
  'c2c4 e7e5 b1c3 g8f6 g1f3 b8c6',
  'c2c4 c7c5 g1f3 g8f6 b1c3 b8c6',
  'g1f3 d7d5 g2g3 g8f6 f1g2 c7c6',
].map((linea) => linea.split(' '))

const PLAZO_ARRANQUE_MS = 10000
// How long past its remaining time a side may take before it is stopped: the loss on time is
// decided by the clock, this only keeps a silent engine from hanging the match.
const GRACIA_MS = 1000

class FalloDeMotor extends Error {}

// One engine process speaking UCI, with a deadline on every wait.
class Jugador {
  constructor(descripcion, opciones) {
    const [tipo, valor] = descripcion.split(':')
    this.descripcion = descripcion
    this.tipo = tipo
    if (tipo === 'nivel') {
      this.nivel = Number(valor)
      if (!(this.nivel >= 1 && this.nivel <= NIVEL_MAXIMO)) {
        throw new Error(`bad level: ${descripcion}`)
      }
      this.programa = opciones.motor
      this.ajustes = { 'Resumen Busqueda': 'false' }
    } else if (tipo === 'stockfish') {
      if (!/^\d+$/.test(valor ?? '')) throw new Error(`bad Elo: ${descripcion}`)
      this.programa = opciones.stockfish
      // The overhead covers the pipes and a busy machine, where the default of 10 ms loses on time.
      this.ajustes = {
        Threads: '1', Hash: '16', 'Move Overhead': '100', UCI_LimitStrength: 'true', UCI_Elo: valor,
      }
    } else {
      throw new Error(`unknown player '${descripcion}' (use nivel:N or stockfish:ELO)`)
    }
    this.proceso = null
  }

  get vivo() {
    const proceso = this.proceso
    return proceso !== null && proceso.exitCode === null && proceso.signalCode === null
  }

  async iniciar() {
    const proceso = spawn(this.programa, [], { stdio: ['pipe', 'pipe', 'ignore'] })
    this.proceso = proceso
    this.espera = null
    // A killed process may still speak or exit after its replacement has started.
    const actual = (accion) => (...args) => { if (this.proceso === proceso) accion(...args) }
    proceso.on('error', actual(() => this.fallar('could not start')))
    proceso.on('exit', actual(() => this.fallar('crashed')))
    proceso.stdin.on('error', () => {})
    createInterface({ input: proceso.stdout }).on('line', actual((linea) => this.recibir(linea)))
    await this.pedir('uci', (l) => l === 'uciok', PLAZO_ARRANQUE_MS)
    for (const [nombre, valor] of Object.entries(this.ajustes)) {
      this.enviar(`setoption name ${nombre} value ${valor}`)
    }
    await this.pedir('isready', (l) => l === 'readyok', PLAZO_ARRANQUE_MS)
  }

  async nuevaPartida() {
    if (!this.vivo) await this.iniciar()
    this.enviar('ucinewgame')
    await this.pedir('isready', (l) => l === 'readyok', PLAZO_ARRANQUE_MS)
  }

  enviar(linea) {
    if (this.vivo) this.proceso.stdin.write(linea + '\n')
  }

  recibir(linea) {
    const espera = this.espera
    if (espera && espera.acepta(linea.trim())) {
      this.espera = null
      clearTimeout(espera.temporizador)
      espera.resolver(linea.trim())
    }
  }

  fallar(motivo) {
    const espera = this.espera
    this.espera = null
    if (espera) {
      clearTimeout(espera.temporizador)
      espera.rechazar(new FalloDeMotor(motivo))
    }
  }

  // Sends a line and waits for the first answer line that passes acepta.
  pedir(linea, acepta, plazoMs) {
    if (!this.vivo) return Promise.reject(new FalloDeMotor('crashed'))
    return new Promise((resolver, rechazar) => {
      const temporizador = setTimeout(() => this.fallar('no answer'), plazoMs)
      this.espera = { acepta, resolver, rechazar, temporizador }
      this.enviar(linea)
    })
  }

  goPara(goDelReloj) {
    return this.tipo === 'nivel' ? goDeNivel(this.nivel, goDelReloj) : goDelReloj
  }

  // The move for the position after jugadas, and the milliseconds it took. A level's search is
  // stopped where the page stops it, past its share of the clock (relojMs, with incMs).
  async pedirJugada(jugadas, goDelReloj, plazoMs, relojMs, incMs) {
    this.enviar(`position startpos moves ${jugadas.join(' ')}`)
    const inicio = performance.now()
    const limite = this.tipo === 'nivel' ? plazoDeNivel(this.nivel, { tipo: 'reloj', incremento: incMs }, relojMs) : null
    const parada = limite === null ? null : setTimeout(() => this.enviar('stop'), limite)
    try {
      const esJugada = (l) => l.startsWith('bestmove')
      const linea = await this.pedir(this.goPara(goDelReloj), esJugada, plazoMs)
      return { jugada: linea.split(/\s+/)[1], ms: performance.now() - inicio }
    } catch (error) {
      if (error.message === 'no answer') await this.detener()
      throw error
    } finally {
      clearTimeout(parada)
    }
  }

  // Stops a search that ran past its deadline; an engine that does not stop is killed.
  async detener() {
    try {
      await this.pedir('stop', (l) => l.startsWith('bestmove'), GRACIA_MS)
    } catch {
      this.cerrar()
    }
  }

  cerrar() {
    if (!this.proceso) return
    this.enviar('quit')
    this.proceso.kill('SIGKILL')
    // Its exit comes later and must not fail whatever waits on the next process.
    this.proceso = null
  }
}

function empate(motivo) {
  return { resultado: '1/2-1/2', motivo }
}

// A game the rules end, as the page ends it.
function finPorReglas(tablero) {
  const fin = finDePartida(tablero)
  return fin && { resultado: fin.pgn, motivo: fin.texto }
}

function pierde(color, motivo) {
  return { resultado: color === 'w' ? '0-1' : '1-0', motivo }
}

async function jugarPartida(blancas, negras, apertura, opciones) {
  await blancas.nuevaPartida()
  await negras.nuevaPartida()
  const tablero = new Chess()
  apertura.forEach((jugada) => tablero.move(jugadaDeTexto(jugada)))
  const jugadas = [...apertura]
  const reloj = { w: opciones.baseMs, b: opciones.baseMs }
  const inc = opciones.incMs
  for (;;) {
    const fin = finPorReglas(tablero)
    if (fin) return fin
    if (jugadas.length >= opciones.maxPlies) return empate(`${opciones.maxPlies} plies`)
    const color = tablero.turn()
    const jugador = color === 'w' ? blancas : negras
    const [wtime, btime] = [Math.round(reloj.w), Math.round(reloj.b)]
    const goDelReloj = `go wtime ${wtime} btime ${btime} winc ${inc} binc ${inc}`
    let respuesta
    try {
      const plazoMs = Math.max(reloj[color], 0) + GRACIA_MS
      respuesta = await jugador.pedirJugada(jugadas, goDelReloj, plazoMs, reloj[color], inc)
    } catch (error) {
      if (!(error instanceof FalloDeMotor)) throw error
      const sinRespuesta = error.message === 'no answer'
      return pierde(color, sinRespuesta ? 'loss on time (no answer)' : `engine ${error.message}`)
    }
    reloj[color] -= respuesta.ms
    if (reloj[color] < 0) return pierde(color, 'loss on time')
    reloj[color] += inc
    try {
      tablero.move(jugadaDeTexto(respuesta.jugada ?? ''))
    } catch {
      return pierde(color, `illegal move ${respuesta.jugada}`)
    }
    jugadas.push(respuesta.jugada)
  }
}

// A reproducible shuffle, so that a short match does not always use the first openings.
function barajar(lista, semilla) {
  let estado = semilla >>> 0
  const azar = () => {
    estado = (estado + 0x6d2b79f5) >>> 0
    let t = Math.imul(estado ^ (estado >>> 15), 1 | estado)
    t ^= t + Math.imul(t ^ (t >>> 7), 61 | t)
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296
  }
  const copia = [...lista]
  for (let i = copia.length - 1; i > 0; i--) {
    const j = Math.floor(azar() * (i + 1))
    ;[copia[i], copia[j]] = [copia[j], copia[i]]
  }
  return copia
}

function eloDePuntuacion(p) {
  return -400 * Math.log10(1 / p - 1)
}

// The Elo difference of the first player and the half width of its 95 % interval.
function estimarElo({ ganadas, tablas, perdidas }) {
  const n = ganadas + tablas + perdidas
  const p = (ganadas + tablas / 2) / n
  const varianza = (ganadas * (1 - p) ** 2 + tablas * (0.5 - p) ** 2 + perdidas * p ** 2) / n
  const error = 1.96 * Math.sqrt(varianza / n)
  const acotar = (x) => Math.min(Math.max(x, 1e-3), 1 - 1e-3)
  return {
    puntuacion: p,
    elo: eloDePuntuacion(acotar(p)),
    margen: (eloDePuntuacion(acotar(p + error)) - eloDePuntuacion(acotar(p - error))) / 2,
  }
}

function leerOpciones(argumentos) {
  const opciones = {
    partidas: 40,
    reloj: '10+0.1',
    semilla: 1,
    motor: 'build/release/quorvantel',
    stockfish: '/usr/games/stockfish',
    maxPlies: 300,
  }
  const nombres = {
    '--partidas': 'partidas', '--reloj': 'reloj', '--semilla': 'semilla', '--motor': 'motor',
    '--stockfish': 'stockfish', '--max-plies': 'maxPlies',
  }
  const jugadores = []
  for (let i = 0; i < argumentos.length; i++) {
    const nombre = nombres[argumentos[i]]
    if (nombre) opciones[nombre] = argumentos[++i]
    else if (argumentos[i].startsWith('--')) throw new Error(`unknown option ${argumentos[i]}`)
    else jugadores.push(argumentos[i])
  }
  const reloj = /^(\d+(?:\.\d+)?)\+(\d+(?:\.\d+)?)$/.exec(opciones.reloj)
  if (jugadores.length !== 2 || !reloj) {
    throw new Error('usage: partido.mjs PLAYER PLAYER [--partidas N] [--reloj SECONDS+INC] ' +
      '[--semilla N] [--motor PATH] [--stockfish PATH] [--max-plies N]')
  }
  return {
    ...opciones,
    jugadores,
    partidas: Number(opciones.partidas),
    semilla: Number(opciones.semilla),
    maxPlies: Number(opciones.maxPlies),
    baseMs: Number(reloj[1]) * 1000,
    incMs: Math.round(Number(reloj[2]) * 1000),
  }
}

async function jugarPartido(opciones) {
  const [primero, segundo] = opciones.jugadores.map((d) => new Jugador(d, opciones))
  const cerrarTodo = () => [primero, segundo].forEach((j) => j.cerrar())
  process.on('SIGINT', () => { cerrarTodo(); process.exit(130) })
  const aperturas = barajar(APERTURAS, opciones.semilla)
  const cuenta = { ganadas: 0, tablas: 0, perdidas: 0 }
  try {
    for (let i = 0; i < opciones.partidas; i++) {
      const primeroBlancas = i % 2 === 0
      const [blancas, negras] = primeroBlancas ? [primero, segundo] : [segundo, primero]
      const apertura = aperturas[Math.floor(i / 2) % aperturas.length]
      const { resultado, motivo } = await jugarPartida(blancas, negras, apertura, opciones)
      const ganaPrimero = (resultado === '1-0') === primeroBlancas
      cuenta[resultado === '1/2-1/2' ? 'tablas' : ganaPrimero ? 'ganadas' : 'perdidas']++
      console.log(`Game ${i + 1}/${opciones.partidas}: ${blancas.descripcion} (white) - ` +
        `${negras.descripcion} (black): ${resultado}, ${motivo}`)
    }
  } finally {
    cerrarTodo()
  }
  const { puntuacion, elo, margen } = estimarElo(cuenta)
  const { ganadas, tablas, perdidas } = cuenta
  console.log(`${primero.descripcion} vs ${segundo.descripcion}, ${opciones.reloj} s: ` +
    `W ${ganadas} D ${tablas} L ${perdidas}, score ${(puntuacion * 100).toFixed(1)} %`)
  const diferencia = ganadas + tablas === 0 || perdidas + tablas === 0
    ? 'none can be given, one side scored every point'
    : `${elo.toFixed(0)} +/- ${margen.toFixed(0)} (95 %)`
  console.log(`Elo difference for ${primero.descripcion}: ${diferencia}`)
}

try {
  await jugarPartido(leerOpciones(process.argv.slice(2)))
} catch (error) {
  console.error(`partido.mjs: ${error.message}`)
  process.exit(1)
}
