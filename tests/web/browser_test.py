#!/usr/bin/env python3
"""The page in headless Chromium, driven through the DevTools protocol over a
pipe: a table and an expression entered in the page must draw the Linux
build's pixels, and a refused expression must show the command line's
message. Also loads the page from file://. Stops by itself.

    browser_test.py BUILD_WASM KESTRA_CLI
"""
import base64
import functools
import http.server
import json
import os
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import unittest
from pathlib import Path

TIMEOUT_SECONDS = 120
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--remote-debugging-pipe"]
TABLE = "Region,Q1,Q2,Q3,Q4\nNorth,12.5,17,9.5,21\nSouth,8,11.5,14,16.5\nEast,5.5,7,10,12\n"


def read_bmp(data):
    """RGBA rows, top-down, of a bottom-up 24-bit BMP."""
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24 or height <= 0:
        raise ValueError("not a bottom-up 24-bit BMP")
    stride = (width * 3 + 3) & ~3
    rgba = bytearray()
    for y in range(height - 1, -1, -1):
        row = data[offset + y * stride: offset + y * stride + width * 3]
        for x in range(0, width * 3, 3):
            rgba += bytes((row[x + 2], row[x + 1], row[x], 255))
    return width, height, bytes(rgba)


class Browser:
    """Chromium with one page, spoken to through fds 3 (commands) and 4 (replies)."""

    def __init__(self, profile):
        commands_read, self._commands = os.pipe()
        self._replies, replies_write = os.pipe()
        # Copies above 4, so that putting them on 3 and 4 in the child clobbers neither.
        child_ends = [os.dup(commands_read), os.dup(replies_write)]
        while min(child_ends) <= 4:
            child_ends = [os.dup(end) for end in child_ends]
        self._process = subprocess.Popen(
            ["chromium", *CHROMIUM_FLAGS, f"--user-data-dir={profile}", "about:blank"],
            pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=lambda: (os.dup2(child_ends[0], 3), os.dup2(child_ends[1], 4)))
        for end in (commands_read, replies_write, *child_ends):
            os.close(end)
        self._buffer = b""
        self._next_id = 0
        target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self._session = self.send("Target.attachToTarget", targetId=target,
                                  flatten=True)["sessionId"]

    def send(self, method, session=None, **params):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._commands, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read_message()
            if reply.get("id") == self._next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]

    def _read_message(self):
        while b"\0" not in self._buffer:
            chunk = os.read(self._replies, 65536)
            if not chunk:
                raise RuntimeError("chromium closed the pipe")
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(message)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", self._session, expression=expression,
                           awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def open(self, url):
        self.send("Page.navigate", self._session, url=url)
        self.wait_for_draws(1)

    def wait_for_draws(self, count):
        """Waits until the page has finished `count` draws since it loaded."""
        self.evaluate(f"""new Promise((resolve) => {{
            const check = () => Number(document.body?.dataset.draws || 0) >= {count}
                ? resolve(true) : setTimeout(check, 20);
            check(); }})""")

    def close(self):
        self._process.kill()
        self._process.wait()
        os.close(self._commands)
        os.close(self._replies)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class PageTest(unittest.TestCase):
    build = cli = None

    @classmethod
    def setUpClass(cls):
        handler = functools.partial(QuietHandler, directory=cls.build)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.folder = tempfile.TemporaryDirectory()
        cls.browser = Browser(Path(cls.folder.name) / "profile")
        cls.url = f"http://127.0.0.1:{cls.server.server_address[1]}/index.html"

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.shutdown()
        cls.server.server_close()
        cls.folder.cleanup()

    def native(self, *args):
        out = Path(self.folder.name) / "picture.bmp"
        subprocess.run([self.cli, *args, "-o", str(out)], check=True, capture_output=True)
        return read_bmp(out.read_bytes())

    def native_error(self, *args):
        return subprocess.run([self.cli, *args], capture_output=True, text=True).stderr.rstrip()

    def enter(self, values):
        """Sets the controls (id: value, or True to check a radio button) and waits for the draw."""
        draws = int(self.browser.evaluate("document.body.dataset.draws"))
        self.browser.evaluate(f"""(() => {{
            for (const [id, value] of Object.entries({json.dumps(values)})) {{
                const control = document.getElementById(id);
                if (value === true) control.checked = true; else control.value = value;
                control.dispatchEvent(new Event('input', {{bubbles: true}}));
            }} }})()""")
        self.browser.wait_for_draws(draws + len(values))

    def canvas(self):
        value = self.browser.evaluate("""(() => {
            const canvas = document.getElementById('picture');
            const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            let text = '';
            for (let i = 0; i < data.length; i += 0x8000)
                text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
            return [canvas.width, canvas.height, btoa(text)];
        })()""")
        return value[0], value[1], base64.b64decode(value[2])

    def message(self):
        return self.browser.evaluate("document.getElementById('message').textContent")

    def assertSamePicture(self, actual, expected):
        self.assertEqual(actual[:2], expected[:2])
        if actual[2] != expected[2]:
            first = next(i for i, (a, b) in enumerate(zip(actual[2], expected[2])) if a != b) // 4
            self.fail(f"pixel ({first % actual[0]}, {first // actual[0]}) differs")

    def test_page(self):
        self.browser.open(self.url)
        self.enter({"table-text": TABLE, "kind": "lines", "width": "400", "height": "250",
                    "caption-x": "Quarter", "caption-y": ""})
        csv = Path(self.folder.name) / "sales.csv"
        csv.write_text(TABLE)
        self.assertSamePicture(self.canvas(), self.native(
            "diag", str(csv), "--kind", "lines", "--size", "400x250", "--caption-x", "Quarter"))

        self.enter({"mode-plot": True, "caption-x": "", "x-span": "-7:7", "y-span": "-3:3",
                    "expression": "y=sin(x)*2"})
        self.assertSamePicture(self.canvas(), self.native(
            "plot", "y=sin(x)*2", "--x", "-7:7", "--y", "-3:3", "--size", "400x250"))

        self.enter({"expression": "y=sin(x*2"})
        self.assertEqual(self.message(), self.native_error("plot", "y=sin(x*2", "-o", "x.png"))

    def test_file_url(self):
        self.browser.open(Path(self.build, "index.html").resolve().as_uri())
        self.assertEqual(self.message(), "Paste a table or choose a file.")
        self.enter({"table-text": TABLE})
        self.assertEqual(self.canvas()[:2], (640, 400))


def main():
    signal.signal(signal.SIGALRM, lambda *_: sys.exit("browser test: timed out"))
    signal.alarm(TIMEOUT_SECONDS)
    PageTest.build, PageTest.cli = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)


if __name__ == "__main__":
    main()
