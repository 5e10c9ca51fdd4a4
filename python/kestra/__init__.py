"""kestra: business diagrams and function plots drawn into pictures.

    import kestra, pandas as pd
    df = pd.DataFrame({"North": [12.5, 17, 9.5], "South": [8, 11.5, 14]},
                      index=["Q1", "Q2", "Q3"])
    picture = kestra.diagram(df, caption_x="Quarter", caption_y="Sales")
    kestra.save(picture, "sales.png")
    kestra.save(kestra.plot("y=sin(x)*2"), "sine.png")
    kestra.save(kestra.diagram(kestra.read_table("sales.csv")), "file.png")

Pictures are numpy arrays of shape (height, width, 3), dtype uint8, RGB. The
library draws them; every call releases the GIL while it draws, so threads
draw in parallel. Refusals raise kestra.Error (a ValueError) with the
library's status code.
"""

from ._dask import send_pictures_by_pickle as _send_pictures_by_pickle
from ._diagram import diagram
from ._errors import Error
from ._picture import Picture, save, to_bmp, to_png
from ._plot import plot
from ._table import Table, read_table

_send_pictures_by_pickle()

__all__ = ["Error", "Picture", "Table", "diagram", "plot", "read_table", "save", "to_bmp",
           "to_png"]
