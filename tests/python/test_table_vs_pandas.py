"""The table reader against pandas, cell for cell, on every CSV and xlsx
fixture: numbers equal, and a gap exactly where pandas holds NaN. pandas is
told what it cannot sniff (separator, comment lines, the row-name column);
dates are no values for either. Where pandas keeps a text that people read
as a number ("12%", "(5)", a Unicode minus, a decimal comma), the reader's
number is the one listed here."""

import pathlib

import numpy as np
import pandas
import pytest

import kestra

DATA = pathlib.Path(__file__).resolve().parents[1] / "data"

# How pandas reads each fixture as the reader does: keyword arguments.
PANDAS_READS = {
    "table/gnumeric_sales_source.csv": dict(index_col=0, thousands=","),
    "table/gnumeric_sales_semicolon.csv": dict(sep=";", index_col=0),
    "table/r_write_csv.csv": dict(index_col=0),
    "table/r_write_table.txt": dict(sep=r"\s+"),
    "table/r_comment_first.csv": dict(comment="#", index_col=0),
    "table/r_aligned_columns.dat": dict(sep=r"\s+", comment="#", header=None),
    "table/pandas_years.csv": dict(index_col=0),
    "table/gnumeric_cyrillic_source.csv": dict(index_col=0),
    "table/gnumeric_sales.xlsx": dict(index_col=0),
    "table/pandas_dates.xlsx": dict(index_col=0),
    "table/openpyxl_1900.xlsx": dict(index_col=0),
    "table/openpyxl_1904.xlsx": dict(index_col=0),
    "import/calc_saved.xlsx": dict(header=None),
}


def fixtures():
    found = sorted(str(p.relative_to(DATA)) for folder in ("table", "import")
                   for p in (DATA / folder).iterdir()
                   if p.suffix in (".csv", ".xlsx", ".txt", ".dat"))
    assert set(found) == set(PANDAS_READS), "every CSV/xlsx fixture needs a pandas reading"
    return found


def pandas_frame(name):
    path = DATA / name
    if path.suffix == ".xlsx":
        return pandas.read_excel(path, **PANDAS_READS[name])
    return pandas.read_csv(path, **PANDAS_READS[name])


PEOPLE_NUMBERS = {
    "1,234.50": 1234.5, "12%": 0.12, "-2.5%": -0.025, "100%": 1.0, "(5)": -5.0,
    "\u22123.25": -3.25, "1E\u221205": 1e-05, "\u22127": -7.0, "\u22120.025": -0.025,
    "\u22125": -5.0, "3,5": 3.5, "7,5": 7.5,
}


def number_of(cell):
    """What the reader must make of a cell pandas read: its number; for a
    text (in a column of mixed cells) the listed number, else the number
    pandas reads from it; NaN for no number, a date or a time."""
    if isinstance(cell, str):
        return PEOPLE_NUMBERS.get(cell, pandas.to_numeric(cell, errors="coerce"))
    if isinstance(cell, (bool, np.bool_)):
        return float(cell)
    if not isinstance(cell, (int, float, np.number)) or pandas.isna(cell):
        return np.nan
    return float(cell)


def numbers(frame):
    return np.array([[number_of(cell) for cell in row] for row in frame.itertuples(index=False)],
                    dtype=float).reshape(frame.shape)


@pytest.mark.parametrize("name", fixtures())
def test_the_reader_agrees_with_pandas_cell_for_cell(name):
    ours = kestra.read_table(DATA / name, series="cols")
    theirs = pandas_frame(name)
    assert ours.shape == theirs.shape, (ours, theirs)
    expected, got = numbers(theirs), ours.to_numpy(dtype=float)
    assert np.array_equal(np.isnan(expected), np.isnan(got)), (expected, got)
    assert np.allclose(expected[~np.isnan(expected)], got[~np.isnan(got)], rtol=0, atol=1e-12)
