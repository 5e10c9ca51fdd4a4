#!/usr/bin/env python3
"""Renders kestra's gallery diagrams from one pandas DataFrame: grouped bars,
lines, lines with markers, every bar fill, and a function plot.

    PYTHONPATH=build/python /usr/bin/python3 examples/python/gallery.py OUT_DIR
"""

import pathlib
import sys

import pandas as pd

import kestra


def sales():
    """Quarterly sales per region: the columns are the series."""
    return pd.DataFrame({"North": [12.5, 17.0, 9.5, 21.0],
                         "South": [8.0, 11.5, 14.0, 16.5],
                         "East": [5.5, 7.0, 10.0, 12.0],
                         "West": [9.0, 6.5, 12.5, 15.0]},
                        index=pd.Index(["Q1", "Q2", "Q3", "Q4"], name="Quarter"))


def gallery(df):
    """(file name, picture) of each gallery entry."""
    look = dict(caption_x=df.index.name, caption_y="Sales, kEUR")
    fills = ["solid", "/", "+", "x", "\\", "|"]
    fill_table = pd.DataFrame({fill or "solid": [3.0, 5.0] for fill in fills},
                              index=["before", "after"])
    return [
        ("bars.png", kestra.diagram(df, **look)),
        ("lines.png", kestra.diagram(df, kind="lines", widths=2, **look)),
        ("markers.png", kestra.diagram(df, kind="markers", styles=["-", ":", "--", "-."], **look)),
        ("fills.png", kestra.diagram(fill_table, styles=fills, size=(800, 400),
                                     caption_x="bar fills", bar_values=False)),
        ("plot.png", kestra.plot("y=sin(x)*2", caption_x="x", caption_y="y")),
    ]


def main(out_dir):
    out = pathlib.Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    for name, picture in gallery(sales()):
        kestra.save(picture, out / name)
        print(out / name)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    main(sys.argv[1])
