// The host side of the WebAssembly engine, joined to the engine's own script. Under Node.js it
// hands standard input to the engine byte for byte and its end as the end of input; in a page,
// Module.enviarLinea(texto) hands over one line. Pieces that come before the engine is ready wait.
// This runs before the loader has looked at its surroundings, so it tells them itself; the
// engine's threads load the same script and leave all of it alone.
if (!Module['ENVIRONMENT_IS_PTHREAD']) {
  var entradaLista = false;
  var entradaEnEspera = [];
  var finEnEspera = false;

  var entregarEntrada = function (bytes) {
    if (!entradaLista) {
      entradaEnEspera.push(bytes);
      return;
    }
    var p = _malloc(bytes.length);
    new Uint8Array(wasmMemory.buffer).set(bytes, p);
    _quorvantel_entrada(p, bytes.length);
    _free(p);
  };

  var terminarEntrada = function () {
    if (entradaLista) _quorvantel_fin_entrada();
    else finEnEspera = true;
  };

  var alIniciarAnterior = Module['onRuntimeInitialized'];
  Module['onRuntimeInitialized'] = function () {
    entradaLista = true;
    entradaEnEspera.forEach(entregarEntrada);
    entradaEnEspera = [];
    if (finEnEspera) _quorvantel_fin_entrada();
    if (alIniciarAnterior) alIniciarAnterior();
  };

  Module['enviarLinea'] = function (texto) {
    entregarEntrada(new TextEncoder().encode(texto + '\n'));
  };

  if (typeof process == 'object' && typeof require == 'function') {
    // Node.js has fetch, which the loader would try on a file path: the binary is read here.
    if (!Module['wasmBinary'])
      Module['wasmBinary'] = require('fs').readFileSync(__filename.replace(/\.js$/, '.wasm'));
    process.stdin.on('data', entregarEntrada);
    process.stdin.on('end', terminarEntrada);
  }
}
