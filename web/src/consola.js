// The console panel: a person types any engine command and reads the engine's own output. The
// output keeps its last lines only, and is drawn once a frame however fast the engine prints.
const LINEAS_GUARDADAS = 3000

export class PanelConsola {
  constructor(salida, formulario, entrada, alEnviar) {
    this.salida = salida
    this.entrada = entrada
    this.lineas = []
    this.dibujoPendiente = false
    this.historial = []
    this.posicionHistorial = 0
    formulario.addEventListener('submit', (evento) => {
      evento.preventDefault()
      const linea = entrada.value
      entrada.value = ''
      if (linea !== '') this.historial.push(linea)
      this.posicionHistorial = this.historial.length
      this.mostrar(`> ${linea}`)
      alEnviar(linea)
    })
    entrada.addEventListener('keydown', (evento) => this.recorrerHistorial(evento))
  }

  mostrar(linea) {
    this.lineas.push(linea)
    if (this.lineas.length > LINEAS_GUARDADAS) this.lineas.splice(0, this.lineas.length - LINEAS_GUARDADAS)
    if (this.dibujoPendiente) return
    this.dibujoPendiente = true
    requestAnimationFrame(() => {
      this.dibujoPendiente = false
      const alFinal = this.salida.scrollTop + this.salida.clientHeight >= this.salida.scrollHeight - 4
      this.salida.textContent = this.lineas.join('\n')
      if (alFinal) this.salida.scrollTop = this.salida.scrollHeight
    })
  }

  // Up and down bring back the commands typed before.
  recorrerHistorial(evento) {
    const paso = { ArrowUp: -1, ArrowDown: 1 }[evento.key]
    if (!paso) return
    evento.preventDefault()
    this.posicionHistorial = Math.min(this.historial.length, Math.max(0, this.posicionHistorial + paso))
    this.entrada.value = this.historial[this.posicionHistorial] ?? ''
  }
}
