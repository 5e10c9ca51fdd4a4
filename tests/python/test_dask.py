"""kestra inside dask.distributed: pictures and errors travel between
processes, and 200 charts drawn by two worker processes equal those drawn
here."""

import pickle

import numpy as np
import pytest

import kestra

distributed = pytest.importorskip(
    "distributed", reason="dask.distributed is not installed (Debian: python3-distributed)")

RNG = np.random.default_rng(7)
TABLES = [RNG.uniform(0, 50, (int(RNG.integers(1, 4)), int(RNG.integers(2, 7))))
          for _ in range(150)]
EXPRESSIONS = [f"y=sin(x*{k / 10})*{1 + k % 3}" for k in range(50)]
KINDS = ["bars", "lines", "markers"]


def test_pictures_and_errors_pickle():
    picture = kestra.diagram([[1, 2, 3]], names=["Z\u00fcrich"], size=(120, 80))
    again = pickle.loads(pickle.dumps(picture))
    assert type(again) is kestra.Picture
    assert np.array_equal(again, picture)
    error = pickle.loads(pickle.dumps(kestra.Error(1009, "a detail")))
    assert (error.status, error.detail) == (1009, "a detail")


def test_charts_drawn_by_worker_processes_equal_in_process_ones():
    kinds = [KINDS[i % 3] for i in range(len(TABLES))]
    with distributed.LocalCluster(n_workers=2, threads_per_worker=2, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        diagrams = client.map(kestra.diagram, TABLES, kinds, size=(320, 200), pure=False)
        plots = client.map(kestra.plot, EXPRESSIONS, size=(320, 200), pure=False)
        remote = client.gather(diagrams + plots)
    local = [kestra.diagram(t, k, size=(320, 200)) for t, k in zip(TABLES, kinds)]
    local += [kestra.plot(e, size=(320, 200)) for e in EXPRESSIONS]
    assert len(remote) == 200
    for index, (there, here) in enumerate(zip(remote, local)):
        assert type(there) is kestra.Picture, index
        assert np.array_equal(there, here), index
