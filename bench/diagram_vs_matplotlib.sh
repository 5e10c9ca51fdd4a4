#!/usr/bin/env bash
# Times the grouped-bar benchmark chart (1920 x 1080, 8 series x 50
# categories, bar values, value and category labels, captions, legend) drawn
# by CreateDiag and by matplotlib's Agg backend, and prints both medians and
# their ratio. Usage: bench/diagram_vs_matplotlib.sh [build-dir]
# Debian's python3-matplotlib runs under /usr/bin/python3.
# The build dir must be configured with -DCMAKE_BUILD_TYPE=Release -DKESTRA_BUILD_BENCH=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
cmake --build "$build" --target bench_diagram >/dev/null

# Medians of wall-clock and CPU time: on a shared machine the CPU time is
# the steadier figure.
read -r kestra_wall kestra_cpu < <("$build/bench/bench_diagram" --benchmark_filter='GroupedBars1920x1080$' \
  --benchmark_repetitions=20 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null |
  awk -F, '/_median"?,/ { printf "%.3f %.3f\n", $3, $4 }')

read -r matplotlib_wall matplotlib_cpu < <(/usr/bin/python3 - <<'PY'
import io, random, statistics, time
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt

SERIES, CATEGORIES = 8, 50
random.seed(42)
values = [[random.uniform(0, 100) for _ in range(CATEGORIES)] for _ in range(SERIES)]
hatches = [None, "//", "+", "x", "\\\\", None, "|"]

def draw():
    fig = plt.figure(figsize=(19.2, 10.8), dpi=100)
    ax = fig.add_axes([0.02, 0.06, 0.9, 0.92])
    width = 1.0 / SERIES
    for r in range(SERIES):
        xs = [c + (r + 0.5) * width for c in range(CATEGORIES)]
        colour = ((40 + 25 * r) / 255, (200 - 20 * r) / 255, (60 + 15 * r) / 255)
        bars = ax.bar(xs, values[r], width * 0.9, color="none" if hatches[r % 7] else colour,
                      edgecolor=colour, hatch=hatches[r % 7], label=f"Series {r + 1}")
        ax.bar_label(bars, fmt="%.1f", label_type="center", fontsize=7)
    ax.set_xticks([c + 0.5 for c in range(CATEGORIES)], [f"C{c + 1}" for c in range(CATEGORIES)])
    ax.set_xlabel("Category")
    ax.set_ylabel("Value")
    ax.grid(axis="y", linestyle=":")
    ax.legend(loc="center left", bbox_to_anchor=(1.0, 0.5))
    fig.canvas.draw()
    pixels = fig.canvas.buffer_rgba()
    plt.close(fig)
    return pixels

draw()  # warm-up: font cache and imports
wall, cpu = [], []
for _ in range(10):
    start, start_cpu = time.perf_counter(), time.process_time()
    draw()
    wall.append((time.perf_counter() - start) * 1000)
    cpu.append((time.process_time() - start_cpu) * 1000)
print(f"{statistics.median(wall):.3f} {statistics.median(cpu):.3f}")
PY
)

printf '%-20s median wall %9s ms   cpu %9s ms\n' "kestra CreateDiag" "$kestra_wall" "$kestra_cpu" \
  "matplotlib (Agg)" "$matplotlib_wall" "$matplotlib_cpu"
awk -v kw="$kestra_wall" -v kc="$kestra_cpu" -v mw="$matplotlib_wall" -v mc="$matplotlib_cpu" \
  'BEGIN { printf "matplotlib / kestra: %.1fx wall, %.1fx cpu\n", mw / kw, mc / kc }'
