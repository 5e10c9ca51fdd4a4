"""kestra.read_table: a table from an HTML, workbook or CSV file."""

import collections
import os

from . import _kestra
from ._errors import Error

Table = collections.namedtuple("Table", "values names labels title notes")
Table.__doc__ = """A table read without pandas: values (a rows x columns
array, NaN for a gap), names (one per row), labels (one per column), title
(an HTML table's caption, else "") and notes (what was cut or skipped).
kestra.diagram(t.values, names=t.names, labels=t.labels) draws each row as a
series, as the command line does."""

_HEADERS = ("auto", "none", "rows", "cols", "both")


def read_table(path, sheet=1, range=None, header="auto", table=0):
    """Reads a table from an .html/.htm, .xlsx, .xls or .csv/.tsv/.txt file
    (the kind is also told from the content).

    sheet: the worksheet of a workbook, from 1.
    range: the cells to read, such as "B2:E5" (HTML and CSV tables too);
        None reads the used area.
    header: "auto" (a first row of texts gives the category labels, a first
        column of texts the series names), "none", "rows" (the first row),
        "cols" (the first column) or "both".
    table: which data table of an HTML file, from 0.

    With pandas installed the result is a DataFrame laid out as the file's
    table, as pandas.read_csv or read_html would give it: the row headers as
    index, the column headers as columns ("1", "2", ... and "A", "B", ...
    where the file has none), and df.attrs holding "title" and "notes".
    kestra.diagram(df) then draws each column as a series, as df.plot.bar()
    does; kestra.diagram(df.T) draws each row as a series, as the command
    line and CreateDiagXLS do. Without pandas it is a Table (values, names,
    labels, title, notes).

    Raises kestra.Error (with the reader's explanation) when the file cannot
    be read as asked.
    """
    if header not in _HEADERS:
        raise ValueError(f"header must be one of {_HEADERS}, not {header!r}")
    if isinstance(sheet, bool) or not isinstance(sheet, int):
        raise ValueError(f"sheet must be a whole number, not {sheet!r}")
    status, message, values, names, labels, title, notes = _kestra.read_table(
        os.fsencode(path), sheet, "" if range is None else str(range), int(table), header)
    if status != 0:
        raise Error(status, _text(message))
    names, labels, notes = ([_text(t) for t in texts] for texts in (names, labels, notes))
    result = Table(values, names, labels, _text(title), notes)
    return _as_frame(result) if _pandas() else result


def _text(data):
    return data.decode("utf-8", errors="replace")


def _pandas():
    try:
        import pandas
    except ImportError:
        return None
    return pandas


def _as_frame(table):
    frame = _pandas().DataFrame(table.values, index=table.names, columns=table.labels)
    frame.attrs["title"] = table.title
    frame.attrs["notes"] = table.notes
    return frame
