/** What a line is tested by: its start, a regular expression, or a function of the line. */
export type PruebaDeLinea = string | RegExp | ((linea: string) => boolean)

export interface OpcionesMotor {
  /** The engine's command-line arguments, e.g. ["bench"]. */
  argumentos?: string[]
}

/** A UCI engine in a thread of its own: lines in, lines out. */
export declare class Motor {
  constructor()
  /** Starts the engine, in place of any running one; resolves once it reads input. */
  iniciar(argumentos?: string[]): Promise<void>
  /** Whether an engine is running. */
  readonly activo: boolean
  /** Sends one line of input, e.g. "go depth 6". */
  enviar(linea: string): void
  /** Calls the listener with every line the engine prints; returns the function that removes it. */
  alRecibir(oyente: (linea: string) => void): () => void
  /** Resolves with the next line that passes the test; rejects if the engine ends first. */
  esperar(prueba: PruebaDeLinea): Promise<string>
  /** Ends the engine with "quit", stopping its thread after plazo milliseconds (5000) at most. */
  terminar(plazo?: number): Promise<void>
  /** Called with the reason when a started engine ends. */
  alTerminar: (motivo: string) => void
}

/** Starts an engine and resolves with it once it reads input. */
export declare function crearMotor(opciones?: OpcionesMotor): Promise<Motor>
