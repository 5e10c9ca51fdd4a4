"""kestra.Error: a status code of the library, raised as a ValueError."""

from . import _kestra


class Error(ValueError):
    """The library refused a call.

    Attributes:
        status: the library's status code (1001 to 1020, see the README).
        text: the library's one-line text for that code.
        detail: what the binding knows beyond the code (for a refused
            expression, why and where), or "".
    """

    def __init__(self, status, detail=""):
        self.status = int(status)
        self.text = _kestra.KestraStatusText(self.status)
        self.detail = detail
        message = f"kestra status {self.status}: {self.text}"
        super().__init__(f"{message}: {detail}" if detail else message)

    def __reduce__(self):
        return (type(self), (self.status, self.detail))


def check(result, detail=lambda status: ""):
    """The picture of a (status, picture) result; Error when status is not 0.

    `detail(status)` is called only on failure, for a text that explains it.
    """
    status, picture = result
    if status != 0:
        raise Error(status, detail(status))
    return picture
