"""kestra.read_table: files pandas wrote read back as pandas holds them,
drawn like the frame they came from; gaps, header modes, ranges, the form
without pandas, and refusals."""

import pathlib

import numpy as np
import pandas
import pytest

import kestra
from kestra import _table

FRAME = pandas.DataFrame({"North": [12.5, 17.0, 9.5], "South": [8.0, 11.5, -14.0]},
                         index=["Q1", "Q2", "Q3"])

WRITERS = [
    ("t.csv", lambda df, path: df.to_csv(path)),
    ("t.html", lambda df, path: df.to_html(path)),
    ("t.xlsx", lambda df, path: df.to_excel(path)),
]


@pytest.mark.parametrize("name,write", WRITERS, ids=[w[0] for w in WRITERS])
def test_files_pandas_wrote_read_back_as_pandas_held_them(tmp_path, name, write):
    write(FRAME, tmp_path / name)
    read = kestra.read_table(tmp_path / name)
    assert read.equals(FRAME), read
    assert read.attrs["notes"] == []
    assert np.array_equal(kestra.diagram(read), kestra.diagram(FRAME))


def test_a_cell_that_is_no_number_is_a_gap_with_a_note(tmp_path):
    (tmp_path / "t.csv").write_text(",Q1,Q2\nNorth,1,n/a\nSouth,(5),1.234.5\n")
    read = kestra.read_table(tmp_path / "t.csv")   # 2 x 2: the rows are the series
    assert read.loc["Q1", "North"] == 1 and read.loc["Q1", "South"] == -5
    assert np.isnan(read.loc["Q2", "North"]) and np.isnan(read.loc["Q2", "South"])
    assert any("gap" in note for note in read.attrs["notes"])


@pytest.mark.parametrize("header,index,columns", [
    ("auto", ["a", "b", "c"], ["x", "y"]),
    ("none", ["1", "2", "3", "4"], ["A", "B", "C"]),
    ("rows", ["A", "x", "y"], ["1", "2", "3"]),   # 3 x 3: rows as series; "" takes A
    ("cols", ["1", "a", "b", "c"], ["A", "B"]),
    ("both", ["a", "b", "c"], ["x", "y"]),
])
def test_header_modes_choose_the_index_and_columns(tmp_path, header, index, columns):
    (tmp_path / "t.csv").write_text(",x,y\na,1,2\nb,3,4\nc,5,6\n")
    read = kestra.read_table(tmp_path / "t.csv", header=header)
    assert list(read.index) == index and list(read.columns) == columns


@pytest.mark.parametrize("series,columns,turned", [
    ("auto", ["Plan", "Actual"], "cols"),   # more data rows than columns
    ("rows", ["Jan", "Feb", "Mar"], "rows"),
    ("cols", ["Plan", "Actual"], "cols"),
])
def test_series_follow_the_rule_of_the_command_line(tmp_path, series, columns, turned):
    (tmp_path / "t.csv").write_text("Month,Plan,Actual\nJan,10,12\nFeb,11,9\nMar,14,15\n")
    read = kestra.read_table(tmp_path / "t.csv", series=series)
    assert list(read.columns) == columns and read.attrs["series"] == turned
    assert read.index.name == "Month"


def test_diagram_series_turns_a_frame_or_an_array(sales):
    assert np.array_equal(kestra.diagram(sales, series="rows"), kestra.diagram(sales.T))
    assert np.array_equal(kestra.diagram(sales.to_numpy(), series="cols"),
                          kestra.diagram(sales.to_numpy().T))
    with pytest.raises(ValueError, match="series"):
        kestra.diagram(sales, series="columns")


def test_dates_come_as_a_datetime_index(tmp_path):
    data = pathlib.Path(__file__).resolve().parents[1] / "data" / "table"
    for name in ("xlwt_dates.xls", "openpyxl_1904.xlsx", "r_comment_first.csv"):
        read = kestra.read_table(data / name, series="cols")
        assert isinstance(read.index, pandas.DatetimeIndex), name
    read = kestra.read_table(data / "xlwt_dates.xls")
    assert list(read.index.strftime("%Y-%m-%d")) == ["2008-07-25", "2008-07-26", "2008-07-27"]
    assert read.index.name == "Day"
    # Drawn with the dates as category labels, as the command line does.
    assert kestra.diagram(read).shape == (400, 640, 3)


def test_excel_95_workbooks_read_as_their_excel_97_twins():
    data = pathlib.Path(__file__).resolve().parents[1] / "data" / "table"
    for old, new in (("gnumeric_sales_biff7.xls", "gnumeric_sales.xls"),
                     ("gnumeric_cyrillic_biff7.xls", "gnumeric_cyrillic.xls")):
        pandas.testing.assert_frame_equal(kestra.read_table(data / old), kestra.read_table(data / new))
    read = kestra.read_table(data / "gnumeric_cyrillic_biff7.xls")  # code page 1251
    assert list(read.index) == ["Москва", "Київ", "Мінськ Ёлка"]
    assert list(read.columns) == ["Продажи №", "Дата"]


def test_sheet_and_range_pick_the_cells(tmp_path):
    with pandas.ExcelWriter(tmp_path / "t.xlsx") as writer:
        FRAME.to_excel(writer, sheet_name="first")
        (FRAME * 10).to_excel(writer, sheet_name="second")
    read = kestra.read_table(tmp_path / "t.xlsx", sheet=2, range="A1:B3")
    assert list(read.index) == ["Q1", "Q2"] and list(read.columns) == ["North"]
    assert list(read["North"]) == [125.0, 170.0]


def test_an_html_caption_is_the_title(tmp_path):
    (tmp_path / "t.html").write_text(
        "<table><caption>Sales &amp; more</caption><tr><th></th><th>x</th><th>y</th></tr>"
        "<tr><th>a</th><td>1</td><td>2</td></tr></table>")
    assert kestra.read_table(tmp_path / "t.html").attrs["title"] == "Sales & more"


def test_without_pandas_the_table_comes_as_values_names_labels(tmp_path, monkeypatch):
    FRAME.to_csv(tmp_path / "t.csv")
    monkeypatch.setattr(_table, "_pandas", lambda: None)
    read = kestra.read_table(tmp_path / "t.csv")
    assert isinstance(read, kestra.Table)
    assert np.array_equal(read.values, FRAME.to_numpy().T)
    assert read.labels == ["Q1", "Q2", "Q3"] and read.names == ["North", "South"]
    # Series as rows of values, as the command line draws the file.
    assert np.array_equal(kestra.diagram(read.values, names=read.names, labels=read.labels),
                          kestra.diagram(FRAME))


def test_unreadable_files_raise_the_readers_status_and_reason(tmp_path):
    with pytest.raises(kestra.Error) as refused:
        kestra.read_table(tmp_path / "missing.csv")
    assert refused.value.status == 1012
    assert "missing.csv" in refused.value.detail


@pytest.mark.parametrize("content,status,reason", [
    ("a,b\nc,d\n", 1009, "no numbers"),
    ("1,2\x00\x01\x02", 1012, "no text file"),
])
def test_files_without_a_table_raise_naming_the_file(tmp_path, content, status, reason):
    (tmp_path / "t.csv").write_bytes(content.encode())
    with pytest.raises(kestra.Error) as refused:
        kestra.read_table(tmp_path / "t.csv")
    assert refused.value.status == status
    assert "t.csv" in refused.value.detail and reason in refused.value.detail


@pytest.mark.parametrize("arguments,message", [
    (dict(header="first"), "header"), (dict(sheet=True), "sheet"), (dict(sheet="1"), "sheet"),
    (dict(series="columns"), "series")])
def test_arguments_the_reader_cannot_take(tmp_path, arguments, message):
    with pytest.raises(ValueError, match=message):
        kestra.read_table(tmp_path / "t.csv", **arguments)
