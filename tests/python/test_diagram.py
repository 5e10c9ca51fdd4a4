"""kestra.diagram: shapes, colours at known pixels, pandas' orientation,
argument checks and the library's refusals."""

import io

import numpy as np
import pandas
import pytest
from PIL import Image

import kestra

RED, BLUE, WHITE, BLACK = (255, 0, 0), (0, 0, 255), (255, 255, 255), (0, 0, 0)
# A look with nothing but the bars, so known pixels are bar or background.
BARE = dict(legend=False, grid=False, captions=False, bar_values=False)


@pytest.mark.parametrize("size", [(640, 400), (1, 1), (3, 2), (1921, 7)])
def test_picture_is_height_by_width_rgb(size):
    picture = kestra.diagram([[1, 2, 3]], size=size)
    assert isinstance(picture, np.ndarray) and isinstance(picture, kestra.Picture)
    assert picture.shape == (size[1], size[0], 3)
    assert picture.dtype == np.uint8
    assert picture.flags.c_contiguous


def test_colours_come_back_as_rgb_at_known_pixels():
    picture = kestra.diagram([[10, 10]], size=(200, 100), colors="#ff0000",
                             background="#336699", **BARE)
    assert tuple(picture[0, 0]) == (0x33, 0x66, 0x99)  # background, top-left
    assert tuple(picture[2, 100]) == BLACK             # frame, 2 pixels inside
    assert tuple(picture[50, 100]) == RED              # inside the bar
    assert tuple(picture[98, 198]) == (0x33, 0x66, 0x99)


@pytest.mark.parametrize("width", [201, 202, 203, 204])
def test_rows_line_up_whatever_the_row_padding(width):
    picture = kestra.diagram([[10, 10]], size=(width, 60), background="#336699", **BARE)
    assert (picture[2:58, width - 3] == BLACK).all()             # the frame's right side
    assert (picture[:, width - 1] == (0x33, 0x66, 0x99)).all()   # the background beyond


# Widths below one 16-byte block of pixels and with every row padding;
# heights that end in a part of a read-back strip.
@pytest.mark.parametrize("size", [(1, 3), (2, 5), (5, 9), (6, 2), (7, 3001), (1921, 100),
                                  (64, 1025)])
def test_pixels_equal_the_librarys_bmp_of_the_same_records(size):
    picture = kestra.diagram([[3, 1, 2], [1, 2, 3]], size=size, colors=["#102030", "#c0b0a0"],
                             background="#336699")
    draw, arguments = picture._drawing
    status, data = draw(*arguments, "bmp", 1.0, False)
    assert status == 0
    with Image.open(io.BytesIO(data)) as image:
        expected = np.asarray(image.convert("RGB"))
    assert np.array_equal(picture, expected)


@pytest.mark.parametrize("color", ["red", "#f00", "#FF0000", (255, 0, 0), np.array([255, 0, 0])])
def test_colour_forms_agree(color):
    picture = kestra.diagram([[10, 10]], size=(200, 100), colors=color, **BARE)
    assert tuple(picture[50, 100]) == RED


def test_without_background_the_picture_starts_black():
    picture = kestra.diagram([[10, 10]], size=(200, 100), background=None, frame=False, **BARE)
    assert tuple(picture[0, 0]) == BLACK


def test_dataframe_columns_are_series_and_index_gives_categories():
    df = pandas.DataFrame({"a": [10.0, 10.0, 10.0], "b": [5.0, 5.0, 5.0]},
                          index=["x", "y", "z"])
    picture = kestra.diagram(df, size=(300, 100), colors=["red", "blue"], **BARE)
    # The first category's slot holds column a (left) then column b (right).
    slot = picture[50, :100]
    reds = np.flatnonzero((slot == RED).all(axis=1))
    blues = np.flatnonzero((slot == BLUE).all(axis=1))
    assert len(reds) and len(blues) and reds.max() < blues.min()
    as_rows = kestra.diagram(df.to_numpy().T, size=(300, 100), colors=["red", "blue"],
                             names=["a", "b"], labels=["x", "y", "z"], **BARE)
    assert np.array_equal(picture, as_rows)


def test_dataframe_labels_and_names_reach_the_picture(sales):
    from_frame = kestra.diagram(sales)
    explicit = kestra.diagram(sales.to_numpy().T, names=["North", "South", "East"],
                              labels=["Q1", "Q2", "Q3", "Q4"])
    assert np.array_equal(from_frame, explicit)
    renamed = kestra.diagram(sales, labels=["J", "F", "M", "A"])
    assert not np.array_equal(from_frame, renamed)


def test_dataframe_text_columns_are_left_out_as_pandas_does(sales):
    with_text = sales.assign(note=["a", "b", "c", "d"])
    assert np.array_equal(kestra.diagram(with_text), kestra.diagram(sales))


def test_series_and_one_dimensional_values_are_one_series():
    series = pandas.Series([3.0, 1.0, 2.0], index=["a", "b", "c"], name="s")
    assert np.array_equal(kestra.diagram(series),
                          kestra.diagram([[3, 1, 2]], names=["s"], labels=["a", "b", "c"]))
    assert np.array_equal(kestra.diagram([3, 1, 2]), kestra.diagram([[3, 1, 2]]))


def test_missing_values_draw_nothing():
    picture = kestra.diagram([[np.nan, 10]], size=(200, 100), colors="red", **BARE)
    assert not (picture[:, :100] == RED).all(axis=2).any()
    assert (picture[:, 100:] == RED).all(axis=2).any()


def test_inputs_are_copied_not_kept_or_changed():
    values = np.array([[1.0, 2.0], [3.0, 4.0]])
    picture = kestra.diagram(values)
    assert np.array_equal(values, [[1.0, 2.0], [3.0, 4.0]])
    assert not np.shares_memory(picture, values)


def test_long_texts_are_cut_to_the_records_fields():
    long = "n" * 60
    picture = kestra.diagram([[1, 2]], names=[long], labels=[long * 5, "b"], caption_x=long)
    cut = kestra.diagram([[1, 2]], names=[long[:39]], labels=[long * 4 + long[:15], "b"],
                         caption_x=long[:19])
    assert np.array_equal(picture, cut)


@pytest.mark.parametrize("text,same_as", [
    (None, ""),
    ("a\0b", "ab"),              # a NUL would end the text early
    (("North", 2024), "North, 2024"),
])
def test_texts_reach_the_records_as_the_code_page_holds_them(text, same_as):
    assert np.array_equal(kestra.diagram([[1, 2]], caption_y=text, labels=[text, "b"]),
                          kestra.diagram([[1, 2]], caption_y=same_as, labels=[same_as, "b"]))


@pytest.mark.parametrize("text", ["Zürich", "Αθήνα", "Łódź", "İzmir", "Москва"])
def test_texts_of_any_script_are_drawn_not_replaced(text):
    assert not np.array_equal(kestra.diagram([[1, 2]], caption_y=text),
                              kestra.diagram([[1, 2]], caption_y="?" * len(text)))


def test_texts_are_cut_on_character_boundaries():
    # 15 two-byte characters: the 19-byte caption keeps 9 of them, not 9 and a half.
    assert np.array_equal(kestra.diagram([[1, 2]], caption_x="ü" * 15),
                          kestra.diagram([[1, 2]], caption_x="ü" * 9))
    assert not np.array_equal(kestra.diagram([[1, 2]], caption_x="ü" * 9),
                              kestra.diagram([[1, 2]], caption_x="ü" * 8))


def test_cyrillic_texts_are_drawn_not_replaced():
    assert not np.array_equal(kestra.diagram([[1, 2]], caption_y="Продажи"),
                              kestra.diagram([[1, 2]], caption_y="???????"))


@pytest.mark.parametrize("values,status", [
    ([[1]], 1009),          # one category
    (np.zeros((0, 3)), 1009),  # no series
])
def test_tables_the_library_refuses_raise_its_status(values, status):
    with pytest.raises(kestra.Error) as refused:
        kestra.diagram(values)
    assert refused.value.status == status
    assert refused.value.text == "the table has fewer than 1 row or 2 columns, or no values"
    assert str(status) in str(refused.value)


@pytest.mark.parametrize("size", [(0, 100), (100, -1), (100000, 100000)])
def test_pictures_the_library_cannot_make_raise_1004(size):
    with pytest.raises(kestra.Error) as refused:
        kestra.diagram([[1, 2]], size=size)
    assert refused.value.status == 1004
    assert isinstance(refused.value, ValueError)


@pytest.mark.parametrize("arguments,message", [
    (dict(kind="pie"), "kind"),
    (dict(names=["a", "b"]), "names: 2 given for 1 series"),
    (dict(labels=["a"]), "labels: 1 given for 2 categories"),
    (dict(labels="ab"), "labels must be a list"),
    (dict(colors="#12345"), "series colour"),
    (dict(colors=[(300, 0, 0)]), "series colour"),
    (dict(colors=[]), "empty list"),
    (dict(styles="zigzag"), "style"),
    (dict(widths=256), "width"),
    (dict(divisions=-1), "divisions"),
    (dict(decimals=1.5), "decimals"),
    (dict(size=(640,)), "size"),
    (dict(size=(640.0, 400)), "width"),
    (dict(grid_style="wavy"), "grid_style"),
    (dict(grid_style=70000), "grid_style"),
    (dict(styles=2**40), "style"),
])
def test_arguments_the_records_cannot_hold_raise_value_error(arguments, message):
    with pytest.raises(ValueError, match=message) as refused:
        kestra.diagram([[1, 2]], **arguments)
    assert not isinstance(refused.value, kestra.Error)


def test_whole_numbers_of_numpy_types_count_as_ints():
    assert np.array_equal(
        kestra.diagram([[1, 2]], kind="lines", widths=np.int64(3), divisions=np.uint8(4),
                       styles=np.int32(2), colors=[(np.uint8(200), 0, np.int16(9))]),
        kestra.diagram([[1, 2]], kind="lines", widths=3, divisions=4, styles=2,
                       colors=[(200, 0, 9)]))


def test_values_must_be_one_or_two_dimensional():
    with pytest.raises(ValueError, match="3-D"):
        kestra.diagram(np.zeros((2, 2, 2)))
    with pytest.raises(ValueError, match="no numeric column"):
        kestra.diagram(pandas.DataFrame({"a": ["x", "y"]}))
