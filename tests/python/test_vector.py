"""Pictures drawn again from their records: SVG with texts as text, PDF,
scaled and smooth PNG and BMP, Jupyter's SVG view, and pixels-only arrays
refused plainly."""

import io
import os
import re

import numpy as np
import pytest
from PIL import Image

import kestra


def test_svg_holds_every_text(sales):
    picture = kestra.diagram(sales, caption_x="Quarter", caption_y="Sales <EUR>")
    svg = picture.to_svg()
    assert svg.startswith("<?xml") and 'viewBox="0 0 640 400"' in svg
    texts = re.findall(r"<text[^>]*>([^<]*)</text>", svg)
    for wanted in ("Quarter", "Sales &lt;EUR&gt;", "North", "South", "Q1", "Q4"):
        assert wanted in texts
    assert picture._repr_svg_() == svg
    assert 'width="1280" height="800"' in picture.to_svg(scale=2)


def test_pdf_is_one_page_with_the_font():
    pdf = kestra.plot("y=sin(x)", caption_x="time").to_pdf()
    assert pdf.startswith(b"%PDF-") and b"/FontFile" in pdf


@pytest.mark.parametrize("name,size", [
    ("x.png", (640, 480)), ("x2.png", (1280, 960)), ("x.bmp", (1280, 960))])
def test_scaled_and_smooth_pixels(tmp_path, name, size):
    picture = kestra.plot("y=x*x")
    scale = 1 if name == "x.png" else 2
    kestra.save(picture, tmp_path / name, scale=scale, smooth=True)
    with Image.open(tmp_path / name) as image:
        assert image.size == size
        if scale == 1:  # smooth at scale 1: the same picture, anti-aliased
            pixels = np.asarray(image.convert("RGB"))
            assert pixels.shape == picture.shape
            assert np.mean(np.abs(pixels.astype(int) - picture.astype(int))) < 8


def test_vector_files_are_saved_whole(tmp_path):
    picture = kestra.diagram([[1, 2, 3]])
    kestra.save(picture, tmp_path / "a.SVG")
    kestra.save(picture, tmp_path / "a.pdf")
    assert (tmp_path / "a.SVG").read_text().count("<text") > 3
    assert (tmp_path / "a.pdf").read_bytes().startswith(b"%PDF-")
    assert sorted(os.listdir(tmp_path)) == ["a.SVG", "a.pdf"]


def test_pixels_only_cannot_become_vectors(tmp_path):
    picture = kestra.plot("y=x")
    for array in (np.zeros((4, 4, 3), np.uint8), picture[:10], picture.copy()):
        with pytest.raises(ValueError, match="drawn by kestra.diagram or kestra.plot"):
            kestra.save(array, tmp_path / "p.svg")
        with pytest.raises(ValueError, match="holds only pixels"):
            kestra.save(array, tmp_path / "p.png", scale=2)
    assert picture[:10]._repr_svg_() is None
    assert os.listdir(tmp_path) == []


def test_a_bad_scale_is_the_librarys_status(tmp_path):
    (tmp_path / "old.svg").write_text("old")
    with pytest.raises(kestra.Error) as refused:
        kestra.save(kestra.plot("y=x"), tmp_path / "old.svg", scale=0)
    assert refused.value.status == 1004
    assert (tmp_path / "old.svg").read_text() == "old"


def test_the_records_are_copied(tmp_path):
    values = np.array([[1.0, 2.0, 3.0]])
    picture = kestra.diagram(values, bar_values=True, decimals=0)
    values[0, 0] = 99.0  # the caller's array changes after the call
    texts = re.findall(r"<text[^>]*>([^<]*)</text>", picture.to_svg())
    assert "99" not in texts and "3" in texts
