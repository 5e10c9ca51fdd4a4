"""The example script renders its gallery: every file a PNG of its picture."""

import runpy

import numpy as np
from PIL import Image

from conftest import ROOT


def test_gallery_example_writes_each_picture(tmp_path):
    example = runpy.run_path(str(ROOT / "examples" / "python" / "gallery.py"))
    example["main"](tmp_path)
    expected = example["gallery"](example["sales"]())
    assert sorted(p.name for p in tmp_path.iterdir()) == sorted(name for name, _ in expected)
    for name, picture in expected:
        with Image.open(tmp_path / name) as image:
            assert image.format == "PNG"
            assert np.array_equal(np.asarray(image.convert("RGB")), picture), name
