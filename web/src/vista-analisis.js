import { Chess } from 'chess.js'

import { jugadaDeTexto, NOMBRE_COLOR } from './partida.js'
import { porcentajeBlancas } from './revision.js'
import { textoPuntuacion, textoVariante } from './vista.js'

const $ = (id) => document.getElementById(id)
const SVG = 'http://www.w3.org/2000/svg'

function elementoSvg(nombre, atributos) {
  const elemento = document.createElementNS(SVG, nombre)
  for (const [clave, valor] of Object.entries(atributos)) elemento.setAttribute(clave, valor)
  return elemento
}

// White's share of the evaluation bar, in percent, for the position shown.
function parteBlanca(analisis) {
  const juego = analisis.posicion
  if (juego.isCheckmate()) return juego.turn() === 'w' ? 0 : 100
  return analisis.info ? porcentajeBlancas(analisis.info, juego.turn()) : 50
}

function textoEvaluacion(analisis) {
  const juego = analisis.posicion
  if (juego.isCheckmate()) return 'Checkmate'
  if (juego.isStalemate()) return 'Stalemate'
  return analisis.info ? textoPuntuacion(analisis.info.puntuacion, juego.turn()) : '…'
}

// The evaluation bar, the engine's score, depth and line, and the moves with their marks.
export function dibujarAnalisis(analisis, resumen) {
  const blanca = parteBlanca(analisis)
  $('barra-blanca').style.height = `${blanca}%`
  const evaluacion = textoEvaluacion(analisis)
  $('barra-evaluacion').setAttribute('aria-label', `Evaluation ${evaluacion}`)
  $('a-evaluacion').textContent = analisis.info ? `${evaluacion}, depth ${analisis.info.depth}` : evaluacion
  const fen = analisis.posicion.fen()
  $('a-variante').textContent = analisis.info ? textoVariante(fen, analisis.info.pv) : ''
  dibujarJugadas(analisis, resumen)
}

// The first move of the engine's line, for the board's arrow.
export function flechaDeAnalisis(analisis) {
  const primera = analisis.info?.pv?.[0]
  return primera ? jugadaDeTexto(primera) : null
}

// What the list of moves shows, so that it is rebuilt (and scrolled) only when that changes:
// not on every line the engine prints, which would take the focus from its buttons.
let listaDibujada = ''

// The moves of the analysis board; those still on the reviewed game's line carry their marks.
function dibujarJugadas(analisis, resumen) {
  const clave = [analisis.registro.id, analisis.jugadas.join(' '), analisis.cursor, Boolean(resumen)].join('|')
  if (clave === listaDibujada) return
  listaDibujada = clave
  const juego = new Chess(analisis.registro.fenInicial)
  let enLinea = Boolean(resumen)
  const items = analisis.jugadas.map((texto, i) => {
    const numero = juego.moveNumber()
    const jugada = juego.move(jugadaDeTexto(texto))
    enLinea &&= analisis.registro.jugadas[i] === texto
    const marca = enLinea ? resumen.marcas[i] : null
    const item = document.createElement('li')
    const boton = Object.assign(document.createElement('button'), {
      type: 'button',
      textContent: `${numero}${jugada.color === 'w' ? '.' : '…'} ${jugada.san}${marca?.clase?.signo ?? ''}`,
    })
    boton.dataset.cursor = String(i + 1)
    if (marca?.clase) boton.classList.add(marca.clase.clase)
    if (i + 1 === analisis.cursor) boton.setAttribute('aria-current', 'step')
    item.append(boton)
    if (marca?.clase) {
      const mejor = marca.mejorSan ? `, best was ${marca.mejorSan}` : ''
      item.append(Object.assign(document.createElement('span'), { className: 'mejor', textContent: ` ${marca.clase.clase}${mejor}` }))
    }
    return item
  })
  $('a-jugadas').replaceChildren(...items)
  $('a-jugadas').querySelector('[aria-current]')?.scrollIntoView({ block: 'nearest' })
}

// What the review shows, so that it is drawn again only when that changes.
let revisionDibujada = ''

// The review: each side's accuracy and the graph of White's winning percentage over the game,
// with the position shown marked.
export function dibujarRevision(analisis, resumen) {
  const grafica = $('grafica')
  $('resumen-revision').hidden = !resumen
  const clave = resumen ? `${analisis.registro.id}|${analisis.cursor}|${grafica.clientWidth}` : ''
  if (clave === revisionDibujada) return
  revisionDibujada = clave
  if (!resumen) return
  const partes = ['w', 'b'].map((lado) => {
    const precision = resumen.precision[lado]
    const marcas = resumen.marcas.filter((m) => m.color === lado && m.clase)
    const cuenta = (clase, plural) => {
      const n = marcas.filter((m) => m.clase.clase === clase).length
      return `${n} ${n === 1 ? clase : plural}`
    }
    const texto = precision === null ? 'no moves' : `accuracy ${precision.toFixed(1)}`
    return `${NOMBRE_COLOR[lado]}: ${texto}, ${cuenta('inaccuracy', 'inaccuracies')}, ${cuenta('mistake', 'mistakes')}, ${cuenta('blunder', 'blunders')}`
  })
  $('precisiones').textContent = partes.join('. ')

  const { porcentajes } = resumen
  // Drawn at the graph's own size in pixels, so that its marks keep their shape.
  const ancho = grafica.clientWidth || 300
  const alto = grafica.clientHeight || 80
  const paso = ancho / Math.max(1, porcentajes.length - 1)
  const x = (i) => (i * paso).toFixed(1)
  const y = (p) => (alto * (1 - p / 100)).toFixed(1)
  const puntos = porcentajes.map((p, i) => `${x(i)},${y(p)}`).join(' ')
  grafica.setAttribute('viewBox', `0 0 ${ancho} ${alto}`)
  grafica.replaceChildren(
    elementoSvg('polygon', { class: 'ventaja', points: `0,${alto} ${puntos} ${ancho},${alto}` }),
    elementoSvg('line', { class: 'mitad', x1: 0, x2: ancho, y1: alto / 2, y2: alto / 2 }),
    elementoSvg('line', { class: 'cursor', x1: x(analisis.cursor), x2: x(analisis.cursor), y1: 0, y2: alto }),
    ...resumen.marcas.flatMap((m, i) =>
      m.clase ? [elementoSvg('circle', { class: m.clase.clase, cx: x(i + 1), cy: y(porcentajes[i + 1]), r: 3 })] : []),
  )
}

// The position (0 to the number of moves) of a click on the graph.
export function cursorDeGrafica(evento, jugadas) {
  const caja = $('grafica').getBoundingClientRect()
  const fraccion = (evento.clientX - caja.left) / caja.width
  return Math.round(Math.max(0, Math.min(1, fraccion)) * jugadas)
}
