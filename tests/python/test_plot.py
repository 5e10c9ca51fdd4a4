"""kestra.plot: shapes, points at known pixels, the argument's axis,
sampling, and the library's refusals."""

import math

import numpy as np
import pytest

import kestra

RED = (255, 0, 0)
# 200 x 100 with the frame: the plot area is (4, 4, 196, 96); the scales map
# x -10..10 onto columns 4..196 and y -3..3 onto rows 96..4.
BARE = dict(size=(200, 100), axes=False, arrows=False, zero=False, color="red")


def red_pixels(picture):
    return np.argwhere((picture == RED).all(axis=2))


@pytest.mark.parametrize("size", [(640, 480), (10, 10), (333, 77)])
def test_picture_is_height_by_width_rgb(size):
    picture = kestra.plot("y=sin(x)", size=size)
    assert isinstance(picture, kestra.Picture)
    assert picture.shape == (size[1], size[0], 3) and picture.dtype == np.uint8


def test_constant_function_is_one_row_at_its_value():
    rows = set(red_pixels(kestra.plot("y=1", **BARE))[:, 0])
    assert rows == {35}  # 96 - (1 + 3) * 92 / 6 = 34.67


@pytest.mark.parametrize("argument_axis,expected_axis,expected", [
    (None, 1, 119),   # "x=2": y is the argument, the line stands at x = 2
    ("y", 1, 119),    # 4 + (2 + 10) * 192 / 20 = 119.2
    ("x", 0, 19),     # forced onto x, the value 2 is read on y: 96 - 5 * 92 / 6
])
def test_the_argument_axis_follows_the_expression(argument_axis, expected_axis, expected):
    points = red_pixels(kestra.plot("x=2", argument_axis=argument_axis, **BARE))
    assert set(points[:, expected_axis]) == {expected}


def test_arguments_and_step_choose_the_samples():
    everywhere = red_pixels(kestra.plot("y=0*x", **BARE))
    right_half = red_pixels(kestra.plot("y=0*x", arguments=(0, 10), **BARE))
    assert everywhere[:, 1].min() < 100 and right_half[:, 1].min() >= 100
    coarse = red_pixels(kestra.plot("y=0*x", step=5, **BARE))
    # -5, 0, 5; -10 and 10 fall on the plot area's edges, which are not drawn on.
    assert sorted(coarse[:, 1]) == [52, 100, 148]


@pytest.mark.parametrize("expression,arguments,status", [
    ("y=sin(x", {}, 1006),
    ("y=x+", {}, 1006),
    ("z=x", {}, 1006),
    ("y=foo(x)", {}, 1006),
    ("y=x", dict(font_height=0), 1007),
    ("y=x", dict(font_height=100), 1007),
    ("y=x", dict(step=0), 1015),
    ("y=x", dict(step=-1), 1015),
    ("y=x", dict(step=math.nan), 1015),
    ("y=x", dict(x=(-1e9, 1e9), step=1), 1015),  # 2 * 10^9 samples
    ("y=x", dict(size=(0, 10)), 1004),
])
def test_refusals_raise_the_librarys_status(expression, arguments, status):
    with pytest.raises(kestra.Error) as refused:
        kestra.plot(expression, **arguments)
    assert refused.value.status == status
    assert isinstance(refused.value, ValueError)


@pytest.mark.parametrize("arguments,error,message", [
    (dict(x=(1,)), ValueError, "x must be a pair"),
    (dict(y="ab"), ValueError, "y must be a pair"),
    (dict(argument_axis="z"), ValueError, "argument_axis"),
    (dict(color="nope"), ValueError, "color"),
])
def test_arguments_the_record_cannot_hold(arguments, error, message):
    with pytest.raises(error, match=message):
        kestra.plot("y=x", **arguments)


def test_expression_must_be_text():
    with pytest.raises(TypeError):
        kestra.plot(b"y=x")


@pytest.mark.parametrize("expression,reason,caret_line", [
    ("y=sin(x", "parentheses of a function are not closed (column 8)", "           ^"),
    ("y = 2 * bar", "'bar' is no name the language knows (column 9)", "            ^"),
    ("y=\tx+", "ends after an operator (column 6)", "      \t  ^"),  # tabs kept
    ("y=ä+", "ends after a sign (column 5)", "        ^"),        # columns are characters
])
def test_a_refused_expression_says_why_and_where(expression, reason, caret_line):
    with pytest.raises(kestra.Error) as refused:
        kestra.plot(expression)
    why, text_line, caret = refused.value.detail.split("\n")
    assert why.endswith(reason) and text_line == "    " + expression
    assert caret == caret_line
    assert str(refused.value).startswith("kestra status 1006: the expression is refused: ")


def test_other_refusals_do_not_blame_the_expression():
    with pytest.raises(kestra.Error) as refused:
        kestra.plot("y=sin(x", font_height=0)  # the font is checked first
    assert refused.value.status == 1007 and refused.value.detail == ""
