# Signatures of the kestra package for editors and type checkers.
from collections.abc import Sequence
from os import PathLike
from typing import Any, NamedTuple, Optional, Union

import numpy as np
import numpy.typing as npt

Color = Union[str, Sequence[int]]
Texts = Optional[Sequence[Any]]
Pair = tuple[float, float]


class Error(ValueError):
    status: int
    text: str
    detail: str

    def __init__(self, status: int, detail: str = ...) -> None: ...


class Picture(np.ndarray):
    def _repr_png_(self) -> Optional[bytes]: ...
    def _repr_svg_(self) -> Optional[str]: ...
    def to_svg(self, scale: float = ...) -> str: ...
    def to_pdf(self, scale: float = ...) -> bytes: ...


class Table(NamedTuple):
    values: npt.NDArray[np.float64]
    names: list[str]
    labels: list[str]
    title: str
    notes: list[str]


def diagram(values: Any, kind: str = ..., size: tuple[int, int] = ..., labels: Texts = ...,
            names: Texts = ..., colors: Union[Color, Sequence[Color], None] = ...,
            caption_x: str = ..., caption_y: str = ..., legend: bool = ..., grid: bool = ...,
            *, styles: Union[str, int, Sequence[Union[str, int]], None] = ...,
            widths: Union[int, Sequence[int], None] = ..., background: Optional[Color] = ...,
            frame: bool = ..., axes: bool = ..., arrows: bool = ..., captions: bool = ...,
            category_labels: bool = ..., value_labels: bool = ..., bar_values: bool = ...,
            divisions: int = ..., decimals: int = ..., font_height: int = ...,
            text_color: Color = ..., axis_color: Color = ..., frame_color: Color = ...,
            grid_color: Optional[Color] = ..., grid_style: Union[str, int] = ...,
            grid_vertical: bool = ..., bar_value_color: Color = ...,
            bar_value_font_height: int = ..., legend_font_height: int = ...,
            base_value: float = ..., margin_bottom: int = ..., margin_left: int = ...,
            series: Optional[str] = ...) -> Picture: ...


def plot(expression: str, x: Pair = ..., y: Pair = ..., step: Optional[float] = ...,
         size: tuple[int, int] = ..., *, arguments: Optional[Pair] = ...,
         argument_axis: Optional[str] = ..., color: Color = ...,
         background: Optional[Color] = ..., frame: bool = ..., axes: bool = ...,
         arrows: bool = ..., zero: bool = ..., caption_x: str = ..., caption_y: str = ...,
         font_height: int = ..., text_color: Color = ..., axis_color: Color = ...,
         frame_color: Color = ...) -> Picture: ...


def read_table(path: Union[str, bytes, PathLike[str]], sheet: int = ...,
               range: Optional[str] = ..., header: str = ..., table: int = ...,
               series: str = ...) -> Any: ...


def save(picture: npt.ArrayLike, path: Union[str, PathLike[str]], scale: float = ...,
         smooth: bool = ...) -> None: ...


def to_png(picture: npt.ArrayLike) -> bytes: ...


def to_bmp(picture: npt.ArrayLike) -> bytes: ...


__all__: list[str]
