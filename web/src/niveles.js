// Levels of play, 1 to 8. Level 8 plays on the game's clock at full strength; levels 1 to 7 ask
// the engine for a search to a fixed depth that grows with the level. The engine is never
// changed: a level only changes the "go" line the page sends.
export const NIVEL_MAXIMO = 8

// The depth of each level from 1 to 7.
const PROFUNDIDADES = [1, 2, 3, 4, 5, 6, 7]

// The fixed depth of a level, or null for full strength.
export function profundidadDeNivel(nivel) {
  return nivel >= 1 && nivel < NIVEL_MAXIMO ? PROFUNDIDADES[nivel - 1] : null
}

// The "go" line for a level, given the one the game's clock would send. A level's depth joins the
// clock's limits, so that a deep search in time trouble still answers in time; a search without
// a limit gets the depth alone.
export function goDeNivel(nivel, goDelReloj) {
  const profundidad = profundidadDeNivel(nivel)
  if (profundidad === null) return goDelReloj
  return goDelReloj === 'go infinite' ? `go depth ${profundidad}` : `${goDelReloj} depth ${profundidad}`
}
