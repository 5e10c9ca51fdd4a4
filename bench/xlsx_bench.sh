#!/usr/bin/env bash
# Times the range reader against openpyxl (read-only mode) on the same
# workbook: 1000 x 100 ranges (A1:CV1000, B2001:CW3000) of a 5,000 x 120 .xlsx.
#   bench/xlsx_bench.sh [BUILD_DIR]   (default build-release, configured with
#   -DCMAKE_BUILD_TYPE=Release -DKESTRA_BUILD_BENCH=ON)
set -euo pipefail
build=${1:-build-release}
export KESTRA_XLSX_BENCH_FILE=${KESTRA_XLSX_BENCH_FILE:-/tmp/kestra-xlsx-bench.xlsx}

"$build/bench/bench_xlsx" --benchmark_format=console

/usr/bin/python3 - "$KESTRA_XLSX_BENCH_FILE" <<'PY'
import sys, time
import openpyxl

def read_range(path, first_row, first_col):
    book = openpyxl.load_workbook(path, read_only=True, data_only=True)
    sheet = book.worksheets[0]
    values = []
    for row in sheet.iter_rows(min_row=first_row, max_row=first_row + 999,
                               min_col=first_col, max_col=first_col + 99, values_only=True):
        for v in row:
            if isinstance(v, str):
                v = float(v.replace(',', '.'))
            values.append(v or 0.0)
    book.close()
    return values

for name, first_row, first_col in (("A1:CV1000", 1, 1), ("B2001:CW3000", 2001, 2)):
    best = float('inf')
    for _ in range(5):
        start = time.perf_counter()
        values = read_range(sys.argv[1], first_row, first_col)
        best = min(best, time.perf_counter() - start)
    assert len(values) == 100000
    print(f"openpyxl {openpyxl.__version__} read-only, {name}: best of 5 {best * 1000:.1f} ms")
PY
