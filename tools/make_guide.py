#!/usr/bin/env python3
"""`make guide`: remakes the user guide's pictures from the built program (dist/win64) under Wine
on a virtual 1024 x 768 screen with the simulated card, into guide/UserGuide_files/."""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import guide_shots  # noqa: E402
import quorvan_e2e as e2e  # noqa: E402


def main():
    out_dir = os.path.join(guide_shots.GUIDE_DIR, guide_shots.PICTURES)
    desktop = e2e.Desktop(1024, 768)
    runs = []

    def open_run(name, **options):
        runs.append(e2e.Run(desktop, name, **options))
        return runs[-1]

    try:
        made = guide_shots.make_pictures(desktop, out_dir, open_run)
    except AssertionError as failure:
        print("guide: stopped early, %s" % failure)
        return 1
    finally:
        for run in runs:
            run.stop()
        desktop.close()
    for name in guide_shots.NAMES:
        print("guide: %s" % made[name])
    return 0


if __name__ == "__main__":
    sys.exit(main())
