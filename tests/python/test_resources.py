"""Every call gives back what it took: memory stays flat over many large
pictures (a 1920 x 1080 bitmap kept by mistake would be 8 MB a call)."""

import os

import pytest

import kestra


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


@pytest.mark.parametrize("name,call", [
    ("diagram", lambda: kestra.diagram([[1, 2, 3]], size=(1920, 1080))),
    ("plot", lambda: kestra.plot("y=x", size=(1920, 1080), step=1)),
])
def test_memory_stays_flat_over_many_calls(name, call):
    for _ in range(5):
        call()  # allocator pools and caches settle
    before = resident_bytes()
    for _ in range(20):
        call()
    assert resident_bytes() - before < 64 * 2**20, name  # a leak would be 160 MB or more
