"""Start-up and shutdown as a user sees them: placement, the debug log, the settings file, the card."""
import os
import random
import stat
import struct

from quorvan_e2e import QuorvanTest

MARKERS = b"".join(b"%d;" % n + b"\0" * (4 - len(b"%d;" % n)) for n in range(12))
OK = b"ok;\0"
KEY_DOWN = b"kd;\0"


def settings_bytes(language=1, sound=2, lnb=0, position=192, frequency=10714000, reading=0, seed=7):
    """A valid record whose unused ranges hold arbitrary bytes."""
    noise = random.Random(seed)
    record = bytearray(noise.getrandbits(8) for _ in range(256))
    struct.pack_into("<6i", record, 0, language, sound, lnb, position, frequency, reading)
    struct.pack_into("<6i", record, 80, 10, 20, 0, 0, 1000, 1200)
    return bytes(record)


class StartAndCloseTest(QuorvanTest):
    def test_window_placed_centred_and_close_leaves_markers_and_settings(self):
        run = self.open_run()
        run.start()
        self.assertGot(run.origin, (256, 128), "window position on a 1024 x 768 screen")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("log.txt"), MARKERS + OK, "log.txt after WM_CLOSE")
        self.assertGot(len(run.read("qvnth.dat")), 256, "settings file size")
        self.assertFalse(run.exists("qvnth.dat.tmp"), "the temporary settings file is left behind")
        calls = run.trace()
        self.assertTrue(calls, "the simulated card was never called")
        self.assertGot(calls[-1][1], "Release", "last call in the card's trace")

    def test_escape_key_runs_shutdown_twice(self):
        run = self.open_run()
        run.start()
        run.key("Escape")
        self.assertGot(run.wait_exit(), 0, "exit code")
        log = run.read("log.txt")
        self.assertGot(len(log), 108, "log.txt size after Esc")
        self.assertGot(log, KEY_DOWN + MARKERS + OK + MARKERS + OK, "log.txt after Esc")


class SettingsFileTest(QuorvanTest):
    def test_unused_ranges_come_back_byte_for_byte(self):
        original = settings_bytes()
        run = self.open_run(files={"qvnth.dat": original})
        run.start()
        run.driver("close")
        run.wait_exit()
        saved = run.read("qvnth.dat")
        differing = [offset for offset in range(256) if saved[offset] != original[offset]]
        self.assertGot(differing, [], "offsets changed by a run that changed nothing")

    def test_start_deletes_an_old_log(self):
        run = self.open_run(files={"log.txt": b"left over from last time " * 20})
        run.start()
        self.assertFalse(run.exists("log.txt") and run.read("log.txt").startswith(b"left over"),
                         "log.txt from an earlier run is still there while the program runs")
        run.driver("close")
        run.wait_exit()
        self.assertGot(run.read("log.txt"), MARKERS + OK, "log.txt after the run")

    def test_read_only_settings_file_survives_unchanged(self):
        original = settings_bytes(language=3, sound=1, seed=11)
        run = self.open_run(files={"qvnth.dat": original})
        os.chmod(run.path("qvnth.dat"), stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        run.start()
        run.click(60, 350)  # language button: a change that would be saved
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("qvnth.dat"), original, "read-only settings file")


class NoCardTest(QuorvanTest):
    def test_without_the_card_the_program_ends_with_markers_and_settings(self):
        run = self.open_run(register_card=False)
        run.start()
        dialog = run.dialog()
        run.click_button(run.button(dialog, "OK"))
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("log.txt"), MARKERS, "log.txt without the card")
        self.assertGot(len(run.read("qvnth.dat")), 256, "settings file size")
