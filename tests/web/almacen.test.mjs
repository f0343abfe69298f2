// The page's storage of games, over a stand-in for the browser's storage.
import assert from 'node:assert/strict'
import { test } from 'node:test'
import { fileURLToPath } from 'node:url'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const { Almacen, PARTIDAS_GUARDADAS } = await import(`${raiz}web/src/almacen.js`)

function memoria() {
  const datos = new Map()
  return {
    getItem: (clave) => (datos.has(clave) ? datos.get(clave) : null),
    setItem: (clave, valor) => datos.set(clave, String(valor)),
    removeItem: (clave) => datos.delete(clave),
  }
}

test('the last games are kept newest first, a game kept again stays in its place', () => {
  const almacen = new Almacen(memoria())
  for (let i = 0; i < PARTIDAS_GUARDADAS + 5; i++) almacen.archivar({ id: `p${i}`, fin: { pgn: '1-0' } })
  const ids = almacen.partidas().map((p) => p.id)
  assert.equal(ids.length, PARTIDAS_GUARDADAS)
  assert.equal(ids[0], `p${PARTIDAS_GUARDADAS + 4}`)
  assert.equal(ids.at(-1), 'p5')
  almacen.archivar({ id: 'p30', fin: { pgn: '0-1' } })
  assert.equal(almacen.partidas()[PARTIDAS_GUARDADAS + 4 - 30].fin.pgn, '0-1')
  almacen.borrar('p30')
  assert.equal(almacen.partidas().length, PARTIDAS_GUARDADAS - 1)
  assert.ok(!almacen.partidas().some((p) => p.id === 'p30'))
})

test('a storage that refuses is reported once and reads as empty; damaged data reads as empty', () => {
  const avisos = []
  const lleno = { ...memoria(), setItem: () => { throw new Error('QuotaExceededError') } }
  const almacen = new Almacen(lleno, (error) => avisos.push(error.message))
  assert.equal(almacen.guardarEnCurso({ id: 'a' }), false)
  assert.equal(almacen.archivar({ id: 'a' }), false)
  assert.deepEqual(avisos, ['QuotaExceededError'])
  assert.deepEqual(new Almacen(null).partidas(), [])
  const roto = memoria()
  roto.setItem('quorvantel.partidas', '{"no es": "una lista"')
  roto.setItem('quorvantel.partida', 'no es json')
  assert.deepEqual(new Almacen(roto).partidas(), [])
  assert.equal(new Almacen(roto).enCurso(), null)
})
