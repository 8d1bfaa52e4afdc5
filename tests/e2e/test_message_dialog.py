"""The message dialog and its shaded frame as a person meets them from the main window: the
about box, the missing card at start-up, the help and transponder questions, and the plain
panel that stands in when the skin picture cannot be loaded."""
import os
import re
import time

from quorvan_e2e import PROGRAM_DIST, SKIN_PICTURE, WINDOW_HEIGHT, WINDOW_WIDTH, wait_for
from test_window import (ABOUT, ADD, CLOSE, HINT, HINT_BOX, NEUTRAL, REMOVE, WindowTestCase, differences,
                         ocr_lines, rect_box, settings_record)

FACE = (205, 205, 213)  # the light grey-blue brush
GUIDE_ADDRESS = "http://www.quorvan.example/qvnhelp.php"
SITE_ADDRESS = "http://www.quorvan.example"

# The message dialog: its place on the main window, its client area and its buttons (client
# coordinates; the 1-pixel border puts the client area at (1, 1) of the window).
DIALOG_OFFSET = (15, 100)
DIALOG_SIZE = (482, 196)
CLIENT_WIDTH, CLIENT_HEIGHT = 480, 194
BUTTON_SIZE = (80, 25)
ONE_BUTTON = {"OK": (200, 149)}
TWO_BUTTONS = {"OK": (140, 149), "CANCEL": (260, 149)}
TEXT_TOP = 72  # client height / 2 - 25


class DialogChecks(WindowTestCase):
    """What every message dialog shows, whatever its kind."""

    def check_dialog(self, run, buttons):
        dialog = run.dialog()
        box = rect_box(dialog["rect"], run.origin)
        self.assertGot(box, DIALOG_OFFSET + DIALOG_SIZE, "dialog place and size on the main window")
        found = {c["text"]: rect_box(c["rect"], (dialog["rect"]["x"] + 1, dialog["rect"]["y"] + 1))
                 for c in dialog["children"] if c["class"] == "Button" and c["visible"]}
        self.assertGot(found, {text: place + BUTTON_SIZE for text, place in buttons.items()},
                       "buttons in client coordinates")
        self.assertGot(run.state()["window"]["enabled"], False, "main window enabled while the dialog shows")
        return dialog

    def client_image(self, run, dialog, name):
        screen = run.desktop.screenshot(run.path(name + ".png"))
        return screen.crop(dialog["rect"]["x"] + 1, dialog["rect"]["y"] + 1, CLIENT_WIDTH, CLIENT_HEIGHT)

    def dialog_text(self, run, client, lines=1):
        return ocr_lines(run.path(""), "dialog-text", [client.crop(20, TEXT_TOP, CLIENT_WIDTH - 40, 22 * lines)])

    def check_shaded_frame(self, client):
        """16 rings brightening inward to RGB(195, 195, 203) around the face. Each ring's 2-pixel pen
        straddles its edge, so ring i + 1 covers the inner half of ring i and the outermost ring
        lies outside the client area along the straight edges."""
        rings = [(45 + 10 * i, 45 + 10 * i, 53 + 10 * i) for i in range(16)]
        middle = CLIENT_HEIGHT // 2
        for edge, pixels in (("left", [client.pixel(x, middle) for x in range(18)]),
                             ("top", [client.pixel(CLIENT_WIDTH // 2, y) for y in range(18)])):
            self.assertGot(pixels, rings[1:] + [rings[15], FACE, FACE], "pixels from the %s edge inward" % edge)

    def x_window(self, run, dialog):
        """The X window that shows a dialog (for giving it the keyboard focus)."""
        found = run.desktop.xdotool("search", "--onlyvisible", "--name", ".*") or ""
        wanted = (dialog["rect"]["x"], dialog["rect"]["y"])
        for window in (int(w) for w in found.split()):
            geometry = run.desktop.geometry(window)
            if geometry and geometry[:2] == wanted and geometry[2] <= DIALOG_SIZE[0]:
                return window
        self.fail("no X window at %s for the dialog" % (wanted,))

    def check_escape_keeps_it(self, run, dialog):
        run.key("Escape", window=self.x_window(run, dialog))
        time.sleep(0.5)
        still = [d for d in run.state()["dialogs"] if d["hwnd"] == dialog["hwnd"] and d["visible"]]
        self.assertGot(len(still), 1, "dialogs still shown after Esc")


class MessageDialogTest(DialogChecks):
    def test_about_is_an_empty_framed_dialog_that_drags_and_closes_only_by_ok(self):
        run = self.open_run()
        run.start()
        run.click(*ABOUT[0])
        dialog = self.check_dialog(run, ONE_BUTTON)
        client = self.client_image(run, dialog, "about")
        self.check_shaded_frame(client)
        face = (20, 20, CLIENT_WIDTH - 40, 125)
        self.assertGot(client.count(lambda p: p != FACE, face), 0, "pixels on the about face that are not face")
        # The rounded shape: the top-left corner and the right border column show the main window.
        screen = run.desktop.screenshot(run.path("about-screen.png"))
        for dx, dy in ((1, 1), (2, 2), (DIALOG_SIZE[0] - 1, 100), (DIALOG_SIZE[0] - 2, 100)):
            x, y = DIALOG_OFFSET[0] + dx, DIALOG_OFFSET[1] + dy
            self.assertGot(screen.pixel(run.origin[0] + x, run.origin[1] + y), self.background.pixel(x, y),
                           "pixel (%d, %d) of the dialog window, outside its rounded shape" % (dx, dy))
        self.check_escape_keeps_it(run, dialog)

        start = (DIALOG_OFFSET[0] + 60, DIALOG_OFFSET[1] + 40)
        run.drag(start, (start[0] + 30, start[1] + 20))
        moved = wait_for(lambda: next(d for d in run.state()["dialogs"] if d["hwnd"] == dialog["hwnd"]), 5)
        self.assertGot(rect_box(moved["rect"], run.origin)[:2], (DIALOG_OFFSET[0] + 30, DIALOG_OFFSET[1] + 20),
                       "dialog place after dragging its face by (30, 20)")
        run.click_button(run.button(moved, "OK"))
        wait_for(lambda: not [d for d in run.state()["dialogs"] if d["class"] == "#32770" and d["visible"]], 10,
                 what="the dialog to close")
        self.assertGot(run.state()["window"]["enabled"], True, "main window enabled after OK")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")


class NoCardMessageTest(DialogChecks):
    def test_without_the_card_the_window_shows_with_cannot_load_and_ok_ends_the_program(self):
        run = self.open_run(register_card=False)
        run.start()
        dialog = self.check_dialog(run, ONE_BUTTON)
        client = self.client_image(run, dialog, "no-card")
        self.assertGot(self.dialog_text(run, client), ["Cannot load thsource.ax!"], "message text")
        image = run.screenshot("no-card-window")
        above = (35, 0, WINDOW_WIDTH - 70, DIALOG_OFFSET[1])
        self.assertGot(differences(image, self.background, above, [HINT_BOX])[:5], [],
                       "pixels of the main window above the dialog that differ from the skin")
        self.assertGot(ocr_lines(run.path(""), "hint", [image.crop(*HINT_BOX)]), [HINT], "hint beside the message")
        self.check_shaded_frame(client)
        self.check_escape_keeps_it(run, dialog)
        run.click_button(run.button(dialog, "OK"))
        self.assertGot(run.wait_exit(), 0, "exit code after OK")


BROWSER = '#!/bin/sh\necho "$1" >> "$(dirname "$0")/opened.txt"\n'


class QuestionDialogTest(DialogChecks):
    @staticmethod
    def addresses(path):
        """What the browser was asked to open; Wine writes a bare host with a trailing slash."""
        if not os.path.exists(path):
            return []
        with open(path) as f:
            return [address.rstrip("/") for address in f.read().split()]

    def test_help_opens_the_shipped_guide_after_ok_the_web_page_without_it_and_the_web_link_the_site(self):
        run = self.open_run(files={"browser/xdg-open": BROWSER, "qvnth.dat": settings_record()})
        # Wine's winebrowser hands addresses, and files as file:// addresses, to xdg-open, found on the path.
        os.chmod(run.path("browser/xdg-open"), 0o755)
        run.extra["PATH"] = run.path("browser") + os.pathsep + os.environ["PATH"]
        # A Windows with a browser opens .html files with it; this prefix has no such association.
        run.wine("reg", "add", "HKCR\\.html", "/ve", "/d", "htmlfile", "/f", check=True)
        guide = "file://" + run.path("UserGuide.html")
        self.assertTrue(run.exists("UserGuide.html"), "the user guide is not laid out beside Quorvan.exe")
        run.start()
        help_button = (376, 294)
        run.click(*help_button)
        dialog = self.check_dialog(run, TWO_BUTTONS)
        lines = self.dialog_text(run, self.client_image(run, dialog, "help"), lines=2)
        self.assertGot(lines[:1], ["The User Guide is available online at"], "help text's first line")
        # The reader stumbles over the tightly set "//w"; the browser check below sees the exact address.
        address = re.fullmatch(r"http.{1,4}ww\.quorvan\.example/qvnhelp\.php", lines[1] if len(lines) > 1 else "")
        self.assertTrue(address, "help text's second line: got %r, expected %r" % (lines[1:], GUIDE_ADDRESS))
        run.click_button(run.button(dialog, "CANCEL"))
        wait_for(lambda: run.state()["window"]["enabled"], 10, interval=0.2, what="the dialog to end by CANCEL")
        # The web link's address marks the time: whatever CANCEL handed over comes before it.
        run.click(400, 362)
        opened = run.path("browser/opened.txt")
        wait_for(lambda: SITE_ADDRESS in self.addresses(opened), 30, interval=0.2, what="the web site address")
        run.click(*help_button)
        run.click_button(run.button(self.check_dialog(run, TWO_BUTTONS), "OK"))
        wait_for(lambda: len(self.addresses(opened)) >= 2, 30, interval=0.2, what="the user guide's path")
        os.remove(run.path("UserGuide.html"))
        run.click(*help_button)
        run.click_button(run.button(self.check_dialog(run, TWO_BUTTONS), "OK"))
        wait_for(lambda: len(self.addresses(opened)) >= 3, 30, interval=0.2, what="the web page without the guide")
        time.sleep(2)
        self.assertGot(self.addresses(opened), [SITE_ADDRESS, guide, GUIDE_ADDRESS], "addresses handed to the browser")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")

    def test_adding_a_listed_transponder_tells_so_and_the_delete_question_keeps_it_on_cancel(self):
        run = self.open_run(files={"qvnth.dat": settings_record()})
        before = run.read("Transponders/0192.ini")
        run.start()
        transponder = run.state()["combos"]["112"]["text"]
        self.assertTrue(transponder, "got an empty transponder text, expected the stored transponder")
        run.click(*ADD[0])
        dialog = self.check_dialog(run, ONE_BUTTON)
        self.assertGot(self.dialog_text(run, self.client_image(run, dialog, "duplicate"), lines=2),
                       ["A transponder with the parameters", "you specified already exists"], "duplicate text")
        run.click_button(run.button(dialog, "OK"))
        wait_for(lambda: run.state()["window"]["enabled"], 10, interval=0.2, what="the dialog to end by OK")
        run.click(*REMOVE[0])
        dialog = self.check_dialog(run, TWO_BUTTONS)
        self.assertGot(self.dialog_text(run, self.client_image(run, dialog, "delete")),
                       ["Delete the current transponder from ini file?"], "question text")
        run.click_button(run.button(dialog, "CANCEL"))
        wait_for(lambda: run.state()["window"]["enabled"], 10, interval=0.2, what="the dialog to end by CANCEL")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("Transponders/0192.ini") == before, True, "transponder file unchanged")


class MissingSkinTest(DialogChecks):
    def test_without_the_skin_picture_a_plain_panel_keeps_the_program_usable(self):
        # The program's copy with its picture's first bytes cleared: the picture cannot be decoded.
        with open(os.path.join(PROGRAM_DIST, "Quorvan.exe"), "rb") as f:
            program = f.read()
        with open(SKIN_PICTURE, "rb") as f:
            start = program.find(f.read())
        self.assertTrue(start > 0, "the skin picture's bytes not found in Quorvan.exe")
        broken = program[:start] + bytes(64) + program[start + 64:]
        run = self.open_run(files={"Quorvan.exe": broken, "qvnth.dat": settings_record()})
        run.start()
        run.move(*NEUTRAL)
        image = run.screenshot("plain")
        plain = image.count(lambda p: p == FACE)
        self.assertTrue(plain > WINDOW_WIDTH * WINDOW_HEIGHT // 2,
                        "plain panel pixels: got %d, expected over half the window" % plain)
        combos = run.state()["combos"]
        self.assertGot([combos[i]["visible"] for i in ("110", "111", "112")], [True, True, True], "lists shown")
        self.assertGot(ocr_lines(run.path(""), "hint", [image.crop(*HINT_BOX)]), [HINT], "hint on the plain panel")
        buttons = ocr_lines(run.path(""), "labels", [image.crop(423, 283, 59, 24), image.crop(28, 338, 59, 24)])
        self.assertGot(buttons, ["About", "Language"], "button names on the plain panel")
        run.click(*ABOUT[0])
        dialog = self.check_dialog(run, ONE_BUTTON)
        run.click_button(run.button(dialog, "OK"))
        wait_for(lambda: run.state()["window"]["enabled"], 10, interval=0.2, what="the about dialog to end")
        run.click(*CLOSE[0])
        self.assertGot(run.wait_exit(), 0, "exit code after the close button")
