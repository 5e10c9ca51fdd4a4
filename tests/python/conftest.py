"""Shared fixtures of the binding's tests: a small sales table and the
pictures the C++ reference host draws."""

import os
import pathlib
import subprocess

import pandas
import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def reference_dir(tmp_path_factory):
    """A directory with the reference host's BMP pictures."""
    program = os.environ.get("KESTRA_PYTHON_REFERENCE",
                             str(ROOT / "build" / "python" / "kestra_python_reference"))
    if not os.access(program, os.X_OK):
        pytest.fail(f"reference host {program} not built (set KESTRA_PYTHON_REFERENCE)")
    out = tmp_path_factory.mktemp("reference")
    subprocess.run([program, str(out)], check=True)
    return out


@pytest.fixture
def sales():
    """Three regions (columns) over four quarters (index)."""
    return pandas.DataFrame({"North": [12.5, 17.0, 9.5, 21.0],
                             "South": [8.0, 11.5, 14.0, 16.5],
                             "East": [5.5, 7.0, 10.0, 12.0]},
                            index=["Q1", "Q2", "Q3", "Q4"])
