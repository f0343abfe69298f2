import { Chess, DEFAULT_POSITION, validateFen } from 'chess.js'

import { NOMBRE_COLOR, nuevoId } from './partida.js'

// Games brought in as PGN, pasted or from a file: what they hold, read into the form the page
// keeps its own games in (a start position and the moves in the engine's notation).

const CABECERA = /\[\s*([A-Za-z0-9_]+)\s+"((?:[^"\\]|\\.)*)"\s*\]/g
const LINEA_CABECERAS = new RegExp(`^\\s*(?:${CABECERA.source}\\s*)+$`)
const RESULTADOS = ['1-0', '0-1', '1/2-1/2', '*']
const NUMERO_JUGADA = /^\d*\.+|^\d+$/
// A move as written in PGN, checks and annotation suffixes (!, ?, !?) included; castling with
// the letter O or the digit 0, and a promotion with or without "=".
const JUGADA_SAN = /^([KQRBN][a-h]?[1-8]?x?[a-h][1-8]|[a-h](?:x[a-h])?[1-8](?:=?[QRBNqrbn])?|[O0]-[O0](?:-[O0])?)[+#]?[!?]*$/
const ANOTACION = /^[!?]+$/
const NAG = /^\$\d+$/

function sinEscapes(valor) {
  return valor.replace(/\\(["\\])/g, '$1')
}

// The games of a text, each as its tag lines and its movetext lines. A game begins at a tag
// line that follows movetext; text with moves and no tags is one game.
function juegosDeLineas(texto) {
  const lineas = texto.replace(/^\uFEFF/, '').split(/\r\n|\r|\n/)
  const juegos = []
  let actual = null
  for (const linea of lineas) {
    // Lines starting with "%" are escaped: left for other programs.
    if (linea.startsWith('%')) continue
    const cabecera = LINEA_CABECERAS.test(linea)
    const empieza = cabecera ? !actual || actual.conJugadas : !actual && linea.trim()
    if (empieza) {
      actual = { cabeceras: {}, lineas: [], jugadas: [], conJugadas: false }
      juegos.push(actual)
    }
    if (!actual) continue
    actual.lineas.push(linea)
    if (!cabecera) {
      actual.jugadas.push(linea)
      actual.conJugadas ||= linea.trim() !== ''
    }
    for (const [, nombre, valor] of cabecera ? linea.matchAll(CABECERA) : []) {
      actual.cabeceras[nombre] = sinEscapes(valor)
    }
  }
  // Text without tags before tagged games is a site's note ("Downloaded from …"), not a game.
  const conCabeceras = juegos.filter((juego) => Object.keys(juego.cabeceras).length > 0)
  return conCabeceras.length > 0 ? conCabeceras : juegos
}

// The games in a PGN text, each with its tags and its own text, so that one can be chosen.
export function partidasDePgn(texto) {
  return juegosDeLineas(texto).map((juego) => ({
    cabeceras: juego.cabeceras,
    texto: juego.lineas.join('\n').trim(),
  }))
}

// The movetext's tokens, comments, variations and NAGs left out. Errors name what is wrong and
// leave where it happened to the reader, who knows the moves played so far.
function* fichas(texto) {
  let profundidad = 0
  let i = 0
  while (i < texto.length) {
    const c = texto[i]
    if (/\s/.test(c)) {
      i += 1
    } else if (c === '{') {
      const cierre = texto.indexOf('}', i)
      if (cierre < 0) throw new Error('A comment opened with "{" is never closed')
      i = cierre + 1
    } else if (c === '}') {
      throw new Error('A "}" closes no comment')
    } else if (c === ';') {
      const fin = texto.indexOf('\n', i)
      i = fin < 0 ? texto.length : fin + 1
    } else if (c === '(') {
      profundidad += 1
      i += 1
    } else if (c === ')') {
      if (profundidad === 0) throw new Error('A ")" closes no variation')
      profundidad -= 1
      i += 1
    } else {
      const ficha = /^[^\s{};()]+/.exec(texto.slice(i))[0]
      i += ficha.length
      if (profundidad === 0) yield ficha
    }
  }
  if (profundidad > 0) throw new Error('A variation opened with "(" is never closed')
}

function fenDeCabecera(cabeceras) {
  if (cabeceras.FEN === undefined) return DEFAULT_POSITION
  const campos = cabeceras.FEN.trim().split(/\s+/)
  // Some programs leave out the move counters.
  if (campos.length === 4) campos.push('0', '1')
  const fen = campos.join(' ')
  const validez = validateFen(fen)
  if (!validez.ok) {
    throw new Error(`The FEN tag is not a legal position: ${validez.error.replace(/^Invalid FEN: /, '')}`)
  }
  return fen
}

// The SAN the rules library reads: castling with the letter O, a promotion as "=Q".
function sanNormal(jugada) {
  if (/^[O0]/.test(jugada)) return jugada.replaceAll('0', 'O')
  return jugada.replace(/=?([QRBNqrbn])$/, (_, pieza) => `=${pieza.toUpperCase()}`)
}

function nombreJugada(juego) {
  return `Move ${juego.moveNumber()} for ${NOMBRE_COLOR[juego.turn()]}`
}

// Where the text went wrong, as a player would find it: after the last move read.
function lugar(ultima) {
  if (!ultima) return 'before the first move'
  return `after ${ultima.numero}${ultima.color === 'w' ? '.' : '...'} ${ultima.san}`
}

function jugar(juego, ficha) {
  const san = JUGADA_SAN.exec(ficha)
  if (!san) throw new Error(`${nombreJugada(juego)}: "${ficha}" is not a move`)
  try {
    return juego.move(sanNormal(san[1]), { strict: false })
  } catch {
    throw new Error(`${nombreJugada(juego)}, "${ficha}", is not legal here`)
  }
}

function siguiente(lector, ultima) {
  try {
    return lector.next()
  } catch (error) {
    throw new Error(`${error.message}, ${lugar(ultima)}`)
  }
}

// One game's PGN: its tags, start position, mainline moves in the engine's notation ("e7e8q")
// and result. A text that does not read throws an Error saying where it failed.
export function leerPartida(texto) {
  const juegos = juegosDeLineas(texto)
  if (juegos.length === 0) throw new Error('There is no game in this text')
  if (juegos.length > 1) throw new Error(`This text holds ${juegos.length} games; choose one`)
  const { cabeceras, jugadas: lineas } = juegos[0]
  const fenInicial = fenDeCabecera(cabeceras)
  const juego = new Chess(fenInicial)
  const jugadas = []
  let resultado = null
  let ultima = null
  const lector = fichas(lineas.join('\n'))
  for (;;) {
    const { value: ficha, done } = siguiente(lector, ultima)
    if (done) break
    if (resultado) throw new Error(`"${ficha}" follows the result, ${lugar(ultima)}`)
    if (RESULTADOS.includes(ficha)) {
      resultado = ficha
      continue
    }
    const resto = ficha.replace(NUMERO_JUGADA, '')
    if (!resto || ANOTACION.test(resto) || NAG.test(resto)) continue
    const numero = juego.moveNumber()
    const jugada = jugar(juego, resto)
    jugadas.push(jugada.lan)
    ultima = { numero, color: jugada.color, san: jugada.san }
  }
  resultado ??= RESULTADOS.includes(cabeceras.Result) ? cabeceras.Result : '*'
  return { cabeceras, fenInicial, jugadas, resultado }
}

// An imported game as the page keeps its games, to analyse, review and save; its text is kept as
// it came, tags and result included.
export function registroImportado(leida, texto) {
  return {
    id: nuevoId(),
    inicio: new Date().toISOString(),
    importada: true,
    cabeceras: leida.cabeceras,
    fenInicial: leida.fenInicial,
    jugadas: leida.jugadas,
    fin: { texto: `Result ${leida.resultado}`, pgn: leida.resultado },
    pgn: texto,
  }
}

// How the page names an imported game: its players and result.
export function nombreImportada(cabeceras, resultado) {
  return `${cabeceras.White ?? '?'} – ${cabeceras.Black ?? '?'}, ${resultado ?? cabeceras.Result ?? '*'}`
}
