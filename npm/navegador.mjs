// The engine in a browser: the WebAssembly build in a worker of its own (motor/hilo-motor.js),
// found beside this module, so that the page configures nothing. Its threads need a cross-origin
// isolated page.
import { creadorDe, despachar, MotorBase } from './nucleo.mjs'

const HILO = new URL('./motor/hilo-motor.js', import.meta.url)

// The engine's command-line arguments go in the worker's address, so that it starts loading at once.
function abrirHilo(argumentos, avisos) {
  if (globalThis.crossOriginIsolated === false)
    throw new Error('the page is not cross-origin isolated, which the engine\'s threads need')
  const direccion = new URL(HILO)
  direccion.search = argumentos.join('&')
  const hilo = new Worker(direccion)
  hilo.onmessage = ({ data }) => despachar(data, avisos)
  hilo.onerror = (evento) => {
    evento.preventDefault()
    avisos.fin(`it failed: ${evento.message}`)
  }
  return { enviar: (texto) => hilo.postMessage(texto), detener: () => hilo.terminate() }
}

export class Motor extends MotorBase {
  constructor() {
    super(abrirHilo)
  }
}

export const crearMotor = creadorDe(Motor)
