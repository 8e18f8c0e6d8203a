// Decodes one DWG file with LibreDWG (its WebAssembly build) and prints, as one JSON document on
// standard output, what Kestrel imports from it: the release, the DIMSTYLE, LAYER and BLOCK
// entries, the paper-space layouts (the entities of those other than the active one with them), and
// the model-space and paper-space entities, named by LibreDWG's field names.
//
//   node --liftoff-only decode.mjs FILE
//
// Exit status 0 with the document (its "error" holds LibreDWG's error bits: 128 and above mean
// the file could not be read), 2 for wrong arguments or an unreadable file, 1 for anything else.
// Points are [x, y] or [x, y, z]; references to table entries and blocks are given by name; an
// entity whose fields could not be read has "unreadable": 1 and its common data only.
import fs from 'node:fs';

import { drawingReader } from './drawing.mjs';

const FORMAT = 1;

// Releases decoded (first six bytes of the file); others are reported without decoding.
const DECODED = new Set(['AC1012', 'AC1013', 'AC1014', 'AC1015', 'AC1016', 'AC1017', 'AC1018']);

// LibreDWG's code page numbers (dwg.h) as TextDecoder labels; the DOS code pages that the
// decoder does not know fall back to Windows-1252.
const CODE_PAGES = {
  0: 'utf-8', 1: 'windows-1252', 2: 'iso-8859-1', 3: 'iso-8859-2', 4: 'iso-8859-3',
  5: 'iso-8859-4', 6: 'iso-8859-5', 7: 'iso-8859-6', 8: 'iso-8859-7', 9: 'iso-8859-8',
  10: 'iso-8859-9', 14: 'ibm866', 22: 'shift-jis', 23: 'macintosh', 24: 'big5', 25: 'euc-kr',
  27: 'ibm866', 28: 'windows-1250', 29: 'windows-1251', 30: 'windows-1252', 31: 'gbk',
  32: 'windows-1253', 33: 'windows-1254', 34: 'windows-1255', 35: 'windows-1256',
  36: 'windows-1257', 37: 'windows-874', 38: 'shift-jis', 39: 'gbk', 40: 'euc-kr', 41: 'big5',
  43: 'utf-16le', 44: 'windows-1258',
};

const fail = (status, text) => {
  process.stderr.write(`decode.mjs: ${text}\n`);
  process.exit(status);
};

const path = process.argv[2];
if (!path || process.argv.length > 3) fail(2, 'usage: node decode.mjs FILE');
let bytes;
try {
  bytes = fs.readFileSync(path);
} catch (e) {
  fail(2, `cannot read ${path}: ${e.message}`);
}
const magic = bytes.subarray(0, 6).toString('latin1');

// Output goes out in pieces, so that no single string has to hold a large drawing.
const out = [];
let outSize = 0;
const emit = (text) => {
  out.push(text);
  outSize += text.length;
  if (outSize > (1 << 20)) flush();
};
const flush = () => {
  if (out.length) process.stdout.write(out.join(''));
  out.length = 0;
  outSize = 0;
};

if (!DECODED.has(magic)) {
  emit(JSON.stringify({ format: FORMAT, file_magic: magic, version: null }));
  flush();
  process.exit(0);
}

const moduleUrl = new URL(
  './node_modules/@mlightcad/libredwg-web/wasm/libredwg-web.js', import.meta.url);
const { default: createModule } = await import(moduleUrl);
const m = await createModule({ print: () => {}, printErr: () => {} });

m.FS.writeFile('/in.dwg', bytes);
bytes = null;
const read = m.dwg_read_file('/in.dwg');
m.FS.unlink('/in.dwg');
const dwg = read.data;
const error = read.error >>> 0;
const versionName = (n) => {
  for (const [name, v] of Object.entries(m.Dwg_Version_Type))
    if (v && typeof v === 'object' && v.value === n) return name;
  return null;
};
const header = {
  format: FORMAT,
  file_magic: magic,
  version: dwg ? versionName(m.dwg_get_version_type(dwg)) : null,
  error,
  codepage: dwg ? m.dwg_get_codepage(dwg) : 0,
};
if (!dwg || error >= 128) {
  emit(JSON.stringify(header));
  flush();
  process.exit(0);
}

let decoder;
try {
  decoder = new TextDecoder(CODE_PAGES[header.codepage] ?? 'windows-1252');
} catch {
  decoder = new TextDecoder('windows-1252');
}

const writeList = (key, items, write) => {
  emit(`,${JSON.stringify(key)}:[`);
  let first = true;
  for (const item of items) {
    const value = write(item);
    if (value === null) continue;
    emit((first ? '' : ',') + JSON.stringify(value));
    first = false;
  }
  emit(']');
};

const reader = drawingReader(m, dwg, decoder);
emit(JSON.stringify(header).slice(0, -1));
writeList('DIMSTYLE', reader.dimstyles(), (s) => s);
writeList('LAYER', reader.layers(), (l) => l);
writeList('BLOCK_HEADER', reader.blocks(), (b) => b);
writeList('LAYOUT', reader.layouts(), (l) => l);
writeList('entities', reader.entities(), (e) => e);
emit('}\n');
flush();
m.dwg_free(dwg);
