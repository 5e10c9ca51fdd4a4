// The browser build's speed under Node: the 1920 x 1080 grouped-bar chart of
// bench_diagram (8 series over 50 categories, every text) drawn through the
// JavaScript API, reading the picture back as RGBA included. Prints the
// medians of wall-clock and CPU time (on a shared machine the CPU time is the
// steadier figure) and, given bench_diagram of a native Release build, its
// medians and the ratios.
//   node bench/web_diagram_bench.mjs BUILD_WASM [BENCH_DIAGRAM]
import {execFileSync} from 'node:child_process';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';

const [web, native] = process.argv.slice(2);
const SERIES = 8;
const CATEGORIES = 50;
const RUNS = 20;

// The same kind of values as the native chart: uniform in [0, 100), fixed seed.
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

function median(times) {
  const sorted = [...times].sort((a, b) => a - b);
  return sorted[sorted.length >> 1];
}

// [wall, cpu] medians in milliseconds.
function nativeMedians() {
  const csv = execFileSync(native, ['--benchmark_filter=GroupedBars', `--benchmark_repetitions=${RUNS}`,
    '--benchmark_report_aggregates_only=true', '--benchmark_format=csv'], {encoding: 'utf8'});
  const line = csv.split('\n').find((row) => row.includes('_median'));
  return line.split(',').slice(2, 4).map(Number);
}

const {createKestra} = await import(pathToFileURL(join(web, 'kestra.mjs')).href);
const kestra = await createKestra();
kestra.diagram(chart);  // warm-up: fonts, glyphs, memory
const wall = [];
const cpu = [];
for (let i = 0; i < RUNS; ++i) {
  const start = process.hrtime.bigint();
  const startCpu = process.cpuUsage();
  kestra.diagram(chart);
  const used = process.cpuUsage(startCpu);
  cpu.push((used.user + used.system) / 1e3);
  wall.push(Number(process.hrtime.bigint() - start) / 1e6);
}
const wasm = [median(wall), median(cpu)];
const show = ([w, c]) => `${w.toFixed(2)} ms wall, ${c.toFixed(2)} ms CPU`;
console.log(`browser build (Node ${process.version}): ${show(wasm)}, medians of ${RUNS}`);
if (native) {
  const reference = nativeMedians();
  console.log(`native bench_diagram: ${show(reference)}, medians of ${RUNS}`);
  console.log(`ratio: ${(wasm[0] / reference[0]).toFixed(2)} wall, ${(wasm[1] / reference[1]).toFixed(2)} CPU ` +
    '(target: at most 3)');
}
