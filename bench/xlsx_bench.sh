#!/usr/bin/env bash
# Times the range reader against its inflate floor, openpyxl (read-only mode)
# and SheetJS (the npm "xlsx" package, run by node) on the same workbook:
# 1000 x 100 ranges (A1:CV1000, B2001:CW3000) of the two 5,000 x 120
# worksheets written by bench_xlsx (numbers; numbers and shared strings).
#   bench/xlsx_bench.sh [BUILD_DIR]   (default build-release, configured with
#   -DCMAKE_BUILD_TYPE=Release -DKESTRA_BUILD_BENCH=ON)
# SheetJS is a baseline only: it is installed with npm into $SHEETJS_DIR
# (default /tmp/sheetjs), outside the repository, when missing there.
set -euo pipefail
build=${1:-build-release}
export KESTRA_XLSX_BENCH_FILE=${KESTRA_XLSX_BENCH_FILE:-/tmp/kestra-xlsx-bench.xlsx}
sheetjs=${SHEETJS_DIR:-/tmp/sheetjs}
results=$(mktemp)
trap 'rm -f "$results"' EXIT

"$build/bench/bench_xlsx" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json

/usr/bin/python3 - "$KESTRA_XLSX_BENCH_FILE" <<'PY' >>"$results.others"
import sys, time
import openpyxl

def read_range(path, sheet, first_row, first_col):
    book = openpyxl.load_workbook(path, read_only=True, data_only=True)
    values = []
    for row in book[sheet].iter_rows(min_row=first_row, max_row=first_row + 999,
                                     min_col=first_col, max_col=first_col + 99, values_only=True):
        for v in row:
            values.append(float(v.replace(',', '.')) if isinstance(v, str) else (v or 0.0))
    book.close()
    return values

for sheet in ("Numbers", "Strings"):
    for name, first_row, first_col in (("A1:CV1000", 1, 1), ("B2001:CW3000", 2001, 2)):
        best = float('inf')
        for _ in range(3):
            start = time.perf_counter()
            values = read_range(sys.argv[1], sheet, first_row, first_col)
            best = min(best, time.perf_counter() - start)
        assert len(values) == 100000
        print(f"openpyxl {sheet}!{name} {best * 1000:.1f}")
PY

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "node or npm missing: SheetJS not timed" >&2
else
[[ -d "$sheetjs/node_modules/xlsx" ]] || npm install --prefix "$sheetjs" --no-audit --no-fund xlsx >&2
node - "$KESTRA_XLSX_BENCH_FILE" "$sheetjs/node_modules/xlsx" <<'JS' >>"$results.others"
const XLSX = require(process.argv[3]);
for (const sheet of ["Numbers", "Strings"]) {
  for (const [name, firstRow, firstCol] of [["A1:CV1000", 0, 0], ["B2001:CW3000", 2000, 1]]) {
    let best = Infinity;
    for (let i = 0; i < 3; ++i) {
      const start = process.hrtime.bigint();
      const book = XLSX.readFile(process.argv[2], {sheets: [sheet], sheetRows: firstRow + 1000,
                                                   cellHTML: false, cellText: false});
      const cells = book.Sheets[sheet];
      const values = [];
      for (let r = firstRow; r < firstRow + 1000; ++r) {
        for (let c = firstCol; c < firstCol + 100; ++c) {
          const cell = cells[XLSX.utils.encode_cell({r, c})];
          values.push(!cell ? 0 : typeof cell.v === "string" ? parseFloat(cell.v.replace(",", ".")) : cell.v);
        }
      }
      if (values.length !== 100000) throw new Error("wrong count");
      best = Math.min(best, Number(process.hrtime.bigint() - start) / 1e6);
    }
    console.log(`SheetJS ${sheet}!${name} ${best.toFixed(1)}`);
  }
}
JS
fi

/usr/bin/python3 - "$results" "$results.others" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
def median(kind, label):
    for run in runs:
        if run["name"].startswith(kind + "/") and run.get("aggregate_name") == "median" \
                and run.get("label") == label:
            return run["real_time"], run["cpu_time"]
others = {}
for line in open(sys.argv[2]):
    tool, label, ms = line.split()
    others[(tool, label)] = float(ms)
print("\nmedian of 5, ms (real / cpu)    floor          read           CreateDiagXLS  cpu ratio to floor")
for label in ("Numbers!A1:CV1000", "Numbers!B2001:CW3000", "Strings!A1:CV1000", "Strings!B2001:CW3000"):
    floor, read, draw = (median(k, label) for k in ("BM_Floor", "BM_ReadExcelRange", "BM_CreateDiagXLS"))
    print(f"{label:22} {floor[0]:6.1f} /{floor[1]:6.1f} {read[0]:6.1f} /{read[1]:6.1f} "
          f"{draw[0]:6.1f} /{draw[1]:6.1f}   read {read[1] / floor[1]:.2f}x, CreateDiagXLS {draw[1] / floor[1]:.2f}x")
    for tool in ("openpyxl", "SheetJS"):
        if (tool, label) not in others:
            continue
        ms = others[(tool, label)]
        print(f"  {tool:9} best of 3 {ms:7.1f} ms: {ms / read[0]:5.1f}x the read's real time")
PY
rm -f "$results.others"
