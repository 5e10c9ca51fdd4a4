// The browser build's speed under Node: the 1920 x 1080 grouped-bar chart of
// bench_diagram (8 series over 50 categories, every text) drawn through the
// JavaScript API, reading the picture back as RGBA included. Given a native
// Release build's bench folder, it also runs bench_web_call there (the same
// C++ call with the same chart, natively, its picture copied into a new
// buffer as here) and bench_diagram's CreateDiag alone, alternating rounds
// of both sides, and prints the medians of wall-clock and CPU time (on a
// shared machine the CPU time is the steadier figure) and the ratios.
//   node bench/web_diagram_bench.mjs BUILD_WASM [NATIVE_BENCH_FOLDER]
import {execFileSync} from 'node:child_process';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';

const [web, native] = process.argv.slice(2);
const SERIES = 8;
const CATEGORIES = 50;
const RUNS = 20;

// Uniform in [0, 100) from a fixed seed; bench_web_call computes the same.
function values() {
  let state = 42;
  const next = () => {
    state = (state * 1103515245 + 12345) % 2147483648;
    return (state / 2147483648) * 100;
  };
  return Array.from({length: SERIES}, () => Array.from({length: CATEGORIES}, next));
}

const chart = {
  values: values(),
  names: Array.from({length: SERIES}, (_, r) => `Series ${r + 1}`),
  labels: Array.from({length: CATEGORIES}, (_, c) => `C${c + 1}`),
  colors: Array.from({length: SERIES}, (_, r) =>
    '#' + [40 + 25 * r, 200 - 20 * r, 60 + 15 * r].map((v) => v.toString(16).padStart(2, '0')).join('')),
  styles: Array.from({length: SERIES}, (_, r) => r % 7 + 1),
  captionX: 'Category', captionY: 'Value', divisions: 10, captionFont: 14, valueFont: 9,
  valueColor: 'black', width: 1920, height: 1080,
};

const ROUNDS = 3;

function median(times) {
  const sorted = [...times].sort((a, b) => a - b);
  return sorted[sorted.length >> 1];
}

// FNV-1a over the RGBA bytes, as bench_web_call computes it of its picture.
function pictureHash(data) {
  let hash = 2166136261;
  for (const byte of data) hash = Math.imul(hash ^ byte, 16777619) >>> 0;
  return hash;
}

// glibc keeping freed memory instead of handing it back to the kernel, as
// the module's heap does: no page faults for each call's new buffers.
const KEEP_MEMORY = {
  GLIBC_TUNABLES: 'glibc.malloc.mmap_threshold=268435456:glibc.malloc.trim_threshold=1073741824',
};
const CALL = 'WebDiagramCall1920x1080';

// One native benchmark's repetitions: [wall, cpu] in milliseconds each, and
// the last repetition's picture hash.
function nativeRuns(program, filter, env = {}) {
  const args = [`--benchmark_filter=${filter}`, `--benchmark_repetitions=${RUNS}`,
    '--benchmark_min_time=0.1', '--benchmark_format=json'];
  const json = execFileSync(program, args,
    {encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'], env: {...process.env, ...env}});
  const runs = JSON.parse(json).benchmarks.filter((run) => run.run_type === 'iteration');
  return {times: runs.map((run) => [run.real_time, run.cpu_time]), hash: runs.at(-1).picture_hash};
}

// [wall, cpu] in milliseconds of one call.
function timeCall(kestra) {
  const start = process.hrtime.bigint();
  const startCpu = process.cpuUsage();
  kestra.diagram(chart);
  const used = process.cpuUsage(startCpu);
  return [Number(process.hrtime.bigint() - start) / 1e6, (used.user + used.system) / 1e3];
}

const {createKestra} = await import(pathToFileURL(join(web, 'kestra.mjs')).href);
const kestra = await createKestra();
const sides = {browser: [], call: [], keptMemory: [], createDiag: []};
let nativeHash;
for (let round = 0; round < ROUNDS; ++round) {
  kestra.diagram(chart);  // warm-up: fonts, glyphs, memory, compiled code
  for (let i = 0; i < RUNS; ++i) sides.browser.push(timeCall(kestra));
  if (!native) continue;
  const call = nativeRuns(join(native, 'bench_web_call'), CALL);
  sides.call.push(...call.times);
  nativeHash = call.hash;
  sides.keptMemory.push(...nativeRuns(join(native, 'bench_web_call'), CALL, KEEP_MEMORY).times);
  sides.createDiag.push(...nativeRuns(join(native, 'bench_diagram'), 'GroupedBars1920x1080$').times);
}
const medians = (times) => [median(times.map((t) => t[0])), median(times.map((t) => t[1]))];
const show = ([w, c]) => `${w.toFixed(2)} ms wall, ${c.toFixed(2)} ms CPU`;
const browser = medians(sides.browser);
console.log(`browser build (Node ${process.version}), kestra.diagram(): ${show(browser)}, ` +
  `median of ${sides.browser.length} calls in ${ROUNDS} rounds`);
if (native) {
  const ratio = ([w, c]) => `${(browser[0] / w).toFixed(2)} wall, ${(browser[1] / c).toFixed(2)} CPU`;
  for (const [name, times] of [['native bench_web_call, the same call', sides.call],
    ['native bench_web_call, glibc keeping freed memory', sides.keptMemory],
    ['native bench_diagram, CreateDiag alone, no read-back', sides.createDiag]]) {
    const reference = medians(times);
    console.log(`${name}: ${show(reference)}, median of ${times.length} repetitions; ` +
      `browser build / this: ${ratio(reference)}`);
  }
  const same = nativeHash === pictureHash(kestra.diagram(chart).data);
  console.log(`same picture on both sides: ${same ? 'yes' : 'NO'} (target: at most 3 times the same call)`);
}
