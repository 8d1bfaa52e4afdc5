"""A BDA satellite tuner instead of the maker's card: the simulated BDA tuner (bdasim.ax) registered alone,
then both simulated tuners; the maker's card wins when both are there. With neither the program ends with
message kind 4 (test_message_dialog)."""
import time

from quorvan_e2e import wait_for
from test_watching import (ABOUT, DOUBLE_CLICK_GAP, LEVEL, MARKERS, OK, QUALITY, VALUE_COLOUR, WatchingCase, dialogs,
                           settings_bytes)
from test_window import ocr_lines

TEXT_TOP = 72  # the message dialog's text rectangle, client coordinates

TUNER_NOTE = b"tuner Quorvan simulated DVB-S2 tuner;\0\0\0"
S2_TRANSPONDER = "11720,H,27500,S2"
# Level 50 and quality 40 from the first tune; 11720 MHz is DVB-S2 for the simulated tuner.
SCRIPT = "0 1 50 40\ns2 11720\n"
DVB_S_SETTINGS = [["Frequency", "11778000"], ["Polarisation", "V"], ["LowOscillator", "9750000"],
                  ["HighOscillator", "10600000"], ["Switch", "11700000"], ["SymbolRate", "27500"],
                  ["Modulation", "QPSK"], ["DiseqcPort", "B"], ["Commit"]]


def committed(run):
    """The settings of each commit in the simulated tuner's trace, without their times."""
    commits, current = [], []
    for line in run.trace():
        if line[1] in ("ReadSignal", "Stop", "Release"):
            continue
        current.append(line[1:])
        if line[1] == "Commit":
            commits.append(current)
            current = []
    return commits


class BdaTunerTest(WatchingCase):
    def test_only_the_bda_tuner_watches_dvb_s_and_dvb_s2_and_shuts_down(self):
        run = self.open_watch_run(script=SCRIPT, register_card=False, bda=True)
        self.assertGot([d for d in run.state()["dialogs"] if d["visible"]], [], "dialogs after start-up")
        run.click(*ABOUT)
        about = run.dialog()
        screen = self.desktop.grab(about["rect"]["x"] + 21, about["rect"]["y"] + 1 + TEXT_TOP, 440, 22)
        self.assertGot(ocr_lines(run.path(""), "about", [screen]), ["Tuner: Quorvan simulated DVB-S2 tuner"],
                       "the about message's text")
        run.click_button(run.button(about, "OK"))
        wait_for(lambda: not dialogs(run), 10, interval=0.2, what="the about message to close")
        self.choose_ku_high_band_on_lnb2(run)
        self.press_start(run)

        meter = self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 143, "the level bar of 50")
        self.assertGot(meter.bar_width(QUALITY), 114, "quality bar of 40")
        self.assertGot(meter.start_button(), "green", "start button with signal")
        self.assertGot([len(meter.glyphs(row, VALUE_COLOUR)[0]) for row in (LEVEL, QUALITY)], [3, 3],
                       "glyphs of '50%' and '40%'")
        self.assertGot(committed(run)[0], DVB_S_SETTINGS, "settings of the first commit for 11778 V 27500 on LNB2")
        time.sleep(DOUBLE_CLICK_GAP)  # a second press within the double-click time opens the signal log
        self.stop_and_watch_the_status_box(run)
        time.sleep(DOUBLE_CLICK_GAP)

        run.driver("settext", 112, S2_TRANSPONDER)
        self.press_start(run)
        self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 143, "the level bar of 50 on the DVB-S2 transponder")
        modulations = [dict((s[0], s[-1]) for s in commit)["Modulation"] for commit in committed(run)[1:]]
        self.assertGot(modulations[0], "NBC-8PSK", "first modulation tried for the DVB-S2 transponder")
        reads = [line for line in run.calls("ReadSignal")]
        self.assertGot(reads[-1][2:], ["1", "50", "40"], "last read on the DVB-S2 transponder")
        time.sleep(DOUBLE_CLICK_GAP)  # meanwhile a few blocks of the transport stream reach the sink
        self.stop_and_watch_the_status_box(run)

        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("log.txt"), TUNER_NOTE + MARKERS + OK, "log.txt")
        names = [line[1] for line in run.trace()]
        self.assertGot(names[-1], "Release", "last line of the tuner's trace")
        taken = [int(line[2]) for line in run.calls("Stop")]
        self.assertTrue(taken and taken[-1] > 0, "got transport stream packets taken by the sink %s, expected some" % taken)

    def test_with_both_the_makers_card_is_used(self):
        run = self.open_watch_run(script=SCRIPT, register_card=True, bda=True)
        run.driver("settext", 112, "11778,V,27500")
        self.press_start(run)
        self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 143, "the level bar of 50")
        names = {line[1] for line in run.trace()}
        self.assertGot(sorted(names & {"Tune", "Commit"}), ["Tune"], "calls of the card and the BDA tuner")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("log.txt"), MARKERS + OK, "log.txt")

    def test_c_band_on_lnb4_with_strength_in_percent(self):
        run = self.open_watch_run(script="0 1 35 20\nstrength percent\n", settings=settings_bytes(lnb=4),
                                  register_card=False, bda=True)
        run.driver("settext", 112, "3799500,L,27500")
        self.press_start(run)
        meter = self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 100, "the level bar of 35")
        self.assertGot(meter.bar_width(QUALITY), 57, "quality bar of 20")
        self.assertGot(committed(run)[0], [["Frequency", "3799000"], ["Polarisation", "H"], ["LowOscillator", "5150000"],
                                           ["HighOscillator", "5750000"], ["Switch", "11700000"],
                                           ["SymbolRate", "27500"], ["Modulation", "QPSK"], ["DiseqcPort", "D"],
                                           ["Commit"]], "settings of the commit for 3799500 kHz, L, 27500 on LNB4")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")

    def test_dvb_s2_retunes_alternate_8psk_and_qpsk_until_lock(self):
        run = self.open_watch_run(script="0 0 0 0\n1500 1 60 50\ns2 11720\n", register_card=False, bda=True)
        run.driver("settext", 112, S2_TRANSPONDER)
        self.press_start(run)
        self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 171, "the level bar of 60 once the signal comes")
        modulations = [dict((s[0], s[-1]) for s in commit)["Modulation"] for commit in committed(run)]
        self.assertGot(modulations[:4], ["NBC-8PSK", "NBC-QPSK", "NBC-8PSK", "NBC-QPSK"],
                       "modulations of the first four tunes while unlocked")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
