"""kestra.read_table: a table from an HTML, workbook or CSV file."""

import collections
import os
import re

from . import _kestra
from ._errors import Error

Table = collections.namedtuple("Table", "values names labels corner title notes")
Table.__doc__ = """A table read without pandas: values (a series x categories
array, NaN for a gap), names (one per series), labels (one per category),
corner (the top-left header cell, else ""), title (an HTML table's caption,
else "") and notes (what was cut, skipped or guessed).
kestra.diagram(t.values, names=t.names, labels=t.labels) draws it as the
command line draws the file."""

_HEADERS = ("auto", "none", "rows", "cols", "both")
_SERIES = ("auto", "rows", "cols")
_ISO_DATE = re.compile(r"\d{4}-\d{2}-\d{2}([ T]\d{2}:\d{2}(:\d{2})?)?$")


def read_table(path, sheet=1, range=None, header="auto", table=0, series="auto"):
    """Reads a table from an .html/.htm, .xlsx, .xls or .csv/.tsv/.txt file
    (the kind is also told from the content).

    sheet: the worksheet of a workbook, from 1.
    range: the cells to read, such as "B2:E5" (HTML and CSV tables too;
        corners in either order); None reads the used area.
    header: "auto" (a first row of texts is a header; so is a first column
        of texts, or of whole numbers rising under a text such as Year),
        "none", "rows" (the first row), "cols" (the first column) or "both".
    table: which data table of an HTML file, from 0.
    series: which way the file holds its series: "auto" (the columns when
        the table has more data rows than data columns, else the rows, as
        the command line and spreadsheet programs decide), "rows" or "cols".

    With pandas installed the result is a DataFrame whose columns are the
    series and whose index labels the categories, so kestra.diagram(df)
    draws what `kestra diag` draws of the file (and df.plot.bar() the same
    bars): for a file of column series that is the file's layout, as
    pandas.read_csv gives it; a file of row series comes turned. The index
    is named by the corner header and is a DatetimeIndex when every label
    is an ISO date. df.attrs holds "title", "notes" and "series" ("rows" or
    "cols": how the file held them). Without pandas it is a Table.

    Raises kestra.Error (with the reader's explanation, naming the file)
    when the file cannot be read as asked, or holds no numbers.
    """
    if header not in _HEADERS:
        raise ValueError(f"header must be one of {_HEADERS}, not {header!r}")
    if series not in _SERIES:
        raise ValueError(f"series must be one of {_SERIES}, not {series!r}")
    if isinstance(sheet, bool) or not isinstance(sheet, int):
        raise ValueError(f"sheet must be a whole number, not {sheet!r}")
    status, message, values, names, labels, corner, title, notes, turned = _kestra.read_table(
        os.fsencode(path), sheet, "" if range is None else str(range), int(table), header,
        series)
    if status != 0:
        raise Error(status, f"{os.fsdecode(path)}: {_text(message)}")
    names, labels, notes = ([_text(t) for t in texts] for texts in (names, labels, notes))
    result = Table(values, names, labels, _text(corner), _text(title), notes)
    return _as_frame(result, "cols" if turned else "rows") if _pandas() else result


def _text(data):
    return data.decode("utf-8", errors="replace")


def _pandas():
    try:
        import pandas
    except ImportError:
        return None
    return pandas


def _as_frame(table, series):
    pandas = _pandas()
    index = pandas.Index(table.labels, name=table.corner or None)
    if index.size and all(_ISO_DATE.match(label) for label in table.labels):
        index = pandas.DatetimeIndex(pandas.to_datetime(table.labels), name=index.name)
    frame = pandas.DataFrame(table.values.T, index=index, columns=table.names)
    frame.attrs["title"] = table.title
    frame.attrs["notes"] = table.notes
    frame.attrs["series"] = series
    return frame
