#!/usr/bin/env python3
"""Speed of kestra.diagram on the benchmark chart: 1920 x 1080 grouped bars,
8 series over 50 categories, with bar values, value and category labels,
captions, grid and legend. It is timed against matplotlib's Agg backend
drawing the same chart, against the C call on the same records with the
picture read back (bench_diagram's ReadBackBars: CreateDiag, then GetDIBits
as 24-bit rows into a new buffer; the byte sums of both pictures are
compared), and two charts drawn on two threads against one after the other.
Python and the C program take turns for --rounds rounds; ratios are medians
over the rounds.

    PYTHONPATH=BUILD/python /usr/bin/python3 python/bench/diagram_bench.py \
        [--bench-diagram BUILD/bench/bench_diagram] [--repeat 20] [--rounds 5]

BUILD is a Release build with -DKESTRA_BUILD_BENCH=ON (for bench_diagram).
Medians of wall-clock and CPU time are printed; on a shared machine CPU time
is the steadier figure.
"""

import argparse
import json
import statistics
import subprocess
import threading
import time

import numpy as np

import kestra

SERIES, CATEGORIES, SIZE = 8, 50, (1920, 1080)
# Fill codes 1 to 7 in turn, as matplotlib hatches (None: solid).
HATCHES = [None, "//", "+", "x", "\\\\", None, "|"]


def chart_values(seed):
    """Values from 0 to 100; bench_diagram computes the same doubles."""
    cells = np.arange(SERIES * CATEGORIES).reshape(SERIES, CATEGORIES)
    return (seed + cells) * 7919 % 10007 / 100.07


def series_rgb(r):
    return (40 + 25 * r, 200 - 20 * r, 60 + 15 * r)


def draw_kestra(values):
    return kestra.diagram(
        values, size=SIZE, names=[f"Series {r + 1}" for r in range(SERIES)],
        labels=[f"C{c + 1}" for c in range(CATEGORIES)],
        colors=[series_rgb(r) for r in range(SERIES)],
        styles=[r % 7 + 1 for r in range(SERIES)], caption_x="Category", caption_y="Value",
        divisions=10, bar_value_font_height=9)


def draw_matplotlib(values):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    figure = plt.figure(figsize=(SIZE[0] / 100, SIZE[1] / 100), dpi=100)
    axes = figure.add_axes([0.02, 0.06, 0.9, 0.92])
    width = 1.0 / SERIES
    for r in range(SERIES):
        colour = tuple(c / 255 for c in series_rgb(r))
        hatch = HATCHES[r % 7]
        bars = axes.bar([c + (r + 0.5) * width for c in range(CATEGORIES)], values[r],
                        width * 0.9, color="none" if hatch else colour, edgecolor=colour,
                        hatch=hatch, label=f"Series {r + 1}")
        axes.bar_label(bars, fmt="%.1f", label_type="center", fontsize=7)
    axes.set_xticks([c + 0.5 for c in range(CATEGORIES)],
                    [f"C{c + 1}" for c in range(CATEGORIES)])
    axes.set_xlabel("Category")
    axes.set_ylabel("Value")
    axes.grid(axis="y", linestyle=":")
    axes.legend(loc="center left", bbox_to_anchor=(1.0, 0.5))
    figure.canvas.draw()
    pixels = np.asarray(figure.canvas.buffer_rgba())
    plt.close(figure)
    return pixels


def timings(work, repeat):
    """(wall ms, cpu ms) lists of `repeat` runs of work(), after one warm-up."""
    work()
    wall, cpu = [], []
    for _ in range(repeat):
        start, start_cpu = time.perf_counter(), time.process_time()
        work()
        wall.append((time.perf_counter() - start) * 1000)
        cpu.append((time.process_time() - start_cpu) * 1000)
    return wall, cpu


def medians(work, repeat):
    """(wall ms, cpu ms) medians of `repeat` runs of work(), after one warm-up."""
    wall, cpu = timings(work, repeat)
    return statistics.median(wall), statistics.median(cpu)


def c_call_medians(program, repeat):
    """bench_diagram's medians of drawing the chart of chart_values(42) and
    reading it back: {threads: (wall ms, cpu ms, items per second)}, and
    the byte sum of its picture."""
    output = subprocess.run(
        [program, "--benchmark_filter=ReadBackBars", f"--benchmark_repetitions={repeat}",
         "--benchmark_min_time=0.05", "--benchmark_report_aggregates_only=true",
         "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    found = {b["threads"]: b for b in json.loads(output)["benchmarks"]
             if b.get("aggregate_name") == "median"}
    figures = {threads: (b["real_time"], b["cpu_time"], b["items_per_second"])
               for threads, b in found.items()}
    return figures, int(found[1]["byte_sum"])


def in_two_threads(first, second):
    threads = [threading.Thread(target=draw_kestra, args=(values,))
               for values in (first, second)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()


def report(name, figures):
    print(f"{name:34s} median wall {figures[0]:9.2f} ms   cpu {figures[1]:9.2f} ms")


def python_round(first, second, repeat):
    """Medians (wall ms, cpu ms) of one chart, of two one after the other and
    of two on two threads."""
    return {"one": medians(lambda: draw_kestra(first), repeat),
            "serial": medians(lambda: (draw_kestra(first), draw_kestra(second)), repeat),
            "parallel": medians(lambda: in_two_threads(first, second), repeat)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bench-diagram", help="path of the bench_diagram program")
    parser.add_argument("--repeat", type=int, default=20)
    parser.add_argument("--rounds", type=int, default=5,
                        help="Python and C measured in turn this often; ratios are medians")
    args = parser.parse_args()

    first, second = chart_values(42), chart_values(43)
    rounds = []
    for _ in range(args.rounds if args.bench_diagram else 1):
        rounds.append(python_round(first, second, args.repeat))
        if args.bench_diagram:
            rounds[-1]["c"], rounds[-1]["byte_sum"] = c_call_medians(args.bench_diagram,
                                                                     args.repeat)

    def median_of(figure):
        return statistics.median(figure(r) for r in rounds)

    binding = median_of(lambda r: r["one"][0]), median_of(lambda r: r["one"][1])
    report("kestra.diagram", binding)
    if args.bench_diagram:
        c_call = median_of(lambda r: r["c"][1][0]), median_of(lambda r: r["c"][1][1])
        report("CreateDiag + GetDIBits (C++)", c_call)
        same = int(draw_kestra(first).sum(dtype=np.uint64)) == rounds[0]["byte_sum"]
        print(f"same picture (byte sums): {'yes' if same else 'NO'}")
        print(f"kestra.diagram / C call, median of {len(rounds)} rounds: "
              f"{median_of(lambda r: r['one'][0] / r['c'][1][0]):.2f}x wall, "
              f"{median_of(lambda r: r['one'][1] / r['c'][1][1]):.2f}x cpu")

    for name, key in (("two charts, one after the other", "serial"),
                      ("two charts on two threads", "parallel")):
        report(name, (median_of(lambda r: r[key][0]), median_of(lambda r: r[key][1])))
    print("two threads speed-up: "
          f"{median_of(lambda r: r['serial'][0] / r['parallel'][0]):.2f}x wall")
    if args.bench_diagram:
        print("C call on two threads: "
              f"{median_of(lambda r: r['c'][2][2] / r['c'][1][2]):.2f}x the rate on one")

    agg = medians(lambda: draw_matplotlib(first), max(3, args.repeat // 4))
    report("matplotlib (Agg)", agg)
    print(f"matplotlib / kestra.diagram: {agg[0] / binding[0]:.1f}x wall, "
          f"{agg[1] / binding[1]:.1f}x cpu")


if __name__ == "__main__":
    main()
