"""kestra.read_table: files pandas wrote read back as pandas holds them,
drawn like the frame they came from; gaps, header modes, ranges, the form
without pandas, and refusals."""

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
    read = kestra.read_table(tmp_path / "t.csv")
    assert read.loc["North", "Q1"] == 1 and read.loc["South", "Q1"] == -5
    assert np.isnan(read.loc["North", "Q2"]) and np.isnan(read.loc["South", "Q2"])
    assert any("gap" in note for note in read.attrs["notes"])


@pytest.mark.parametrize("header,index,columns", [
    ("auto", ["a", "b"], ["x", "y"]),
    ("none", ["1", "2", "3"], ["A", "B", "C"]),
    ("rows", ["1", "2"], ["A", "x", "y"]),   # an empty header cell takes the default
    ("cols", ["1", "a", "b"], ["A", "B"]),
    ("both", ["a", "b"], ["x", "y"]),
])
def test_header_modes_choose_the_index_and_columns(tmp_path, header, index, columns):
    (tmp_path / "t.csv").write_text(",x,y\na,1,2\nb,3,4\n")
    read = kestra.read_table(tmp_path / "t.csv", header=header)
    assert list(read.index) == index and list(read.columns) == columns


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
    assert np.array_equal(read.values, FRAME.to_numpy())
    assert read.names == ["Q1", "Q2", "Q3"] and read.labels == ["North", "South"]
    # Rows as series, as the command line draws a file.
    assert np.array_equal(kestra.diagram(read.values, names=read.names, labels=read.labels),
                          kestra.diagram(FRAME.T))


def test_unreadable_files_raise_the_readers_status_and_reason(tmp_path):
    with pytest.raises(kestra.Error) as refused:
        kestra.read_table(tmp_path / "missing.csv")
    assert refused.value.status == 1012
    assert "missing.csv" in refused.value.detail


@pytest.mark.parametrize("arguments,message", [
    (dict(header="first"), "header"), (dict(sheet=True), "sheet"), (dict(sheet="1"), "sheet")])
def test_arguments_the_reader_cannot_take(tmp_path, arguments, message):
    with pytest.raises(ValueError, match=message):
        kestra.read_table(tmp_path / "t.csv", **arguments)
