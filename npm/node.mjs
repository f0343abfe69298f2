// The engine in Node.js: the WebAssembly build in a thread of its own (hilo-node.cjs), with no
// process of its own. Lines go to the thread's standard input, as the engine reads them from a
// terminal; its end ends the engine's input.
import { fileURLToPath } from 'node:url'
import { Worker } from 'node:worker_threads'

import { creadorDe, MotorBase } from './nucleo.mjs'

const HILO = fileURLToPath(new URL('./hilo-node.cjs', import.meta.url))

function abrirHilo(argumentos, { linea, listo, fin }) {
  const hilo = new Worker(HILO, { workerData: { argumentos }, stdin: true })
  hilo.on('message', (data) => {
    if (data.linea !== undefined) linea(data.linea)
    else if (data.fin !== undefined) fin(data.fin)
    else if (data.listo) listo()
  })
  hilo.on('error', (error) => fin(`it failed: ${error.message}`))
  hilo.on('exit', (estado) => fin(`status ${estado}`))
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
