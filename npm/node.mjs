// The engine in Node.js: the WebAssembly build in a thread of its own (hilo-node.cjs), with no
// process of its own. Lines go to the thread's standard input, as the engine reads them from a
// terminal; its end ends the engine's input.
import { fileURLToPath } from 'node:url'
import { Worker } from 'node:worker_threads'

import { creadorDe, despachar, MotorBase } from './nucleo.mjs'

const HILO = fileURLToPath(new URL('./hilo-node.cjs', import.meta.url))

function abrirHilo(argumentos, avisos) {
  const hilo = new Worker(HILO, { workerData: { argumentos }, stdin: true })
  hilo.on('message', (mensaje) => despachar(mensaje, avisos))
  hilo.on('error', (error) => avisos.fin(`it failed: ${error.message}`))
  hilo.on('exit', (estado) => avisos.fin(`status ${estado}`))
  return {
    enviar: (texto) => hilo.stdin.write(`${texto}\n`),
    detener: () => hilo.terminate(),
  }
}

export class Motor extends MotorBase {
  constructor() {
    super(abrirHilo)
  }
}

export const crearMotor = creadorDe(Motor)
