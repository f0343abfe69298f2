import { Chessboard, COLOR, INPUT_EVENT_TYPE } from 'cm-chessboard/src/Chessboard.js'
import { Markers } from 'cm-chessboard/src/extensions/markers/Markers.js'
import {
  PromotionDialog,
  PROMOTION_DIALOG_RESULT_TYPE,
} from 'cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js'
import { DEFAULT_POSITION, validateFen } from 'chess.js'

import { PanelConsola } from './consola.js'
import { Motor } from './motor.js'
import { leerControl, Partida } from './partida.js'
import { dibujar } from './vista.js'

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

function crearTablero(partida, alMover) {
  const tablero = new Chessboard($('tablero'), {
    position: DEFAULT_POSITION,
    assetsUrl: 'assets/',
    style: { cssClass: 'default', showCoordinates: true, pieces: { file: 'pieces/standard.svg' } },
    extensions: [{ class: Markers }, { class: PromotionDialog }],
  })
  tablero.enableMoveInput((evento) => {
    switch (evento.type) {
      case INPUT_EVENT_TYPE.moveInputStarted: {
        const jugadas = partida.jugadasDesde(evento.squareFrom)
        tablero.removeLegalMovesMarkers()
        tablero.addLegalMovesMarkers(jugadas)
        return jugadas.length > 0
      }
      case INPUT_EVENT_TYPE.validateMoveInput: {
        tablero.removeLegalMovesMarkers()
        const jugada = partida.jugadasDesde(evento.squareFrom).find((j) => j.to === evento.squareTo)
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

async function iniciar() {
  if (!(await aislarPagina())) {
    estadoMotor('This page needs a cross-origin isolated host (see the README): the engine cannot start.')
    return
  }
  const motor = new Motor()
  let orientacion = 'w'
  let dibujoPendiente = false
  let tablero = null
  const partida = new Partida(motor, () => {
    if (dibujoPendiente) return
    dibujoPendiente = true
    requestAnimationFrame(() => {
      dibujoPendiente = false
      dibujar(partida, orientacion)
      if (tablero && tablero.getPosition() !== partida.juego.fen().split(' ')[0])
        tablero.setPosition(partida.juego.fen(), true)
    })
  })
  tablero = crearTablero(partida, (desde, hasta, promocion) => {
    if (desde) partida.jugarHumano(desde, hasta, promocion)
    tablero.setPosition(partida.juego.fen(), false)
  })
  const orientar = (color) => {
    orientacion = color
    tablero.setOrientation(color === 'w' ? COLOR.white : COLOR.black)
    partida.alCambiar()
  }

  const consola = new PanelConsola($('salida-consola'), $('formulario-consola'), $('entrada-consola'), (linea) => {
    partida.busquedaAjena(linea)
    motor.enviar(linea)
  })
  motor.alRecibir((linea) => {
    consola.mostrar(linea)
    partida.lineaDelMotor(linea)
    if (linea === 'readyok') estadoMotor('Engine ready')
  })
  motor.alTerminar = (estado) => estadoMotor(`The engine has ended (status ${estado}): reload the page to start it again.`)

  const nuevaPartida = (fen) => {
    const color = $('color').value
    partida.empezar(fen, color, leerControl($('control').value))
    orientar(color)
  }
  $('nueva').addEventListener('click', () => nuevaPartida(DEFAULT_POSITION))
  $('girar').addEventListener('click', () => orientar(orientacion === 'w' ? 'b' : 'w'))
  $('deshacer').addEventListener('click', () => partida.deshacer())
  $('mover-ya').addEventListener('click', () => partida.moverYa())
  $('copiar-pgn').addEventListener('click', () => copiar(partida.pgn()))
  $('descargar-pgn').addEventListener('click', () => descargar('quorvantel.pgn', partida.pgn()))
  $('formulario-fen').addEventListener('submit', (evento) => {
    evento.preventDefault()
    const fen = $('fen').value.trim()
    const validez = validateFen(fen)
    $('error-fen').textContent = validez.ok ? '' : `Not a position: ${validez.error}`
    if (validez.ok) nuevaPartida(fen)
  })
  setInterval(() => partida.tic(performance.now()), 100)
  partida.tic(performance.now())

  // "?bench" runs the engine's benchmark instead of a game.
  const argumentos = new URLSearchParams(location.search).has('bench') ? ['bench'] : []
  try {
    await motor.iniciar(argumentos)
  } catch (error) {
    estadoMotor(error.message)
    return
  }
  if (argumentos.length) {
    estadoMotor('Running the benchmark…')
    return
  }
  nuevaPartida(DEFAULT_POSITION)
  motor.enviar('uci')
  motor.enviar('isready')
}

iniciar()
