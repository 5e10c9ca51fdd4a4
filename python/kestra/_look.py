"""Pythonic arguments turned into record values: colours, styles, sizes, texts."""

import numbers
import re

# matplotlib's default colour cycle, in which pandas draws its series.
SERIES_COLORS = ("#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd",
                 "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf")

_NAMED_COLORS = {
    "black": (0, 0, 0), "white": (255, 255, 255), "red": (255, 0, 0),
    "green": (0, 128, 0), "blue": (0, 0, 255), "yellow": (255, 255, 0),
    "cyan": (0, 255, 255), "magenta": (255, 0, 255), "gray": (128, 128, 128),
    "grey": (128, 128, 128), "silver": (192, 192, 192), "maroon": (128, 0, 0),
    "olive": (128, 128, 0), "lime": (0, 255, 0), "teal": (0, 128, 128),
    "navy": (0, 0, 128), "purple": (128, 0, 128), "orange": (255, 165, 0),
    "brown": (165, 42, 42), "pink": (255, 192, 203),
}

# Pen style codes of series lines and the grid.
LINE_STYLES = {"solid": 1, "-": 1, "dotted": 2, ":": 2, "dashed": 3, "--": 3,
               "dashdot": 4, "-.": 4, "dashdotdot": 5, "-..": 5}
# Fill codes of bars; the hatch marks read as matplotlib's.
BAR_FILLS = {"solid": 1, "": 1, "bdiagonal": 2, "/": 2, "cross": 3, "+": 3,
             "diagcross": 4, "x": 4, "fdiagonal": 5, "\\": 5, "vertical": 7, "|": 7}



def colorref(color, what="colour"):
    """A GDI colour value (0x00BBGGRR) from "#rrggbb", "#rgb", a common
    colour name, or an (r, g, b) sequence of whole numbers 0 to 255."""
    rgb = _text_rgb(color) if isinstance(color, str) else _sequence_rgb(color)
    if rgb is None:
        raise ValueError(f"{what} {color!r} is not understood: use '#rrggbb', "
                         "a colour name or (r, g, b) with 0 to 255")
    red, green, blue = rgb
    return red | green << 8 | blue << 16


def _text_rgb(text):
    text = text.strip().lower()
    if text in _NAMED_COLORS:
        return _NAMED_COLORS[text]
    if re.fullmatch(r"#[0-9a-f]{6}", text):
        return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))
    if re.fullmatch(r"#[0-9a-f]{3}", text):
        return tuple(int(c * 2, 16) for c in text[1:])
    return None


def _sequence_rgb(color):
    try:
        parts = list(color)
    except TypeError:
        return None
    if len(parts) != 3 or not all(is_whole(p) and 0 <= p <= 255 for p in parts):
        return None
    return tuple(int(p) for p in parts)


def is_whole(value):
    # The exact type first: the ABC check is slow, and called per value.
    return type(value) is int or (isinstance(value, numbers.Integral)
                                  and not isinstance(value, bool))


def is_single_color(colors):
    """True when `colors` is one colour rather than a list of them."""
    return isinstance(colors, str) or _sequence_rgb(colors) is not None


def style_code(style, table, what):
    """A style code from a name of `table` or a whole number (32 bits)."""
    if is_whole(style) and -2**31 <= style < 2**31:
        return int(style)
    if isinstance(style, str) and style.lower() in table:
        return table[style.lower()]
    raise ValueError(f"{what} {style!r} is not one of {sorted(k for k in table if k)} "
                     "or a whole number")


def per_series(value, count, convert, single):
    """One converted value per series: `value` itself when `single(value)`,
    else its items repeated in turn."""
    items = [value] if single(value) else list(value)
    if not items:
        raise ValueError("an empty list gives no value to the series")
    return [convert(items[i % len(items)]) for i in range(count)]


def whole(value, what, low, high):
    """`value` as an int, checked to lie within low..high."""
    if not is_whole(value) or not low <= value <= high:
        raise ValueError(f"{what} must be a whole number from {low} to {high}, not {value!r}")
    return int(value)


def picture_rect(size):
    """The picture rectangle (0, 0, width, height) of a (width, height) pair."""
    try:
        width, height = size
    except (TypeError, ValueError):
        raise ValueError(f"size must be (width, height), not {size!r}") from None
    limit = 2**31 - 1
    return (0, 0, whole(width, "width", -limit, limit), whole(height, "height", -limit, limit))


def encode_text(text, limit):
    """`text` in UTF-8 without NULs (they end texts in the records), cut to
    `limit` bytes on a character boundary; None is no text. The binding
    draws in the library's UTF-8 text mode."""
    if text is None:
        return b""
    if type(text) is str and text.isascii() and "\0" not in text:
        return text[:limit].encode("ascii")
    if isinstance(text, tuple):
        text = ", ".join(str(part) for part in text)
    data = str(text).replace("\0", "").encode("utf-8", errors="replace")[:limit]
    return data.decode("utf-8", errors="ignore").encode("utf-8")
