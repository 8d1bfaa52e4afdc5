#!/usr/bin/env python3
"""Checks the user guide as shipped in dist: the HTML passes tidy, every picture and link inside the page
resolves to a shipped file (pictures at their stated size), and Chromium renders it headless at 1280 pixels
wide without a console error. The rendered pages are saved for a person to look at:
$QV_BUILD/guide-render/UserGuide.png (screen) and UserGuide-print.png (print styles).

Chromium is driven through its DevTools protocol over a pipe (--remote-debugging-pipe: fds 3 and 4,
messages ended by a zero byte), which reports failed loads as well as console messages.
"""
import base64
import fcntl
import json
import os
import shutil
import struct
import subprocess
import sys
import unittest
from html.parser import HTMLParser
from urllib.parse import unquote, urlsplit

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("QV_BUILD", os.path.join(ROOT, "build"))
DIST = os.environ.get("QV_DIST", os.path.join(ROOT, "dist"))
PAGE = "UserGuide.html"
PICTURES = "UserGuide_files"
SHIPPED = [os.path.join(DIST, build) for build in ("win64", "win32")]
RENDER = os.path.join(BUILD, "guide-render")
WIDTH = 1280
PRINT_WIDTH = 794  # A4 at 96 dpi
CHROMIUM = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync"]


class Links(HTMLParser):
    """Every id and every address a page refers to, with the stated size of its pictures."""

    def __init__(self):
        super().__init__()
        self.ids, self.addresses, self.pictures = set(), [], []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        for name in ("href", "src", "srcset", "data", "poster", "action"):
            if attrs.get(name) is not None:
                self.addresses.append((tag, attrs[name]))
        if tag == "img":
            self.pictures.append((attrs.get("src"), attrs.get("width"), attrs.get("height")))


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


class DevTools:
    """A headless Chromium driven over --remote-debugging-pipe."""

    def __init__(self, profile):
        shutil.rmtree(profile, ignore_errors=True)
        os.makedirs(profile)
        # Both pipes are moved above fd 4 first, so that placing them at 3 and 4 cannot overwrite one.
        to_browser, from_browser = os.pipe(), os.pipe()
        theirs_in, self._out, self._in, theirs_out = [fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in
                                                      (to_browser[0], to_browser[1], from_browser[0], from_browser[1])]
        for fd in to_browser + from_browser:
            os.close(fd)

        def place_pipes():
            os.dup2(theirs_in, 3)
            os.dup2(theirs_out, 4)

        self._log = open(os.path.join(os.path.dirname(profile), "chromium.log"), "w")
        self.process = subprocess.Popen(
            CHROMIUM + ["--user-data-dir=" + profile, "--window-size=%d,900" % WIDTH, "--remote-debugging-pipe",
                        "about:blank"],
            preexec_fn=place_pipes, close_fds=False, stdout=subprocess.DEVNULL,
            stderr=self._log)
        os.close(theirs_in)
        os.close(theirs_out)
        self._buffer, self._next, self.events, self.session = b"", 0, [], None

    def _receive(self, wanted):
        while True:
            while b"\0" in self._buffer:
                raw, self._buffer = self._buffer.split(b"\0", 1)
                message = json.loads(raw)
                if "method" in message:
                    self.events.append(message)
                if wanted(message):
                    return message
            chunk = os.read(self._in, 1 << 16)
            if not chunk:
                raise AssertionError("Chromium closed its DevTools pipe (see chromium.log)")
            self._buffer += chunk

    def send(self, method, params=None, session=True):
        self._next += 1
        message = {"id": self._next, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self._out, json.dumps(message).encode() + b"\0")
        return self._next

    def call(self, method, params=None, session=True):
        number = self.send(method, params, session)
        reply = self._receive(lambda m: m.get("id") == number)
        if "error" in reply:
            raise AssertionError("%s: %s" % (method, reply["error"]))
        return reply["result"]

    def open_page(self, url):
        targets = self.call("Target.getTargets", session=False)["targetInfos"]
        target = next(t["targetId"] for t in targets if t["type"] == "page")
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True},
                                 session=False)["sessionId"]
        for domain in ("Page", "Log", "Runtime"):
            self.call(domain + ".enable")
        self.call("Page.navigate", {"url": url})
        self._receive(lambda m: m.get("method") == "Page.loadEventFired")

    def evaluate(self, expression):
        return self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True})["result"]["value"]

    def full_page(self, width, path):
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": 900, "deviceScaleFactor": 1, "mobile": False})
        height = self.evaluate("document.documentElement.scrollHeight")
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
        shot = self.call("Page.captureScreenshot", {"format": "png"})
        with open(path, "wb") as out:
            out.write(base64.b64decode(shot["data"]))
        return height

    def problems(self):
        """Console errors and warnings, failed loads and exceptions the page has caused so far."""
        found = []
        for event in self.events:
            method, params = event["method"], event.get("params", {})
            if method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
                found.append("%s %s" % (params["entry"]["text"], params["entry"].get("url", "")))
            elif method == "Runtime.consoleAPICalled" and params["type"] in ("error", "warning", "assert"):
                found.append("console.%s %s" % (params["type"], [a.get("value") for a in params["args"]]))
            elif method == "Runtime.exceptionThrown":
                found.append(params["exceptionDetails"].get("text", "exception"))
        return found

    def close(self):
        try:
            self.send("Browser.close", session=False)
            self.process.wait(15)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()
        os.close(self._in)
        os.close(self._out)
        self._log.close()


class ShippedGuideTest(unittest.TestCase):
    def setUp(self):
        self.folder = SHIPPED[0]
        self.page = os.path.join(self.folder, PAGE)
        self.assertTrue(os.path.isfile(self.page), "no %s beside Quorvan.exe in %s" % (PAGE, self.folder))

    def test_both_builds_ship_the_same_guide(self):
        for other in SHIPPED[1:]:
            for relative in [PAGE] + [os.path.join(PICTURES, n) for n in os.listdir(os.path.join(self.folder, PICTURES))]:
                with open(os.path.join(self.folder, relative), "rb") as a:
                    theirs = os.path.join(other, relative)
                    self.assertTrue(os.path.isfile(theirs), "%s missing in %s" % (relative, other))
                    with open(theirs, "rb") as b:
                        self.assertEqual(a.read(), b.read(), "%s differs between the builds" % relative)

    def test_html_passes_tidy(self):
        result = subprocess.run(["tidy", "-errors", "-q", self.page], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True)
        self.assertEqual(result.returncode, 0, "tidy -errors -q %s:\n%s" % (self.page, result.stdout))

    def test_every_link_and_picture_resolves_to_a_shipped_file(self):
        links = Links()
        with open(self.page, encoding="utf-8") as f:
            links.feed(f.read())
        self.assertTrue(links.pictures, "the guide shows no pictures")
        broken = []
        for tag, address in links.addresses:
            parts = urlsplit(address)
            if parts.scheme or parts.netloc:
                broken.append("%s %s: leaves the shipped folder" % (tag, address))
                continue
            target = os.path.normpath(os.path.join(self.folder, unquote(parts.path))) if parts.path else self.page
            if not target.startswith(self.folder + os.sep) or not os.path.isfile(target):
                broken.append("%s %s: no such shipped file" % (tag, address))
            elif parts.fragment and target == self.page and parts.fragment not in links.ids:
                broken.append("%s %s: no element with that id" % (tag, address))
        self.assertEqual(broken, [], "addresses in the guide")
        used = set()
        for src, width, height in links.pictures:
            path = os.path.join(self.folder, unquote(src))
            used.add(os.path.normpath(path))
            self.assertEqual(png_size(path), (int(width or 0), int(height or 0)),
                             "size of %s against its width and height in the page" % src)
        unused = sorted(n for n in os.listdir(os.path.join(self.folder, PICTURES))
                        if os.path.normpath(os.path.join(self.folder, PICTURES, n)) not in used)
        self.assertEqual(unused, [], "pictures shipped but not shown")

    def test_chromium_renders_it_without_console_errors(self):
        os.makedirs(RENDER, exist_ok=True)
        browser = DevTools(os.path.join(RENDER, "profile"))
        try:
            browser.open_page("file://" + self.page)
            missing = browser.evaluate(
                "Array.from(document.images).filter(i => !i.complete || i.naturalWidth === 0).map(i => i.src)")
            overflow = browser.evaluate("document.documentElement.scrollWidth")
            height = browser.full_page(WIDTH, os.path.join(RENDER, "UserGuide.png"))
            browser.call("Emulation.setEmulatedMedia", {"media": "print"})
            browser.full_page(PRINT_WIDTH, os.path.join(RENDER, "UserGuide-print.png"))
            pdf = base64.b64decode(browser.call("Page.printToPDF", {"preferCSSPageSize": True})["data"])
            with open(os.path.join(RENDER, "UserGuide.pdf"), "wb") as out:
                out.write(pdf)
            problems = browser.problems()
        finally:
            browser.close()
        self.assertEqual(problems, [], "console errors and failed loads")
        self.assertEqual(missing, [], "pictures the browser could not show")
        self.assertLessEqual(overflow, WIDTH, "page width at a %d-pixel window" % WIDTH)
        self.assertGreater(height, 2000, "rendered page height")
        self.assertEqual(png_size(os.path.join(RENDER, "UserGuide.png"))[0], WIDTH, "rendered picture width")
        print("guide: rendered %d x %d in %s; printed as %d bytes of PDF" % (WIDTH, height, RENDER, len(pdf)))
        self.assertTrue(pdf.startswith(b"%PDF"), "printing the guide gave no PDF")


if __name__ == "__main__":
    sys.exit(0 if unittest.main(exit=False, verbosity=2).result.wasSuccessful() else 1)
