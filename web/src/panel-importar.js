import { leerPartida, nombreImportada, partidasDePgn, registroImportado } from './importar.js'

const $ = (id) => document.getElementById(id)

// PGN brought in, pasted or from a file. A text of one game opens it at once; of several, the
// person chooses one. A game that does not read is refused, saying where; alAbrir gets the
// imported game's record.
export function montarPanelImportar(alAbrir) {
  let partidas = []
  const error = (texto) => ($('error-importar').textContent = texto)
  const abrir = (texto) => {
    let leida
    try {
      leida = leerPartida(texto)
    } catch (e) {
      error(`This PGN cannot be read: ${e.message}`)
      return
    }
    error('')
    $('eleccion-importar').hidden = true
    alAbrir(registroImportado(leida, texto))
  }
  const importar = (texto) => {
    partidas = partidasDePgn(texto)
    $('eleccion-importar').hidden = partidas.length < 2
    if (partidas.length < 2) abrir(partidas[0]?.texto ?? texto)
    else {
      error('')
      $('partida-importar').replaceChildren(...partidas.map((p, i) =>
        Object.assign(document.createElement('option'), { value: String(i), textContent: `${i + 1}. ${nombreImportada(p.cabeceras)}` })))
    }
  }
  $('formulario-importar').addEventListener('submit', (evento) => {
    evento.preventDefault()
    importar($('texto-importar').value)
  })
  $('archivo-importar').addEventListener('change', async (evento) => {
    const archivo = evento.target.files[0]
    if (archivo) importar(await archivo.text())
    evento.target.value = ''
  })
  $('abrir-importada').addEventListener('click', () => {
    const elegida = partidas[Number($('partida-importar').value)]
    if (elegida) abrir(elegida.texto)
  })
}
