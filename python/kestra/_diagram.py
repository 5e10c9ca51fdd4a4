"""kestra.diagram: a table of numbers drawn as bars or lines."""

import sys

import numpy as np

from . import _kestra
from ._errors import check
from ._look import (BAR_FILLS, LINE_STYLES, SERIES_COLORS, colorref, encode_text,
                    is_single_color, is_whole, per_series, picture_rect, style_code, whole)
from ._picture import Picture

_KINDS = {"bars": _kestra.KIND_BARS, "lines": _kestra.KIND_LINES,
          "markers": _kestra.KIND_LINES_MARKERS}

# Bits of the display record's option word.
_BACKGROUND, _FRAME, _AXIS_X, _AXIS_Y, _ARROWS = 0x001, 0x002, 0x004, 0x008, 0x010
_LEGEND, _GRID, _CAPTIONS, _CATEGORY_LABELS, _VALUE_LABELS = 0x020, 0x040, 0x080, 0x100, 0x200

_NAME_BYTES, _CAPTION_BYTES, _LABEL_BYTES = 39, 19, 255
_UINT16 = 65535


def diagram(values, kind="bars", size=(640, 400), labels=None, names=None, colors=None,
            caption_x="", caption_y="", legend=True, grid=True, *,
            styles=None, widths=None, background="white", frame=True, axes=True,
            arrows=True, captions=True, category_labels=True, value_labels=True,
            bar_values=True, divisions=5, decimals=1, font_height=14, text_color="black",
            axis_color="black", frame_color="black", grid_color=None, grid_style="dotted",
            grid_vertical=False, bar_value_color="black", bar_value_font_height=10,
            legend_font_height=10, base_value=0.0, margin_bottom=40, margin_left=20,
            series=None):
    """Draws a diagram of a table of numbers; returns a Picture (a numpy
    array of shape (height, width, 3), dtype uint8, RGB).

    values: a 2-D array-like whose rows are the series and columns the
        categories (a 1-D one is one series), or a pandas DataFrame taken as
        df.plot.bar() takes it: each numeric column is a series named by its
        label, the index gives the category labels. A pandas Series is one
        series. NaN draws nothing.
    kind: "bars" (grouped bars), "lines" or "markers" (lines with a square
        at every value).
    size: (width, height) in pixels.
    labels: one text per category; default the DataFrame's index, else
        "A", "B", ... Cut to 255 bytes.
    names: one text per series, shown in the legend; default the DataFrame's
        column labels, else "1", "2", ... Cut to 39 bytes.
    colors: one colour, or a list taken in turn ("#rrggbb", "#rgb", a common
        name, or (r, g, b) with 0 to 255); default matplotlib's colour cycle.
    caption_x, caption_y: captions of the category and value axes (19 bytes).
    legend, grid: draw the legend box, the horizontal grid lines.
    styles: per series, one value or a list: bar fills "solid", "/", "\\\\",
        "+", "x", "|" (or the codes 1 to 7); line styles "-", ":", "--",
        "-.", "-.." (or 1 to 5). Default solid.
    widths: per series, the line width in pixels (default 1).
    background: the picture's colour, or None for no fill (black).
    frame, axes, arrows: the frame 2 pixels inside the edge, both axes,
        arrow heads on the axes.
    captions: the axis captions; also needed by category_labels and
        value_labels (texts under the category axis, scale beside the value
        axis).
    bar_values: print each bar's value inside the bar.
    divisions: parts of the value scale (grid lines and value labels).
    decimals: digits after the point of every printed number.
    font_height, text_color: captions and labels; the legend's texts take
        text_color and legend_font_height.
    axis_color, frame_color: also the legend's outline; grid_color: default
        axis_color. grid_style as for line styles; grid_vertical adds lines at
        the category boundaries.
    bar_value_color, bar_value_font_height: the values printed in bars.
    base_value: the value on the category axis.
    margin_bottom, margin_left: room below the axis and left of it.
    series: "rows" or "cols" turns the default way: a DataFrame's series
        are its columns, an array's its rows (as `kestra diag --values`).
        kestra.read_table gives a DataFrame of column series already.

    The defaults are those of the library's ReturnDiagDisp and
    ReturnGraphElem builders. Raises kestra.Error when the library refuses
    the table or the picture (for example fewer than 2 categories: status
    1009), ValueError for arguments it cannot express.
    """
    table, table_names, table_labels = _table_of(values, series)
    rows, cols = table.shape
    if kind not in _KINDS:
        raise ValueError(f"kind must be one of {sorted(_KINDS)}, not {kind!r}")
    style_table = BAR_FILLS if kind == "bars" else LINE_STYLES

    names = _texts(names if names is not None else table_names, rows, "names", "series",
                   lambda i: str(i + 1))
    labels = _texts(labels if labels is not None else table_labels, cols, "labels",
                    "categories", _column_letters)
    elements = _series_elements(names, colors, styles, widths, style_table)
    flags = _flag_word(background is not None, frame, axes, arrows, legend, grid, captions,
                       category_labels, value_labels)
    disp = _kestra.ReturnDiagDisp(
        picture=picture_rect(size),
        back_color=colorref("white" if background is None else background, "background"),
        frame_color=colorref(frame_color, "frame_color"),
        axis_color=colorref(axis_color, "axis_color"),
        divisions=whole(divisions, "divisions", 0, _UINT16),
        text_color=colorref(text_color, "text_color"),
        caption_font_height=whole(font_height, "font_height", 0, _UINT16),
        bar_value_color=colorref(bar_value_color, "bar_value_color"),
        bar_value_font_height=whole(bar_value_font_height, "bar_value_font_height", 0, _UINT16),
        caption_x=encode_text(caption_x, _CAPTION_BYTES),
        caption_y=encode_text(caption_y, _CAPTION_BYTES),
        legend_entries=min(rows, _UINT16), decimals=whole(decimals, "decimals", 0, 255),
        flags=flags)
    disp.marginBottom = whole(margin_bottom, "margin_bottom", 0, _UINT16)
    disp.marginLeft = whole(margin_left, "margin_left", 0, _UINT16)
    disp.baseValue = float(base_value)
    disp.showBarValues = int(bool(bar_values))
    if legend:
        disp.legendFontHeight = whole(legend_font_height, "legend_font_height", 0, _UINT16)
    if grid:
        disp.gridStyle = whole(style_code(grid_style, LINE_STYLES, "grid_style"), "grid_style",
                               0, _UINT16)
        disp.gridVertical = int(bool(grid_vertical))
        if grid_color is not None:
            disp.gridColor = colorref(grid_color, "grid_color")

    label_buffer = b"".join(encode_text(label, _LABEL_BYTES) + b"\0" for label in labels)
    picture = check(_kestra.CreateDiag(table, disp, elements, label_buffer, _KINDS[kind]))
    picture = picture.view(Picture)
    # A copy: the caller's array may change after the call.
    picture._drawing = (_kestra.DrawDiagramFile,
                        (table.copy(), disp, elements, label_buffer, _KINDS[kind]))
    return picture


def _series_elements(names, colors, styles, widths, style_table):
    """One GraphElem per series name, the other lists taken in turn."""
    rows = len(names)
    colors = per_series(SERIES_COLORS if colors is None else colors, rows,
                        lambda c: colorref(c, "series colour"), is_single_color)
    styles = per_series(1 if styles is None else styles, rows,
                        lambda s: style_code(s, style_table, "style"),
                        lambda s: isinstance(s, str) or is_whole(s))
    widths = per_series(1 if widths is None else widths, rows,
                        lambda w: whole(w, "width", 0, 255), is_whole)
    elements = []
    for color, style, width, name in zip(colors, styles, widths, names):
        element = _kestra.ReturnGraphElem(color, style, encode_text(name, _NAME_BYTES))
        element.width = width
        elements.append(element)
    return elements


def _flag_word(background, frame, axes, arrows, legend, grid, captions, category_labels,
               value_labels):
    bits = ((background, _BACKGROUND), (frame, _FRAME), (axes, _AXIS_X | _AXIS_Y),
            (arrows, _ARROWS), (legend, _LEGEND), (grid, _GRID), (captions, _CAPTIONS),
            (category_labels, _CATEGORY_LABELS), (value_labels, _VALUE_LABELS))
    return sum(bit for wanted, bit in bits if wanted)


def _table_of(values, series):
    """(series x categories float array, series names or None, category
    labels or None)."""
    if series not in (None, "rows", "cols"):
        raise ValueError(f"series must be 'rows' or 'cols', not {series!r}")
    pandas = sys.modules.get("pandas")
    if pandas is not None and isinstance(values, pandas.DataFrame):
        numeric = values.select_dtypes(include="number")
        if numeric.shape[1] == 0 and values.shape[1] > 0:
            raise ValueError("the DataFrame has no numeric column to draw")
        table = numeric.to_numpy(dtype=float, na_value=np.nan)
        if series == "rows":
            return table, _label_texts(numeric.index), list(numeric.columns)
        return table.T, list(numeric.columns), _label_texts(numeric.index)
    if pandas is not None and isinstance(values, pandas.Series):
        table = values.to_numpy(dtype=float, na_value=np.nan)[np.newaxis, :]
        name = [values.name] if values.name is not None else None
        return table, name, list(values.index)
    table = np.asarray(values, dtype=float)
    if table.ndim == 1:
        table = table[np.newaxis, :]
    if table.ndim != 2:
        raise ValueError(f"values must be 1-D or 2-D, not {table.ndim}-D")
    return (table.T if series == "cols" else table), None, None


def _label_texts(index):
    """An index's entries as texts; dates as ISO dates, with the time only
    where one of them has one."""
    pandas = sys.modules["pandas"]
    if isinstance(index, pandas.DatetimeIndex):
        with_time = bool((index != index.normalize()).any())
        return list(index.strftime("%Y-%m-%d %H:%M:%S" if with_time else "%Y-%m-%d"))
    return list(index)


def _texts(texts, count, argument, what, default):
    if texts is None:
        return [default(i) for i in range(count)]
    if isinstance(texts, str):
        raise ValueError(f"{argument} must be a list of texts, not one text")
    texts = list(texts)
    if len(texts) != count:
        raise ValueError(f"{argument}: {len(texts)} given for {count} {what}")
    return texts


def _column_letters(index):
    """The spreadsheet name of column `index` from 0: A, B, ..., Z, AA, ..."""
    letters = ""
    index += 1
    while index:
        index, rest = divmod(index - 1, 26)
        letters = chr(ord("A") + rest) + letters
    return letters
