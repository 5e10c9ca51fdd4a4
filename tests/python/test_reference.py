"""The binding draws through the library: its pictures equal, pixel for
pixel, those a C++ host draws with the builders and the file forms."""

import numpy as np
import pytest
from PIL import Image

import kestra


def read_bmp(path):
    with Image.open(path) as image:
        return np.asarray(image.convert("RGB"))


# Each row: the reference picture, and the same chart through the binding.
CASES = [
    ("bars.bmp", lambda df: kestra.diagram(
        df, caption_x="Quarter", caption_y="Sales", styles=["solid", "/", "x"])),
    ("markers.bmp", lambda df: kestra.diagram(
        df, kind="markers", caption_x="Quarter", caption_y="Sales",
        styles=[":", "--", "-"], widths=[2, 1, 3])),
    ("sine.bmp", lambda df: kestra.plot("y=sin(x)*2", caption_x="x", caption_y="y")),
    # "x=..." samples y, from the low to the high end of the y scale.
    ("parabola.bmp", lambda df: kestra.plot("x=y*y/3", caption_x="x", caption_y="y")),
]


@pytest.mark.parametrize("name,draw", CASES, ids=[case[0] for case in CASES])
def test_pictures_equal_the_exports_pictures(reference_dir, sales, name, draw):
    expected = read_bmp(reference_dir / name)
    picture = draw(sales)
    assert picture.shape == expected.shape
    differing = np.argwhere((picture != expected).any(axis=2))
    assert len(differing) == 0, f"{len(differing)} pixels differ, first at (y, x) {differing[0]}"
