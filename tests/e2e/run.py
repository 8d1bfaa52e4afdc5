#!/usr/bin/env python3
"""Runs the end-to-end tests (tests/e2e/test_*.py) one after another; exit code 1 on any failure.

  run.py               every test that is quick enough for make test
  run.py --long        also the long ones (make test-long)
  run.py -k calculator only tests whose id contains the word
"""
import argparse
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))


def selected(suite, word):
    for test in suite:
        if isinstance(test, unittest.TestSuite):
            yield from selected(test, word)
        elif word is None or word in test.id():
            yield test


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--long", action="store_true")
    parser.add_argument("-k", dest="word")
    options = parser.parse_args()
    if options.long:
        os.environ["QV_E2E_LONG"] = "1"
    sys.path.insert(0, HERE)
    suite = unittest.TestSuite(selected(unittest.defaultTestLoader.discover(HERE, pattern="test_*.py"),
                                        options.word))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
