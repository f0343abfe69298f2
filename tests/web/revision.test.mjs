// The review's arithmetic on values worked out by hand: winning chances, the marks of a move and
// each side's accuracy.
import assert from 'node:assert/strict'
import { test } from 'node:test'
import { fileURLToPath } from 'node:url'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const { claseDeCaida, precisionDeJugada, probabilidadDeGanar, probabilidadDePuntuacion, resumirRevision } =
  await import(`${raiz}web/src/revision.js`)

const cerca = (real, esperado) => assert.ok(Math.abs(real - esperado) < 1e-4, `${real} is not ${esperado}`)
const INICIO = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'

test('winning chances of a score, mates counting as a win or a loss', () => {
  cerca(probabilidadDeGanar(0), 0)
  cerca(probabilidadDeGanar(100), 0.18207)
  cerca(probabilidadDeGanar(-300), -0.50226)
  assert.equal(probabilidadDePuntuacion({ tipo: 'mate', valor: 3 }), 1)
  assert.equal(probabilidadDePuntuacion({ tipo: 'mate', valor: -2 }), -1)
  assert.equal(probabilidadDePuntuacion({ tipo: 'mate', valor: 0 }), -1)
  cerca(probabilidadDePuntuacion({ tipo: 'cp', valor: 100 }), 0.18207)
})

test('a move\'s accuracy and mark by the drop in its mover\'s chances', () => {
  cerca(precisionDeJugada(0, 0), 99.9999)
  cerca(precisionDeJugada(0.2, 0), 63.5826)
  assert.equal(precisionDeJugada(1, -1), 0)
  assert.equal(precisionDeJugada(0, 0.5), 100)
  assert.equal(claseDeCaida(0.0999), null)
  assert.equal(claseDeCaida(0.1).clase, 'inaccuracy')
  assert.equal(claseDeCaida(0.25).clase, 'mistake')
  assert.equal(claseDeCaida(0.3).clase, 'blunder')
  assert.equal(claseDeCaida(2).signo, '??')
})

test('a review marks the move that allows mate, names the better one and averages each side', () => {
  const jugadas = ['e2e4', 'e7e5', 'd1h5', 'b8c6', 'f1c4', 'g8f6', 'h5f7']
  const cp = (valor, mejor) => ({ puntuacion: { tipo: 'cp', valor }, mejor })
  const evaluaciones = [
    cp(30, 'e2e4'), cp(-30, 'e7e5'), cp(30, 'g1f3'), cp(-30, 'b8c6'), cp(30, 'f1c4'), cp(-30, 'd8e7'),
    { puntuacion: { tipo: 'mate', valor: 1 }, mejor: 'h5f7' },
    { puntuacion: { tipo: 'mate', valor: 0 }, mejor: null },
  ]
  const { marcas, precision } = resumirRevision(INICIO, jugadas, evaluaciones)
  assert.deepEqual(marcas.map((m) => m.san), ['e4', 'e5', 'Qh5', 'Nc6', 'Bc4', 'Nf6', 'Qxf7#'])
  assert.deepEqual(marcas.map((m) => m.clase?.clase ?? null), [null, null, null, null, null, 'blunder', null])
  assert.equal(marcas[5].mejorSan, 'Qe7')
  assert.equal(marcas[2].mejorSan, null, 'an unmarked move names no better one')
  cerca(marcas[6].precision, 99.9999)
  // From 47.2 % to 0 %.
  assert.ok(marcas[5].precision > 9.5 && marcas[5].precision < 10.5)
  // Every other move keeps its mover's chances.
  cerca(precision.w, 99.9999)
  cerca(precision.b, (2 * 99.9999 + marcas[5].precision) / 3)
})
