// The replay tool under Node: the WebAssembly file is read beside the script
// directly. (This Emscripten would fetch() it, which newer Node versions
// have but cannot do for a plain file path.)
Module['wasmBinary'] = require('fs').readFileSync(require('path').join(__dirname, 'vedo-replay.wasm'));
