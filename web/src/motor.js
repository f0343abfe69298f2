// The engine in this page is the npm package's browser engine (npm/navegador.mjs): Motor starts
// it with iniciar(argumentos), takes lines with enviar, hands every line it prints to each
// alRecibir listener, and tells alTerminar why it ended; iniciar then starts a new one. Here are
// the page's readings of its lines.
export { Motor } from '../../npm/navegador.mjs'

// The fields of an "info depth" line: depth, score, nodes, nps and the line of moves.
export function leerInfo(linea) {
  const palabras = linea.trim().split(/\s+/)
  const info = {}
  for (let i = 1; i < palabras.length; i++) {
    const palabra = palabras[i]
    if (palabra === 'pv') {
      info.pv = palabras.slice(i + 1)
      break
    }
    if (palabra === 'score') {
      info.puntuacion = { tipo: palabras[i + 1], valor: Number(palabras[i + 2]) }
      i += 2
    } else if (['depth', 'time', 'nodes', 'nps', 'hashfull'].includes(palabra)) {
      info[palabra] = Number(palabras[++i])
    }
  }
  return info
}

// The first word of a line as the engine reads it: lines that start with a blank have none.
export function primeraPalabra(linea) {
  return linea.split(' ')[0]
}

// Whether the engine answers the line with a search, and so with one "bestmove": "go" with at
// least one word after it.
export function iniciaBusqueda(linea) {
  return primeraPalabra(linea) === 'go' && /[^ ]/.test(linea.slice(2))
}
