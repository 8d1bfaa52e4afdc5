#!/usr/bin/env python3
"""The layer check finds what it must on a small tree, and passes the product's own."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_layers  # noqa: E402


def tree(files):
    root = tempfile.mkdtemp()
    for path, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, path), "w") as f:
            f.write(text)
    return root


class LayerCheck(unittest.TestCase):
    def test_finds_up_sideways_cycle_and_missing_header(self):
        root = tree({
            "core/a.h": '#include "window/b.h"\n',
            "window/b.h": "",
            "tuner/c.h": '#include "feedback/d.h"\n',
            "feedback/d.h": "",
            "app/e.h": '#include "app/f.h"\n',
            "app/f.h": '#include "app/e.h"\n',
            "core/g.cpp": '#include "core/g2.h"\n',
            "core/g2.h": "",
            "watch/h.h": '#include "tuner/c.h"\n#include "core/a.h"\n',
        })
        problems = "\n".join(check_layers.breaches(root))
        self.assertIn("core/a.h includes window/b.h: up a layer", problems)
        self.assertIn("tuner/c.h includes feedback/d.h: sideways a layer", problems)
        self.assertIn("include cycle: app/e.h -> app/f.h -> app/e.h", problems)
        self.assertIn("core/g.cpp has no header of its own", problems)
        self.assertNotIn("watch/h.h", problems)

    def test_product_code_keeps_its_layers(self):
        root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
        self.assertEqual(check_layers.breaches(root), [])


if __name__ == "__main__":
    unittest.main()
