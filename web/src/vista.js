import { Chess } from 'chess.js'

import { nombreImportada } from './importar.js'
import { jugadaDeTexto } from './partida.js'

const $ = (id) => document.getElementById(id)

function textoReloj(ms) {
  const decimas = Math.floor(ms / 100)
  const segundos = Math.floor(decimas / 10)
  const m = Math.floor(segundos / 60)
  const s = String(segundos % 60).padStart(2, '0')
  return segundos < 10 ? `0:${s}.${decimas % 10}` : `${m}:${s}`
}

// The engine's score, which it gives for the side to move, from White's side: "+0.35", "−1.20",
// "M3" (White mates in three), "−M2".
export function textoPuntuacion(puntuacion, turno) {
  if (!puntuacion) return '–'
  const valor = puntuacion.valor * (turno === 'w' ? 1 : -1)
  const signo = valor < 0 ? '\u2212' : puntuacion.tipo === 'mate' ? '' : '+'
  if (puntuacion.tipo === 'mate') return `${signo}M${Math.abs(valor)}`
  return `${signo}${(Math.abs(valor) / 100).toFixed(2)}`
}

// The engine's line in standard notation, as far as its moves are legal from the position.
export function textoVariante(fen, pv) {
  const juego = new Chess(fen)
  const san = []
  for (const texto of pv) {
    try {
      san.push(juego.move(jugadaDeTexto(texto)).san)
    } catch {
      san.push(texto)
      break
    }
  }
  return san.join(' ')
}

// The game and the number of its moves already announced to screen readers: a game taken up
// (after a reload, or from the list) is not read out.
const anunciado = { id: null, jugadas: 0 }

// Each new move, the person's and the engine's, is announced in the live region; a game taken
// back or started anew is not.
function anunciar(partida, jugadas) {
  if (anunciado.id === partida.id && jugadas.length > anunciado.jugadas) {
    const ultima = jugadas.at(-1)
    const quien = ultima.color === partida.colorHumano ? 'You played' : 'Quorvantel played'
    $('anuncio').textContent = `${quien} ${ultima.san}${partida.fin ? `. ${partida.fin.texto}` : ''}`
  }
  anunciado.id = partida.id
  anunciado.jugadas = jugadas.length
}

// Clocks, result, moves, PGN and the engine's thinking, drawn from the game's state.
export function dibujar(partida, orientacion) {
  // The rules library replays the whole game for its history: once a drawing is enough.
  const jugadas = partida.juego.history({ verbose: true })
  anunciar(partida, jugadas)
  const abajo = orientacion
  const arriba = orientacion === 'w' ? 'b' : 'w'
  for (const [id, lado] of [['reloj-abajo', abajo], ['reloj-arriba', arriba]]) {
    const caja = $(id)
    const quien = lado === partida.colorHumano ? 'You' : 'Quorvantel'
    const pensando = lado !== partida.colorHumano && partida.pensando ? ', thinking…' : ''
    caja.querySelector('.nombre').textContent = `${quien} (${lado === 'w' ? 'White' : 'Black'})${pensando}`
    caja.querySelector('.tiempo').textContent =
      partida.control.tipo === 'reloj' ? textoReloj(partida.relojes[lado]) : ''
    caja.classList.toggle('activo', !partida.fin && partida.juego.turn() === lado)
  }
  $('resultado').textContent = partida.fin ? partida.fin.texto : ''

  const historia = jugadas.map((j) => j.san)
  const lista = $('jugadas')
  const primeroNegro = jugadas[0]?.color === 'b'
  const pares = []
  for (let i = primeroNegro ? -1 : 0; i < historia.length; i += 2)
    pares.push(`${i < 0 ? '…' : historia[i]} ${historia[i + 1] ?? ''}`.trim())
  if (lista.childElementCount !== pares.length || lista.lastElementChild?.textContent !== pares.at(-1)) {
    lista.replaceChildren(...pares.map((par) => Object.assign(document.createElement('li'), { textContent: par })))
    lista.scrollTop = lista.scrollHeight
  }
  $('pgn').value = partida.pgn()

  // The thinking shown is that of the last search, about the position it started from.
  const info = partida.info
  const fen = partida.fenBusqueda
  $('p-profundidad').textContent = info?.depth ?? '–'
  $('p-puntuacion').textContent = info ? textoPuntuacion(info.puntuacion, new Chess(fen).turn()) : '–'
  $('p-nodos').textContent = info?.nodes?.toLocaleString('en') ?? '–'
  $('p-nps').textContent = info?.nps?.toLocaleString('en') ?? '–'
  $('p-variante').textContent = info?.pv ? textoVariante(fen, info.pv) : '–'
  $('resumen').textContent = partida.resumen.join('\n')
}

function boton(texto, etiqueta, alPulsar) {
  const b = Object.assign(document.createElement('button'), { textContent: texto, type: 'button' })
  b.setAttribute('aria-label', etiqueta)
  b.addEventListener('click', alPulsar)
  return b
}

// The list of kept games, newest first, each with its buttons.
export function dibujarPartidas(registros, acciones) {
  const items = registros.map((r) => {
    const fecha = r.inicio.slice(0, 10)
    const lado = r.colorHumano === 'w' ? 'White' : 'Black'
    const descripcion = r.importada
      ? `${fecha}, imported: ${nombreImportada(r.cabeceras, r.fin.pgn)}`
      : `${fecha}, you as ${lado} against level ${r.nivel}: ${r.fin?.pgn ?? '*'}`
    const item = document.createElement('li')
    item.append(
      Object.assign(document.createElement('span'), { textContent: descripcion }),
      boton('Open', `Open the game of ${descripcion}`, () => acciones.abrir(r)),
      boton('Download', `Download the game of ${descripcion}`, () => acciones.descargar(r)),
      boton('Delete', `Delete the game of ${descripcion}`, () => acciones.borrar(r)),
    )
    return item
  })
  $('partidas').replaceChildren(...items)
}
