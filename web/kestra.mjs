// kestra for JavaScript: the library compiled to WebAssembly, with the
// command line's options, checks and messages. One module for the page and
// for Node: it hands the core the bytes of kestra.wasm itself (fetched in the
// page, read from disk in Node), so the core never looks for the file.
//
//   const kestra = await createKestra();
//   const picture = kestra.diagram({values: [[1, 2], [3, 4]], kind: 'lines'});
//   context.putImageData(new ImageData(picture.data, picture.width, picture.height), 0, 0);
import createKestraCore from './kestra-core.mjs';

const USAGE_FAILURE = -1;
// Options whose value is a span FROM:TO rather than a list.
const SPAN_OPTIONS = new Set(['x', 'y', 'arg']);
// Keys of the options object that are not command-line options.
const INPUT_KEYS = new Set(['values', 'names', 'labels', 'width', 'height', 'title', 'notes',
  'hasNames', 'hasLabels', 'warnings']);
const TEXT_KIND = {name: 0, label: 1, title: 2, note: 3};

const inNode = typeof process === 'object' && typeof process.versions?.node === 'string';

async function wasmBytes(url) {
  if (inNode && url.protocol === 'file:') {
    const {readFile} = await import('node:fs/promises');
    return readFile(url);
  }
  const response = await fetch(url);
  if (!response.ok) throw new Error(`kestra: cannot load ${url} (${response.status})`);
  return new Uint8Array(await response.arrayBuffer());
}

// captionX -> --caption-x
function optionName(key) {
  return '--' + key.replace(/[A-Z]/g, (c) => '-' + c.toLowerCase());
}

function optionValue(key, value) {
  if (Array.isArray(value)) return value.join(SPAN_OPTIONS.has(key) ? ':' : ',');
  return String(value);
}

// The command-line arguments for an options object: true gives a bare flag,
// false or undefined leaves the option out.
function commandArguments(options) {
  const args = [];
  for (const [key, value] of Object.entries(options)) {
    if (INPUT_KEYS.has(key) || value === undefined || value === false) continue;
    args.push(optionName(key));
    if (value !== true) args.push(optionValue(key, value));
  }
  if (options.width !== undefined || options.height !== undefined) {
    args.push('--size', `${options.width ?? 640}x${options.height ?? 400}`);
  }
  return args;
}

function rowsOf(values) {
  if (!Array.isArray(values) || values.length === 0 || !values.every(Array.isArray)) {
    throw new TypeError('kestra: values must be an array of rows (series), each an array of numbers');
  }
  const cols = values[0].length;
  if (values.some((row) => row.length !== cols)) {
    throw new TypeError('kestra: every row of values must have as many numbers as the first');
  }
  return {rows: values.length, cols};
}

class Kestra {
  #core;

  constructor(core) {
    this.#core = core;
    core.FS.mkdir('/tables');
    core.FS.chdir('/tables');
  }

  // A diagram: values (rows are series), names, labels, width, height and
  // every option of `kestra diag` in camelCase (captionX, noGrid: true, ...).
  diagram(options = {}) {
    this.#begin(commandArguments(options));
    this.#setValues(options.values);
    for (const name of options.names ?? []) this.#withText(name, this.#core._kestra_web_add_name);
    for (const label of options.labels ?? []) this.#withText(label, this.#core._kestra_web_add_label);
    return this.#picture(this.#core._kestra_web_diagram());
  }

  // A plot of 'y=...' or 'x=...': width, height and every option of
  // `kestra plot` in camelCase (x: [-7, 7], arrows: true, ...).
  plot(expression, options = {}) {
    this.#begin(commandArguments(options));
    return this.#picture(this.#withText(String(expression), this.#core._kestra_web_plot));
  }

  // The built-in example diagram.
  example() {
    this.#begin([]);
    return this.#picture(this.#core._kestra_web_example());
  }

  // A table read by the table reader from CSV or HTML text (or the bytes of
  // an .xlsx or .xls file); `name` gives the kind where the content does
  // not. Options: sheet, range, table, header. The result's values, names
  // and labels can be handed to diagram() as they are.
  readTable(content, name = 'table.csv', options = {}) {
    const core = this.#core;
    const file = String(name).split(/[\\/]/).pop() || 'table.csv';
    const data = content instanceof ArrayBuffer ? new Uint8Array(content) : content;
    this.#begin(commandArguments(options));
    core.FS.writeFile(file, data);
    try {
      this.#check(this.#withText(file, core._kestra_web_read_table));
    } finally {
      core.FS.unlink(file);
    }
    return this.#table();
  }

  // Bytes the module's allocator holds: for checking that calls leak nothing.
  heapInUse() {
    return this.#core._kestra_web_heap_in_use();
  }

  #begin(args) {
    this.#core._kestra_web_begin();
    for (const arg of args) this.#withText(arg, this.#core._kestra_web_add_arg);
  }

  #withText(text, use) {
    const core = this.#core;
    const size = core.lengthBytesUTF8(text) + 1;
    const pointer = core._malloc(size);
    try {
      core.stringToUTF8(text, pointer, size);
      return use(pointer);
    } finally {
      core._free(pointer);
    }
  }

  #setValues(values) {
    if (values === undefined) return;
    const {rows, cols} = rowsOf(values);
    const core = this.#core;
    const pointer = core._malloc(Math.max(1, rows * cols) * 8);
    try {
      const cells = new Float64Array(core.HEAPU8.buffer, pointer, rows * cols);
      values.forEach((row, r) => row.forEach((value, c) => {
        cells[r * cols + c] = value === null ? NaN : Number(value);
      }));
      core._kestra_web_set_values(rows, cols, pointer);
    } finally {
      core._free(pointer);
    }
  }

  #warnings() {
    const core = this.#core;
    const lines = [];
    for (let i = 0; i < core._kestra_web_warning_count(); ++i) {
      lines.push(core.UTF8ToString(core._kestra_web_warning(i)));
    }
    return lines;
  }

  // Throws for a failed call: a TypeError for options the command line
  // would refuse, else an Error with the status.
  #check(status) {
    if (status === 0) return;
    const message = this.#core.UTF8ToString(this.#core._kestra_web_message());
    const error = status === USAGE_FAILURE ? new TypeError(message) : new Error(message);
    if (status !== USAGE_FAILURE) error.status = status;
    error.warnings = this.#warnings();
    throw error;
  }

  #picture(status) {
    this.#check(status);
    const core = this.#core;
    const width = core._kestra_web_width();
    const height = core._kestra_web_height();
    const start = core._kestra_web_pixels();
    // The one copy out of the module's memory: the caller owns the result.
    const data = new Uint8ClampedArray(core.HEAPU8.subarray(start, start + width * height * 4));
    return {width, height, data, warnings: this.#warnings()};
  }

  #texts(kind, count) {
    const core = this.#core;
    const texts = [];
    for (let i = 0; count === undefined || i < count; ++i) {
      const pointer = core._kestra_web_table_text(kind, i);
      if (!pointer) break;
      texts.push(core.UTF8ToString(pointer));
    }
    return texts;
  }

  #table() {
    const core = this.#core;
    const rows = core._kestra_web_table_rows();
    const cols = core._kestra_web_table_cols();
    const start = core._kestra_web_table_values() / 8;
    const cells = core.HEAPF64.subarray(start, start + rows * cols);
    const values = Array.from({length: rows}, (_, r) => Array.from(cells.subarray(r * cols, (r + 1) * cols)));
    const flags = core._kestra_web_table_flags();
    return {
      values,
      names: this.#texts(TEXT_KIND.name, rows),
      labels: this.#texts(TEXT_KIND.label, cols),
      hasNames: (flags & 1) !== 0,
      hasLabels: (flags & 2) !== 0,
      title: this.#texts(TEXT_KIND.title, 1)[0] ?? '',
      notes: this.#texts(TEXT_KIND.note),
      warnings: this.#warnings(),
    };
  }
}

// Loads the module. Options: wasmUrl (default: kestra.wasm beside this
// file) or wasmBinary (the file's bytes, for hosts that have them already).
export async function createKestra({wasmUrl = './kestra.wasm', wasmBinary} = {}) {
  const bytes = wasmBinary ?? await wasmBytes(new URL(wasmUrl, import.meta.url));
  return new Kestra(await createKestraCore({wasmBinary: bytes}));
}

export default createKestra;
