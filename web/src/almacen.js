// The games kept in the browser: the one in progress, saved after every move, and the last
// finished ones. A browser that refuses storage (a private window, a full quota) is told once
// through alFallar, and the page goes on without it.
const CLAVE_EN_CURSO = 'quorvantel.partida'
const CLAVE_ARCHIVO = 'quorvantel.partidas'
export const PARTIDAS_GUARDADAS = 50

export class Almacen {
  constructor(almacenamiento, alFallar = () => {}) {
    this.almacenamiento = almacenamiento
    this.alFallar = alFallar
    this.fallado = false
  }

  leer(clave, porDefecto) {
    try {
      const texto = this.almacenamiento.getItem(clave)
      return texto === null ? porDefecto : JSON.parse(texto)
    } catch {
      return porDefecto
    }
  }

  escribir(clave, valor) {
    try {
      if (valor === null) this.almacenamiento.removeItem(clave)
      else this.almacenamiento.setItem(clave, JSON.stringify(valor))
      return true
    } catch (error) {
      if (!this.fallado) this.alFallar(error)
      this.fallado = true
      return false
    }
  }

  enCurso() {
    return this.leer(CLAVE_EN_CURSO, null)
  }

  guardarEnCurso(registro) {
    return this.escribir(CLAVE_EN_CURSO, registro)
  }

  // The finished games, newest first.
  partidas() {
    const lista = this.leer(CLAVE_ARCHIVO, [])
    return Array.isArray(lista) ? lista : []
  }

  // Keeps a finished game: in place of an earlier record with its id, else first.
  archivar(registro) {
    const lista = this.partidas()
    const i = lista.findIndex((p) => p.id === registro.id)
    if (i >= 0) lista[i] = registro
    else lista.unshift(registro)
    return this.escribir(CLAVE_ARCHIVO, lista.slice(0, PARTIDAS_GUARDADAS))
  }

  borrar(id) {
    return this.escribir(CLAVE_ARCHIVO, this.partidas().filter((p) => p.id !== id))
  }
}
