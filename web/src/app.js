import { Chessboard, COLOR, INPUT_EVENT_TYPE } from 'cm-chessboard/src/Chessboard.js'
import { ARROW_TYPE, Arrows } from 'cm-chessboard/src/extensions/arrows/Arrows.js'
import { Markers } from 'cm-chessboard/src/extensions/markers/Markers.js'
import {
  PromotionDialog,
  PROMOTION_DIALOG_RESULT_TYPE,
} from 'cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js'
import { DEFAULT_POSITION, validateFen } from 'chess.js'

import { Almacen } from './almacen.js'
import { Analisis } from './analisis.js'
import { Buscador } from './buscador.js'
import { PanelConsola } from './consola.js'
import { Motor } from './motor.js'
import { montarPanelAnalisis, resumenDeRevision } from './panel-analisis.js'
import { montarPanelImportar } from './panel-importar.js'
import { leerControl, Partida, textoControl } from './partida.js'
import { Revision } from './revision.js'
import { dibujar, dibujarPartidas } from './vista.js'
import { dibujarAnalisis, dibujarRevision, flechaDeAnalisis } from './vista-analisis.js'

const $ = (id) => document.getElementById(id)
const estadoMotor = (texto) => ($('estado-motor').textContent = texto)

// Threads need a cross-origin isolated page. A host that cannot send the headers for it gets them
// from the page's service worker, which the page installs and then loads itself through once.
async function aislarPagina() {
  if (window.crossOriginIsolated) {
    sessionStorage.removeItem('aislamiento-intentado')
    return true
  }
  if (!('serviceWorker' in navigator) || sessionStorage.getItem('aislamiento-intentado')) return false
  sessionStorage.setItem('aislamiento-intentado', '1')
  await navigator.serviceWorker.register('aislamiento.js')
  await navigator.serviceWorker.ready
  location.reload()
  return new Promise(() => {})
}

// The board, whose pieces move as the game or the analysis board (fuente) allows.
function crearTablero(fuente, alMover) {
  const tablero = new Chessboard($('tablero'), {
    position: DEFAULT_POSITION,
    assetsUrl: 'assets/',
    style: { cssClass: 'default', showCoordinates: true, pieces: { file: 'pieces/standard.svg' } },
    extensions: [{ class: Markers }, { class: PromotionDialog }, { class: Arrows }],
  })
  tablero.enableMoveInput((evento) => {
    switch (evento.type) {
      case INPUT_EVENT_TYPE.moveInputStarted: {
        const jugadas = fuente().jugadasDesde(evento.squareFrom)
        tablero.removeLegalMovesMarkers()
        tablero.addLegalMovesMarkers(jugadas)
        return jugadas.length > 0
      }
      case INPUT_EVENT_TYPE.validateMoveInput: {
        tablero.removeLegalMovesMarkers()
        const jugada = fuente().jugadasDesde(evento.squareFrom).find((j) => j.to === evento.squareTo)
        if (!jugada) return false
        if (jugada.promotion) {
          tablero.showPromotionDialog(evento.squareTo, jugada.color, (resultado) => {
            if (resultado.type === PROMOTION_DIALOG_RESULT_TYPE.pieceSelected)
              alMover(jugada.from, jugada.to, resultado.piece.charAt(1))
            else alMover(null)
          })
          return true
        }
        alMover(jugada.from, jugada.to)
        return true
      }
      case INPUT_EVENT_TYPE.moveInputCanceled:
        tablero.removeLegalMovesMarkers()
        return true
      default:
        return true
    }
  })
  return tablero
}

function descargar(nombre, texto) {
  const enlace = document.createElement('a')
  enlace.href = URL.createObjectURL(new Blob([texto], { type: 'application/x-chess-pgn' }))
  enlace.download = nombre
  enlace.click()
  URL.revokeObjectURL(enlace.href)
}

async function copiar(texto) {
  try {
    await navigator.clipboard.writeText(texto)
  } catch {
    $('pgn').select()
    document.execCommand('copy')
  }
  $('aviso-pgn').textContent = 'Copied'
  setTimeout(() => ($('aviso-pgn').textContent = ''), 2000)
}

// The browser's storage, or null where it refuses even to be looked at.
function almacenamientoLocal() {
  try {
    return window.localStorage
  } catch {
    return null
  }
}

async function iniciar() {
  if (!(await aislarPagina())) {
    estadoMotor('This page needs a cross-origin isolated host (see the README): the engine cannot start.')
    return
  }
  // The engine starts loading first, and the page is built while it does. "?bench" runs the
  // engine's benchmark instead of a game.
  const motor = new Motor()
  const argumentos = new URLSearchParams(location.search).has('bench') ? ['bench'] : []
  const arranque = motor.iniciar(argumentos)
  let orientacion = 'w'
  let dibujoPendiente = false
  let tablero = null
  let flecha = ''
  const buscador = new Buscador(motor)
  // The board shows the game, or the analysis board while it is open.
  const redibujar = () => {
    if (dibujoPendiente) return
    dibujoPendiente = true
    requestAnimationFrame(() => {
      dibujoPendiente = false
      dibujar(partida, orientacion)
      if (analisis.abierto) {
        const resumen = resumenDeRevision(analisis.registro)
        dibujarAnalisis(analisis, resumen)
        dibujarRevision(analisis, resumen)
        $('revisar').hidden = Boolean(resumen) || revision.enCurso
      }
      if (!tablero) return
      const fen = (analisis.abierto ? analisis.posicion : partida.juego).fen()
      if (tablero.getPosition() !== fen.split(' ')[0]) tablero.setPosition(fen, true)
      mostrarFlecha(analisis.abierto ? flechaDeAnalisis(analisis) : null)
    })
  }
  const mostrarFlecha = (jugada) => {
    const nueva = jugada ? jugada.from + jugada.to : ''
    if (nueva === flecha) return
    flecha = nueva
    tablero.removeArrows()
    if (jugada) tablero.addArrow(ARROW_TYPE.default, jugada.from, jugada.to)
  }
  const partida = new Partida(motor, redibujar, buscador)
  const analisis = new Analisis(buscador, redibujar)
  const revision = new Revision(buscador)
  tablero = crearTablero(() => (analisis.abierto ? analisis : partida), (desde, hasta, promocion) => {
    if (desde && analisis.abierto) analisis.jugar(desde, hasta, promocion)
    else if (desde) partida.jugarHumano(desde, hasta, promocion)
    tablero.setPosition((analisis.abierto ? analisis.posicion : partida.juego).fen(), false)
  })
  const orientar = (color) => {
    orientacion = color
    tablero.setOrientation(color === 'w' ? COLOR.white : COLOR.black)
    redibujar()
  }

  const consola = new PanelConsola($('salida-consola'), $('formulario-consola'), $('entrada-consola'), (linea) => {
    partida.busquedaAjena(linea)
    motor.enviar(linea)
  })
  // The status line after the next "readyok": plain, or what happened to the engine before.
  let estadoListo = 'Engine ready'
  motor.alRecibir((linea) => {
    consola.mostrar(linea)
    partida.lineaDelMotor(linea)
    if (linea !== 'readyok') return
    estadoMotor(estadoListo)
    estadoListo = 'Engine ready'
  })
  // An engine that ends is replaced by a new one, which takes the game up where it stands.
  const reemplazarMotor = async (motivo) => {
    estadoMotor(`The engine ended (${motivo}): starting a new one…`)
    estadoListo = `The engine ended (${motivo}) and a new one took over: engine ready`
    partida.motorNuevo()
    revision.cancelar()
    analisis.motorNuevo()
    try {
      await motor.iniciar()
    } catch (error) {
      estadoMotor(`The engine ended (${motivo}) and could not be started again: ${error.message}`)
      return
    }
    motor.enviar('uci')
    motor.enviar('isready')
    analisis.analizar()
  }

  const almacen = new Almacen(almacenamientoLocal(), () => {
    $('aviso-almacen').textContent = 'This browser does not let the page keep games: they are lost on reload.'
  })
  const mostrarPartidas = () => dibujarPartidas(almacen.partidas(), {
    abrir: (registro) => {
      if (registro.importada) return paneles.abrir(registro, 0)
      dejarPartida()
      tomarPartida(registro)
    },
    descargar: (registro) => descargar(`quorvantel-${registro.inicio.slice(0, 10)}.pgn`, registro.pgn),
    borrar: (registro) => {
      almacen.borrar(registro.id)
      mostrarPartidas()
    },
  })
  // The benchmark's page keeps nothing, so that it never replaces the game in progress.
  if (!argumentos.length) {
    partida.alGuardar = () => {
      const registro = partida.registro()
      almacen.guardarEnCurso(registro)
      if (partida.fin) {
        almacen.archivar(registro)
        mostrarPartidas()
      }
    }
    // The clocks as they stand when the page is left.
    document.addEventListener('visibilitychange', () => document.hidden && partida.alGuardar())
    window.addEventListener('pagehide', () => partida.alGuardar())
  }
  // A review is kept with its game: the game's own through its record, any other (an imported
  // one) in the list of games.
  const guardar = (registro) => {
    if (registro.id === partida.id) {
      partida.revision = registro.revision
      partida.alGuardar()
    } else {
      almacen.archivar(registro)
      mostrarPartidas()
    }
  }
  const paneles = montarPanelAnalisis({ analisis, revision, partida, guardar, redibujar })
  montarPanelImportar((registro) => paneles.abrir(registro, 0))
  // A game left unfinished for another is kept in the list, where it can be opened again.
  const dejarPartida = () => {
    if (partida.fin || partida.juego.history().length === 0) return
    almacen.archivar(partida.registro())
    mostrarPartidas()
  }
  const tomarPartida = (registro) => {
    paneles.salir()
    partida.restaurar(registro)
    $('color').value = registro.colorHumano
    $('control').value = textoControl(registro.control)
    $('nivel').value = String(partida.nivel)
    orientar(registro.colorHumano)
  }

  const nuevaPartida = (fen) => {
    const color = $('color').value
    paneles.salir()
    partida.empezar(fen, color, leerControl($('control').value), Number($('nivel').value))
    orientar(color)
  }
  $('nueva').addEventListener('click', () => {
    dejarPartida()
    nuevaPartida(DEFAULT_POSITION)
  })
  $('girar').addEventListener('click', () => orientar(orientacion === 'w' ? 'b' : 'w'))
  $('deshacer').addEventListener('click', () => partida.deshacer())
  $('mover-ya').addEventListener('click', () => partida.moverYa())
  $('copiar-pgn').addEventListener('click', () => copiar(partida.pgn()))
  $('descargar-pgn').addEventListener('click', () => descargar('quorvantel.pgn', partida.pgn()))
  $('formulario-jugada').addEventListener('submit', (evento) => {
    evento.preventDefault()
    const texto = $('jugada').value
    const jugada = partida.leerJugada(texto)
    $('error-jugada').textContent = jugada || !texto.trim() ? '' : `Not a move you can play now: ${texto.trim()}`
    if (!jugada) return
    $('jugada').value = ''
    partida.jugarHumano(jugada.from, jugada.to, jugada.promotion)
  })
  $('formulario-fen').addEventListener('submit', (evento) => {
    evento.preventDefault()
    const fen = $('fen').value.trim()
    const validez = validateFen(fen)
    $('error-fen').textContent = validez.ok ? '' : `Not a position: ${validez.error}`
    if (!validez.ok) return
    dejarPartida()
    nuevaPartida(fen)
  })
  setInterval(() => partida.tic(performance.now()), 100)
  partida.tic(performance.now())

  if (!argumentos.length) {
    // A saved game that cannot be taken up (an older or damaged record) gives way to a new one.
    try {
      const guardada = almacen.enCurso()
      if (!guardada) throw new Error('no game in progress')
      tomarPartida(guardada)
    } catch {
      nuevaPartida(DEFAULT_POSITION)
    }
    mostrarPartidas()
    motor.enviar('uci')
    motor.enviar('isready')
  }
  try {
    await arranque
  } catch (error) {
    estadoMotor(error.message)
    return
  }
  if (argumentos.length) {
    estadoMotor('Running the benchmark…')
    motor.alTerminar = () => estadoMotor('Benchmark done')
    return
  }
  motor.alTerminar = reemplazarMotor
  // Everywhere the service worker keeps the page for use without a network; it is installed once
  // the engine is up, so that its downloads do not slow the engine's start.
  navigator.serviceWorker?.register('aislamiento.js').catch(() => {})
}

iniciar()
