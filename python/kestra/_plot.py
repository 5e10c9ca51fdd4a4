"""kestra.plot: the picture of a function given as text."""

import re

from . import _kestra
from ._errors import check
from ._look import colorref, encode_text, picture_rect, whole
from ._picture import Picture

# Bits of the plot record's option word.
_BACKGROUND, _FRAME, _AXIS_X, _AXIS_Y = 0x01, 0x02, 0x04, 0x08
_ARROWS, _ARGUMENT_ON_Y, _ZERO = 0x10, 0x20, 0x40

_CAPTION_BYTES = 19
_BAD_EXPRESSION = 1006


def plot(expression, x=(-10, 10), y=(-3, 3), step=None, size=(640, 480), *,
         arguments=None, argument_axis=None, color="#1f77b4", background="white",
         frame=True, axes=True, arrows=True, zero=True, caption_x="", caption_y="",
         font_height=14, text_color="black", axis_color="black", frame_color="black"):
    """Plots a function given as text, one point per sample; returns a
    Picture (a numpy array of shape (height, width, 3), dtype uint8, RGB).

    expression: "y=..." in x, or "x=..." in y, with + - * / ( ), a leading
        sign, pi, e, sin(a), cos(a), tg(a), abs(a), pow(a)(b), log(a)(b).
    x, y: (low, high) of the horizontal and vertical scales; high below low
        mirrors a scale.
    step: the argument's increment between samples; None keeps the
        builder's 0.01.
    size: (width, height) in pixels.
    arguments: (first, last) argument sampled; default the scale the
        argument lies on, from its low to its high end.
    argument_axis: "x" or "y", the scale of the argument; default from the
        expression: "y=..." samples x, "x=..." samples y.
    color: the points' colour ("#rrggbb", "#rgb", a common name or
        (r, g, b)); background: the picture's colour, or None for no fill.
    frame, axes, arrows, zero: the frame 2 pixels inside the edge, the axes
        through 0, arrow heads at their top and right ends, a "0" at the
        origin.
    caption_x, caption_y: the axes' captions (19 bytes), in font_height and
        text_color (font_height 1 to 99).

    The defaults are those of the library's ReturnOptionRect builder. Raises
    kestra.Error when the library refuses: 1006 for an expression it cannot
    read (the message says why, and marks where), 1007 for the font height,
    1015 when sampling would not end (a step that is not positive, or more
    than 10^8 samples).
    """
    if not isinstance(expression, str):
        raise TypeError(f"expression must be a str, not {type(expression).__name__}")
    x_low, x_high = _range(x, "x")
    y_low, y_high = _range(y, "y")
    on_y = _argument_on_y(expression, argument_axis)
    first, last = _range(arguments, "arguments") if arguments is not None else (
        sorted((y_low, y_high)) if on_y else sorted((x_low, x_high)))
    flags = sum(bit for wanted, bit in (
        (background is not None, _BACKGROUND), (frame, _FRAME), (axes, _AXIS_X | _AXIS_Y),
        (arrows, _ARROWS), (on_y, _ARGUMENT_ON_Y), (zero, _ZERO)) if wanted)
    options = _kestra.ReturnOptionRect(
        picture=picture_rect(size),
        back_color=colorref("white" if background is None else background, "background"),
        graph_color=colorref(color, "color"),
        frame_color=colorref(frame_color, "frame_color"),
        axis_color=colorref(axis_color, "axis_color"),
        x_min=x_low, y_min=y_low, x_max=x_high, y_max=y_high, arg_from=first, arg_to=last,
        text_color=colorref(text_color, "text_color"),
        font_height=whole(font_height, "font_height", -2**31, 2**31 - 1),
        caption_x=encode_text(caption_x, _CAPTION_BYTES),
        caption_y=encode_text(caption_y, _CAPTION_BYTES), flags=flags)
    if step is not None:
        options.argStep = float(step)
    text = expression.encode("utf-8", errors="replace")
    picture = check(_kestra.CreateGraph(text, options),
                    lambda status: _explain(expression) if status == _BAD_EXPRESSION else "")
    picture = picture.view(Picture)
    picture._drawing = (_kestra.DrawPlotFile, (text, options))
    return picture


def _range(pair, what):
    try:
        low, high = pair
        return float(low), float(high)
    except (TypeError, ValueError):
        raise ValueError(f"{what} must be a pair of numbers, not {pair!r}") from None


def _argument_on_y(expression, argument_axis):
    if argument_axis is None:
        head = re.match(r"[^A-Za-z0-9.=()+\-*/,]*([A-Za-z]+)", expression)
        return bool(head) and head.group(1) == "x"
    if argument_axis not in ("x", "y"):
        raise ValueError(f"argument_axis must be 'x', 'y' or None, not {argument_axis!r}")
    return argument_axis == "y"


def _explain(expression):
    """Why and where the library refuses the expression, with a caret under
    the place."""
    text = expression.encode("utf-8", errors="replace")
    code, offset, reason = _kestra.check_expression(text)
    if code == 0:
        return ""
    before = text[:offset].decode("utf-8", errors="replace")
    caret = "".join("\t" if c == "\t" else " " for c in before) + "^"
    return f"{reason} (column {len(before) + 1})\n    {expression}\n    {caret}"
