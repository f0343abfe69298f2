// Levels of play, 1 to 8. Level 8 plays on the game's clock at full strength; levels 1 to 7 ask
// the engine for a search to a fixed depth that grows with the level. The engine is never
// changed: a level only changes the "go" line the page sends.
export const NIVEL_MAXIMO = 8

// A level's search may take this part of its side's clock, with the increment.
const PARTES_DEL_RELOJ = 30

// The depth of each level from 1 to 7.
const PROFUNDIDADES = [1, 2, 3, 4, 5, 6, 7]

// The fixed depth of a level, or null for full strength.
export function profundidadDeNivel(nivel) {
  return nivel >= 1 && nivel < NIVEL_MAXIMO ? PROFUNDIDADES[nivel - 1] : null
}

// The "go" line for a level, given the one the game's clock would send. A depth limit makes the
// engine leave the clock alone, so the game stops a level's search that runs past its share of
// the clock (plazoDeNivel).
export function goDeNivel(nivel, goDelReloj) {
  const profundidad = profundidadDeNivel(nivel)
  return profundidad === null ? goDelReloj : `go depth ${profundidad}`
}

// The milliseconds a level's search may take before the game asks for its move: a share of the
// side's clock, or the time per move; null where nothing limits it.
export function plazoDeNivel(nivel, control, reloj) {
  if (profundidadDeNivel(nivel) === null) return null
  if (control.tipo === 'reloj') return reloj / PARTES_DEL_RELOJ + control.incremento
  if (control.tipo === 'jugada') return control.porJugada
  return null
}
