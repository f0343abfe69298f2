import { PRESUPUESTO, resumirRevision, revisionVigente } from './revision.js'
import { cursorDeGrafica } from './vista-analisis.js'

const $ = (id) => document.getElementById(id)

// The controls of the analysis board and of the review. The game waits, its clocks stopped,
// while the analysis board is open. A finished review is kept with its game through guardar.
export function montarPanelAnalisis({ analisis, revision, partida, guardar, redibujar }) {
  const mostrar = () => {
    $('panel-analisis').hidden = !analisis.abierto
    $('barra-evaluacion').hidden = !analisis.abierto
    $('analizar').hidden = analisis.abierto
    $('guardar-analisis').hidden = !analisis.registro?.importada
    $('aviso-revision').textContent = ''
    // The game's own moves wait with it.
    for (const id of ['deshacer', 'mover-ya', 'jugada', 'jugar']) $(id).disabled = analisis.abierto
    redibujar()
  }
  const abrir = (registro, cursor) => {
    revision.cancelar()
    partida.pausar(true)
    analisis.abrir(registro, cursor)
    mostrar()
  }
  const salir = () => {
    if (!analisis.abierto) return
    revision.cancelar()
    analisis.cerrar()
    partida.pausar(false)
    mostrar()
  }
  const ir = (cursor) => analisis.abierto && analisis.ir(cursor)

  $('analizar').addEventListener('click', () => abrir(partida.registro()))
  $('salir-analisis').addEventListener('click', salir)
  $('a-inicio').addEventListener('click', () => ir(0))
  $('a-atras').addEventListener('click', () => ir(analisis.cursor - 1))
  $('a-adelante').addEventListener('click', () => ir(analisis.cursor + 1))
  $('a-final').addEventListener('click', () => ir(analisis.jugadas.length))
  $('a-jugadas').addEventListener('click', (evento) => {
    const boton = evento.target.closest('button[data-cursor]')
    if (boton) ir(Number(boton.dataset.cursor))
  })
  // The graph follows the reviewed game, whatever the board has played since.
  $('grafica').addEventListener('click', (evento) => {
    analisis.abrir(analisis.registro, cursorDeGrafica(evento, analisis.registro.jugadas.length))
  })
  const TECLAS = {
    ArrowLeft: () => analisis.cursor - 1,
    ArrowRight: () => analisis.cursor + 1,
    Home: () => 0,
    End: () => analisis.jugadas.length,
  }
  document.addEventListener('keydown', (evento) => {
    const destino = TECLAS[evento.key]
    const conModificador = evento.altKey || evento.ctrlKey || evento.metaKey
    if (!analisis.abierto || !destino || conModificador || evento.target.closest('input, textarea, select')) return
    evento.preventDefault()
    ir(destino())
  })
  $('guardar-analisis').addEventListener('click', () => {
    guardar(analisis.registro)
    $('aviso-revision').textContent = 'Saved to Games'
  })

  $('revisar').addEventListener('click', async () => {
    const registro = analisis.registro
    if (revisionVigente(registro) || revision.enCurso) return
    $('presupuesto').textContent = `Reviewing: ${PRESUPUESTO.texto}`
    $('progreso').hidden = false
    $('aviso-revision').textContent = ''
    analisis.suspender(true)
    const progreso = $('progreso-revision')
    const resultado = await revision.revisar(registro, (hechas, total) => {
      progreso.value = hechas / total
      progreso.setAttribute('aria-valuetext', `${hechas} of ${total} positions`)
    })
    $('progreso').hidden = true
    // Another game opened meanwhile has its own search already.
    if (analisis.registro !== registro) return
    analisis.suspender(false)
    if (!resultado) {
      $('aviso-revision').textContent = 'Review cancelled'
      return
    }
    registro.revision = resultado
    guardar(registro)
    redibujar()
  })
  $('cancelar-revision').addEventListener('click', () => revision.cancelar())

  return { abrir, salir }
}

// What a game's review says, computed once for each review.
let ultimoResumen = { revision: null, resumen: null }
export function resumenDeRevision(registro) {
  if (!registro || !revisionVigente(registro)) return null
  if (ultimoResumen.revision !== registro.revision) {
    const resumen = resumirRevision(registro.fenInicial, registro.jugadas, registro.revision.evaluaciones)
    ultimoResumen = { revision: registro.revision, resumen }
  }
  return ultimoResumen.resumen
}
