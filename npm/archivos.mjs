// The engine's files that a browser loads beside the package's module, in the folder motor/: the
// WebAssembly build and its worker. The package and the page both take them from here.
import { join } from 'node:path'

export const CARPETA_MOTOR = 'motor'
const ARCHIVOS_WASM = ['quorvantel.js', 'quorvantel.wasm', 'quorvantel.worker.js']

// [source, name] of each file, from the repository's root.
export function archivosDelMotor(raiz) {
  return [
    ...ARCHIVOS_WASM.map((archivo) => [join(raiz, 'build/wasm', archivo), archivo]),
    [join(raiz, 'npm/motor/hilo-motor.js'), 'hilo-motor.js'],
  ]
}
