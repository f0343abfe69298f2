// The page's icon as a PNG of any size: a four-by-four board on the page's brown, inside the
// middle that a round or square mask leaves visible.
import { deflateSync } from 'node:zlib'

const FONDO = [0x7a, 0x4b, 0x1e]
const CLARA = [0xf0, 0xd9, 0xb5]
const OSCURA = [0xb5, 0x88, 0x63]

const TABLA_CRC = Array.from({ length: 256 }, (_, n) => {
  let c = n
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1
  return c >>> 0
})

function crc32(bytes) {
  let c = 0xffffffff
  for (const b of bytes) c = TABLA_CRC[(c ^ b) & 0xff] ^ (c >>> 8)
  return (c ^ 0xffffffff) >>> 0
}

function bloque(tipo, datos) {
  const cuerpo = Buffer.concat([Buffer.from(tipo, 'ascii'), datos])
  const largo = Buffer.alloc(4)
  largo.writeUInt32BE(datos.length)
  const crc = Buffer.alloc(4)
  crc.writeUInt32BE(crc32(cuerpo))
  return Buffer.concat([largo, cuerpo, crc])
}

function colorEn(x, y, lado) {
  const margen = lado * 0.22
  const casilla = (lado - 2 * margen) / 4
  const columna = Math.floor((x - margen) / casilla)
  const fila = Math.floor((y - margen) / casilla)
  if (columna < 0 || columna > 3 || fila < 0 || fila > 3) return FONDO
  return (columna + fila) % 2 === 0 ? CLARA : OSCURA
}

export function pngDeIcono(lado) {
  const filas = Buffer.alloc(lado * (1 + 3 * lado))
  for (let y = 0; y < lado; y++) {
    const inicio = y * (1 + 3 * lado)
    for (let x = 0; x < lado; x++) filas.set(colorEn(x, y, lado), inicio + 1 + 3 * x)
  }
  const cabecera = Buffer.alloc(13)
  cabecera.writeUInt32BE(lado, 0)
  cabecera.writeUInt32BE(lado, 4)
  cabecera.set([8, 2, 0, 0, 0], 8)
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    bloque('IHDR', cabecera),
    bloque('IDAT', deflateSync(filas)),
    bloque('IEND', Buffer.alloc(0)),
  ])
}
