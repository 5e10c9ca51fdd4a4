"""Pictures on dask.distributed: dask sends numpy arrays as raw buffers and
rebuilds plain arrays on the other side; a Picture goes by pickle instead,
which keeps its type. Registered where dask is already loaded, as on every
worker, which imports kestra when it unpickles its first task."""

import sys

from ._picture import Picture


def send_pictures_by_pickle():
    if "distributed" not in sys.modules:
        return
    from distributed.protocol.serialize import dask_serialize

    @dask_serialize.register(Picture)
    def _not_as_a_plain_array(picture):
        raise NotImplementedError  # dask then tries its next family: pickle
