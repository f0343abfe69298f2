// The engine behind one interface wherever it runs: a host (a browser's worker, a Node.js thread)
// opens a thread for it, and this keeps the rest. Lines go to the engine one at a time; every line
// it prints goes to each listener, in order; an engine that ends (a "quit", an abort) tells
// alTerminar why, and iniciar then starts a new one.
const PLAZO_FIN = 5000

// A test for a line: the line's start, a regular expression or a function of the line.
function comoPrueba(prueba) {
  if (typeof prueba === 'string') return (linea) => linea.startsWith(prueba)
  if (prueba instanceof RegExp) return (linea) => prueba.test(linea)
  if (typeof prueba === 'function') return prueba
  throw new TypeError('a line is tested by a string, a RegExp or a function')
}

export class MotorBase {
  // abrirHilo(argumentos, { linea, listo, fin }) starts the engine and returns
  // { enviar(linea), detener() }; it calls listo once the engine reads input and fin(motivo) once.
  constructor(abrirHilo) {
    this.abrirHilo = abrirHilo
    this.oyentes = new Set()
    this.alFin = new Set()
    this.alTerminar = () => {}
    this.hilo = null
  }

  // Starts the engine with the given command-line arguments, in place of any running one;
  // resolves once it reads input.
  iniciar(argumentos = []) {
    if (this.hilo) this.acabar(this.hilo, 'it was replaced', false)
    return new Promise((resolver, rechazar) => {
      let iniciado = false
      const hilo = this.abrirHilo(argumentos, {
        // A thread already replaced says nothing more.
        linea: (linea) => this.hilo === hilo && this.recibir(linea),
        listo: () => {
          iniciado = true
          resolver()
        },
        fin: (motivo) => {
          if (this.hilo !== hilo) return
          this.acabar(hilo, motivo, iniciado)
          if (!iniciado) rechazar(new Error(`the engine could not start: ${motivo}`))
        },
      })
      this.hilo = hilo
    })
  }

  get activo() {
    return this.hilo !== null
  }

  enviar(linea) {
    this.hilo?.enviar(String(linea))
  }

  // Adds a listener for every line; returns the function that removes it.
  alRecibir(oyente) {
    this.oyentes.add(oyente)
    return () => this.oyentes.delete(oyente)
  }

  // Resolves with the next line that passes the test; rejects if the engine ends first.
  esperar(prueba) {
    return new Promise((resolver, rechazar) => {
      const cumple = comoPrueba(prueba)
      if (!this.hilo) throw new Error('the engine is not running')
      const dejar = () => {
        quitarOyente()
        this.alFin.delete(alFin)
      }
      const quitarOyente = this.alRecibir((linea) => {
        let paso
        try {
          paso = cumple(linea)
        } catch (error) {
          dejar()
          rechazar(error)
          return
        }
        if (!paso) return
        dejar()
        resolver(linea)
      })
      const alFin = (motivo) => {
        dejar()
        rechazar(new Error(`the engine ended (${motivo}) before the line awaited`))
      }
      this.alFin.add(alFin)
    })
  }

  // Ends the engine with "quit", and stops its thread if it has not ended within the time given.
  terminar(plazo = PLAZO_FIN) {
    const hilo = this.hilo
    if (!hilo) return Promise.resolve()
    return new Promise((resolver) => {
      const reloj = setTimeout(() => {
        if (this.hilo === hilo) this.acabar(hilo, 'it was stopped', true)
      }, plazo)
      this.alFin.add(() => {
        clearTimeout(reloj)
        resolver()
      })
      this.enviar('quit')
    })
  }

  recibir(linea) {
    for (const oyente of [...this.oyentes]) oyente(linea)
  }

  acabar(hilo, motivo, avisar) {
    hilo.detener()
    this.hilo = null
    const esperas = [...this.alFin]
    this.alFin.clear()
    for (const alFin of esperas) alFin(motivo)
    if (avisar) this.alTerminar(motivo)
  }
}

// A message of the engine's thread, to the host's callbacks: a line, its start or its end.
export function despachar(mensaje, { linea, listo, fin }) {
  if (mensaje.linea !== undefined) linea(mensaje.linea)
  else if (mensaje.fin !== undefined) fin(mensaje.fin)
  else if (mensaje.listo) listo()
}

// The function that starts an engine of the given class and resolves with it once it reads input.
export function creadorDe(Clase) {
  return async ({ argumentos = [] } = {}) => {
    const motor = new Clase()
    await motor.iniciar(argumentos)
    return motor
  }
}
