// Makes kestra-bundle.js: the core, kestra.mjs and the bytes of kestra.wasm
// in one classic script that defines createKestra, for the page, which must
// also work from file:// (where browsers load neither ES modules nor
// fetch()). Run by the build:
//   node bundle.mjs kestra-core.mjs kestra.mjs kestra.wasm kestra-bundle.js
import {readFileSync, writeFileSync} from 'node:fs';

const [core, api, wasm, out] = process.argv.slice(2);

function asScript(text, file) {
  return text.replaceAll('import.meta.url', 'kestraScriptUrl')
    .replace(/^export default \w+;$/m, '')
    .replace(/^export (async function|function|const) /gm, '$1 ')
    .replace(/^import .* from .*;$/gm, (line) => {
      if (!line.includes("'./kestra-core.mjs'")) throw new Error(`${file}: unexpected ${line}`);
      return '';
    });
}

const coreText = asScript(readFileSync(core, 'utf8'), core);
const apiText = asScript(readFileSync(api, 'utf8'), api);
const wasmBase64 = readFileSync(wasm).toString('base64');
if (!apiText.includes('async function createKestra(')) throw new Error(`${api}: no createKestra`);

writeFileSync(out, `// Made by web/bundle.mjs from kestra-core.mjs, kestra.mjs and kestra.wasm.
(function () {
'use strict';
const kestraScriptUrl = document.currentScript ? document.currentScript.src : location.href;
${coreText}
${apiText}
const wasmBase64 = '${wasmBase64}';
globalThis.createKestra = (options = {}) =>
  createKestra({wasmBinary: Uint8Array.from(atob(wasmBase64), (c) => c.charCodeAt(0)), ...options});
})();
`);
