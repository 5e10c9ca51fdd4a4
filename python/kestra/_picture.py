"""Pictures: RGB arrays that show themselves in Jupyter, and their PNG and
BMP encodings.

PNG is written with the standard library's zlib (the deflate stream libpng
would write too): the bytes are made in memory for to_png and _repr_png_,
zlib.compress runs without the GIL, and the module needs no PNG library.
"""

import os
import secrets
import struct
import zlib

import numpy as np


class Picture(np.ndarray):
    """A picture: a numpy array of shape (height, width, 3), dtype uint8, RGB,
    rows from the top. In Jupyter it shows itself as a PNG."""

    def _repr_png_(self):
        return to_png(self) if _is_picture(self) else None


def _is_picture(array):
    return array.ndim == 3 and array.shape[2] == 3 and array.dtype == np.uint8


def _pixels(picture):
    array = np.asarray(picture)
    if not _is_picture(array) or array.shape[0] == 0 or array.shape[1] == 0:
        raise ValueError("a picture is a non-empty uint8 array of shape (height, width, 3), "
                         f"not {array.dtype} {array.shape}")
    return np.ascontiguousarray(array)


def _png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data)))


def to_png(picture):
    """The picture as the bytes of a PNG file (8-bit RGB)."""
    pixels = _pixels(picture)
    height, width, _ = pixels.shape
    rows = pixels.reshape(height, width * 3)
    # Filter "Up" on every row: the difference to the row above, which is
    # mostly 0 in a diagram's flat areas.
    filtered = np.empty((height, width * 3 + 1), np.uint8)
    filtered[:, 0] = 2
    filtered[0, 1:] = rows[0]
    np.subtract(rows[1:], rows[:-1], out=filtered[1:, 1:])
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header)
            + _png_chunk(b"IDAT", zlib.compress(filtered.tobytes(), 6))
            + _png_chunk(b"IEND", b""))


def to_bmp(picture):
    """The picture as the bytes of a 24-bit BMP file (rows bottom-up, BGR)."""
    pixels = _pixels(picture)
    height, width, _ = pixels.shape
    stride = (width * 3 + 3) & ~3
    rows = np.zeros((height, stride), np.uint8)
    rows[:, :width * 3] = pixels[::-1, :, ::-1].reshape(height, width * 3)
    image = rows.tobytes()
    file_header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image),
                              0, 0, 0, 0)
    return file_header + info_header + image


_ENCODERS = {".png": to_png, ".bmp": to_bmp}


def save(picture, path):
    """Writes the picture to `path` as PNG or BMP, chosen by the extension
    (.png or .bmp, any case). The file is replaced whole or not at all."""
    path = os.fspath(path)
    extension = os.path.splitext(path)[1].lower()
    if extension not in _ENCODERS:
        raise ValueError(f"cannot tell the format of {path!r}: the name must end in .png or .bmp")
    data = _ENCODERS[extension](picture)
    directory, name = os.path.split(os.path.abspath(path))
    temporary = os.path.join(directory, f".{name}.{secrets.token_hex(6)}.part")
    # Created as open() would create the file: mode 0666 less the umask.
    handle = os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o666)
    try:
        with os.fdopen(handle, "wb") as file:
            file.write(data)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise
