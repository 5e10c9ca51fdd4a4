"""Pictures: PNG and BMP encodings read back by Pillow, saving by extension,
files replaced whole, and Jupyter's PNG view."""

import io
import os

import numpy as np
import pytest
from PIL import Image

import kestra

rng = np.random.default_rng(7)
# Noise exercises the PNG row filter's wrap-around; odd widths the BMP padding.
PICTURES = [
    ("noise", rng.integers(0, 256, (37, 53, 3), dtype=np.uint8)),
    ("one pixel", np.array([[[1, 2, 3]]], dtype=np.uint8)),
    ("width 2", rng.integers(0, 256, (3, 2, 3), dtype=np.uint8)),
    ("width 3", rng.integers(0, 256, (2, 3, 3), dtype=np.uint8)),
    ("diagram", np.asarray(kestra.diagram([[1, 2, 3], [3, 2, 1]]))),
]


def decode(data):
    with Image.open(io.BytesIO(data)) as image:
        return image.format, np.asarray(image.convert("RGB"))


@pytest.mark.parametrize("name,picture", PICTURES, ids=[p[0] for p in PICTURES])
def test_encodings_read_back_unchanged(name, picture):
    for encode, expected_format in ((kestra.to_png, "PNG"), (kestra.to_bmp, "BMP")):
        image_format, pixels = decode(encode(picture))
        assert image_format == expected_format
        assert np.array_equal(pixels, picture), f"{name} through {expected_format}"


@pytest.mark.parametrize("file_name,expected_format", [
    ("a.png", "PNG"), ("b.PNG", "PNG"), ("c.bmp", "BMP"), ("d.Bmp", "BMP")])
def test_save_chooses_the_format_by_extension(tmp_path, file_name, expected_format):
    picture = kestra.plot("y=x")
    kestra.save(picture, tmp_path / file_name)
    image_format, pixels = decode((tmp_path / file_name).read_bytes())
    assert image_format == expected_format and np.array_equal(pixels, picture)
    assert os.listdir(tmp_path) == [file_name]  # no temporary left behind


def test_saved_files_get_the_modes_open_would_give(tmp_path):
    umask = os.umask(0o022)
    try:
        kestra.save(kestra.plot("y=x"), tmp_path / "p.png")
    finally:
        os.umask(umask)
    assert (tmp_path / "p.png").stat().st_mode & 0o777 == 0o644


def test_unknown_extension_writes_nothing(tmp_path):
    with pytest.raises(ValueError, match=".png or .bmp"):
        kestra.save(kestra.plot("y=x"), tmp_path / "p.jpg")
    assert os.listdir(tmp_path) == []


def test_a_failed_save_leaves_the_old_file_whole(tmp_path, monkeypatch):
    target = tmp_path / "p.png"
    target.write_bytes(b"old picture")

    def refuse(source, destination):
        raise OSError("disk full")

    monkeypatch.setattr(os, "replace", refuse)
    with pytest.raises(OSError, match="disk full"):
        kestra.save(kestra.plot("y=x"), target)
    assert target.read_bytes() == b"old picture"
    assert os.listdir(tmp_path) == ["p.png"]


def test_missing_directory_raises_and_leaves_nothing(tmp_path):
    with pytest.raises(FileNotFoundError):
        kestra.save(kestra.plot("y=x"), tmp_path / "no" / "p.png")


@pytest.mark.parametrize("bad", [
    np.zeros((4, 4), np.uint8), np.zeros((4, 4, 4), np.uint8), np.zeros((4, 4, 3), np.float64),
    np.zeros((0, 4, 3), np.uint8), [[1, 2, 3]]])
def test_only_rgb_pictures_are_encoded(bad):
    with pytest.raises(ValueError, match="picture"):
        kestra.to_png(bad)


def test_pictures_show_themselves_as_png():
    picture = kestra.diagram([[1, 2]])
    assert decode(picture._repr_png_())[0] == "PNG"
    assert picture[:, :, 0]._repr_png_() is None  # a slice is no picture
    flipped = picture[::-1]
    assert np.array_equal(decode(flipped._repr_png_())[1], flipped)
