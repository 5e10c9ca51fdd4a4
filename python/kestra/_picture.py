"""Pictures: RGB arrays that show themselves in Jupyter, their PNG and BMP
encodings, and the same picture drawn again as SVG, PDF or a PNG at any
scale from the records it was drawn from.

PNG is written with the standard library's zlib (the deflate stream libpng
would write too): the bytes are made in memory for to_png and _repr_png_,
zlib.compress runs without the GIL, and the module needs no PNG library.
"""

import os
import secrets
import struct
import zlib

import numpy as np

from ._errors import Error


class Picture(np.ndarray):
    """A picture: a numpy array of shape (height, width, 3), dtype uint8, RGB,
    rows from the top. One drawn by kestra.diagram or kestra.plot keeps its
    records, so it can be drawn again as SVG or PDF (to_svg, to_pdf, save);
    in Jupyter it shows itself as SVG, else as a PNG. A slice or a computed
    array is pixels only."""

    # (function, arguments) of the binding that draws the records as a file.
    _drawing = None

    def __array_finalize__(self, obj):
        self._drawing = None

    def _repr_png_(self):
        return to_png(self) if _is_picture(self) else None

    def _repr_svg_(self):
        return self.to_svg() if self._drawing is not None and _is_picture(self) else None

    def to_svg(self, scale=1):
        """The picture as SVG text: one viewBox in picture pixels, width and
        height times `scale`, texts as <text> elements."""
        return _redrawn(self, "svg", scale, True).decode("utf-8")

    def to_pdf(self, scale=1):
        """The picture as the bytes of a one-page PDF (96 pixels to the inch,
        times `scale`), the font embedded and texts kept as text."""
        return _redrawn(self, "pdf", scale, True)


def _redrawn(picture, format, scale, smooth):
    drawing = getattr(picture, "_drawing", None)
    if drawing is None:
        raise ValueError(f"a {format.upper()} file, a scale or smoothing needs a picture drawn by "
                         "kestra.diagram or kestra.plot; this one holds only pixels")
    draw, arguments = drawing
    status, data = draw(*arguments, format, float(scale), bool(smooth))
    if status != 0:
        raise Error(status)
    return data


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
_FORMATS = {".png": "png", ".bmp": "bmp", ".svg": "svg", ".pdf": "pdf"}


def save(picture, path, scale=1, smooth=False):
    """Writes the picture to `path` in the format its extension names (any
    case): .png or .bmp, the picture's own pixels; .svg or .pdf, drawn again
    from its records with texts kept as text. `scale` multiplies every
    coordinate, width and font height; `smooth` anti-aliases a PNG or BMP.
    SVG, PDF, a scale other than 1 and smoothing need a picture drawn by
    kestra.diagram or kestra.plot. The file is replaced whole or not at all."""
    path = os.fspath(path)
    extension = os.path.splitext(path)[1].lower()
    if extension not in _FORMATS:
        raise ValueError(f"cannot tell the format of {path!r}: the name must end in .png or .bmp, "
                         ".svg or .pdf")
    if extension in _ENCODERS and scale == 1 and not smooth:
        data = _ENCODERS[extension](picture)
    else:
        data = _redrawn(picture, _FORMATS[extension], scale, smooth)
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
