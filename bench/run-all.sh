#!/usr/bin/env bash
# Every Google Benchmark program of two builds, run alternately in one go,
# and a before/after table of the medians.
#   bench/run-all.sh BEFORE_BUILD AFTER_BUILD [PROGRAM_REGEX]
# Each build folder holds bench/bench_* (a Release build with
# -DKESTRA_BUILD_BENCH=ON). ROUNDS (default 3) rounds each run every
# program of the before build, then of the after build, one repetition per
# run, so load that comes and goes hits both alike. The table gives each
# benchmark's median over the rounds: CPU time, or wall time for those that
# measure it (their names end in /real_time), and after / before.
set -euo pipefail

if [[ $# -lt 2 ]]; then
  echo "usage: $0 BEFORE_BUILD AFTER_BUILD [PROGRAM_REGEX]" >&2
  exit 2
fi
before=$1
after=$2
only=${3:-.}
rounds=${ROUNDS:-3}
for build in "$before" "$after"; do
  [[ -d $build/bench ]] || { echo "$0: no bench folder in $build" >&2; exit 2; }
done

programs=()
for program in "$after"/bench/bench_*; do
  name=$(basename "$program")
  [[ -x $program && -x $before/bench/$name && $name =~ $only ]] && programs+=("$name")
done
if [[ ${#programs[@]} -eq 0 ]]; then
  echo "$0: no benchmark program in both builds" >&2
  exit 2
fi

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
for round in $(seq "$rounds"); do
  for name in "${programs[@]}"; do
    for side in before after; do
      build=$before
      [[ $side == after ]] && build=$after
      echo "round $round/$rounds: $side $name" >&2
      if ! "$build/bench/$name" --benchmark_format=json \
          --benchmark_out="$results/$side.$name.$round.json" --benchmark_out_format=json \
          >/dev/null 2>"$results/$side.$name.$round.log"; then
        echo "$0: $side $name failed, see below" >&2
        cat "$results/$side.$name.$round.log" >&2
      fi
    done
  done
done

python3 - "$results" <<'EOF'
import glob, json, os, statistics, sys

results = sys.argv[1]
times = {}   # (program, benchmark) -> side -> [time]
units = {}
order = []
for path in sorted(glob.glob(os.path.join(results, "*.json"))):
    side, program = os.path.basename(path).split(".")[:2]
    try:
        with open(path) as file:
            runs = json.load(file)["benchmarks"]
    except (OSError, ValueError, KeyError):
        continue
    for run in runs:
        key = (program, run["name"])
        if key not in times:
            times[key] = {"before": [], "after": []}
            order.append(key)
        if run.get("error_occurred"):
            continue
        wall = run["name"].endswith("/real_time") or "/real_time/" in run["name"]
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run.get("time_unit", "ns")]
        times[key][side].append(run["real_time" if wall else "cpu_time"] * scale)
        units[key] = "wall ms" if wall else "cpu ms"

def cell(values):
    return f"{statistics.median(values):.4g}" if values else "-"

rows = [("benchmark", "unit", "before", "after", "after/before")]
for key in sorted(order, key=lambda k: (k[0], order.index(k))):
    before, after = times[key]["before"], times[key]["after"]
    ratio = (f"{statistics.median(after) / statistics.median(before):.2f}"
             if before and after and statistics.median(before) > 0 else "-")
    rows.append((f"{key[0]}: {key[1]}", units.get(key, "-"), cell(before), cell(after), ratio))
widths = [max(len(row[i]) for row in rows) for i in range(5)]
for row in rows:
    print("  ".join(text.ljust(widths[0]) if i == 0 else text.rjust(widths[i])
                    for i, text in enumerate(row)))
EOF
