"""kvrtool draw -o t.dxf, read back by ezdxf: an AutoCAD 2000 drawing in
metres that its audit finds nothing wrong with, one line per member on its
group's layer, the forces as texts, the same bytes in every locale.
    dxf_reads_back.py KVRTOOL"""
import collections
import os
import subprocess
import sys
import tempfile
import unittest

import ezdxf

KVRTOOL = sys.argv.pop(1)

# panels, span (m), height (m), --forces, locale, a force text the statics give
ROWS = [
    (1, 6, 1, False, "C.UTF-8", None),
    (7, 6, 1, True, "de_DE.UTF-8", None),
    # the top chord at mid-span: -M / h = -w L^2 / (8 h) = -10 x 24^2 / 16
    (12, 24, 2, True, "C.UTF-8", "-360"),
    (40, 18, 1.5, False, "C.UTF-8", None),
]


def drawn(directory, panels, span, height, forces, locale):
    truss, dxf = os.path.join(directory, "t.kvr"), os.path.join(directory, locale + ".dxf")
    env = dict(os.environ, LC_ALL=locale)
    for command in (["generate", "--span", str(span), "--height", str(height), "--panels", str(panels),
                     "--area", "2000", "--e", "210", "--udl", "10", "-o", truss],
                    ["draw", truss, "-o", dxf] + (["--forces"] if forces else [])):
        subprocess.run([KVRTOOL] + command, env=env, check=True, stdout=subprocess.DEVNULL)
    return dxf


class DxfReadsBack(unittest.TestCase):
    def test_rows(self):
        for panels, span, height, forces, locale, force in ROWS:
            with self.subTest(panels=panels, forces=forces, locale=locale), tempfile.TemporaryDirectory() as directory:
                dxf = drawn(directory, panels, span, height, forces, locale)
                doc = ezdxf.readfile(dxf)
                self.assertEqual((doc.dxfversion, doc.header["$INSUNITS"], doc.header["$MEASUREMENT"]), ("AC1015", 6, 1))
                audit = doc.audit()
                self.assertEqual([str(e) for e in audit.errors + audit.fixes], [])

                # Each line where its layer says: the chords at 0 and at the
                # height, the verticals upright, the diagonals neither.
                lies = {
                    "bottom chord": lambda a, b: a.y == b.y == 0,
                    "top chord": lambda a, b: a.y == b.y == height,
                    "vertical": lambda a, b: a.x == b.x and a.y != b.y,
                    "diagonal": lambda a, b: a.x != b.x and a.y != b.y,
                }
                lines = collections.Counter()
                for line in doc.modelspace().query("LINE"):
                    if line.dxf.layer in lies:
                        lines[line.dxf.layer] += 1
                        self.assertTrue(lies[line.dxf.layer](line.dxf.start, line.dxf.end), line.dxf.layer)
                self.assertEqual(lines, {"bottom chord": panels, "top chord": panels, "vertical": panels + 1,
                                         "diagonal": panels + panels % 2})

                labels = [t.dxf.text for t in doc.modelspace().query("TEXT")
                          if t.dxf.layer == ("member forces" if forces else "member numbers")]
                self.assertEqual(len(labels), sum(lines.values()))
                if force:
                    self.assertIn(force, labels)
                if locale != "C.UTF-8":
                    with open(dxf, "rb") as there, open(drawn(directory, panels, span, height, forces, "C.UTF-8"), "rb") as here:
                        self.assertEqual(there.read(), here.read())


if __name__ == "__main__":
    unittest.main()
