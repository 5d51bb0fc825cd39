#!/usr/bin/env python3
"""The rules by which scripts/make-sbom accepts or refuses an answer to an advisory: the vers
ranges of the records against the versions that ship, the product a record names, the left-out
list, and what the link map of Orvanta.exe says of the functions an answer names.

Usage: check_advisory_rules.py (run by ctest as packaging_advisory_rules)
"""

import copy
import importlib.machinery
import importlib.util
import os
import tempfile
import unittest

TREE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
_loader = importlib.machinery.SourceFileLoader(
    "make_sbom", os.path.join(TREE, "scripts", "make-sbom"))
sbom = importlib.util.module_from_spec(importlib.util.spec_from_loader("make_sbom", _loader))
_loader.exec_module(sbom)


class Vers(unittest.TestCase):
    def test_ranges(self):
        rows = [
            # range, version, held
            ("vers:generic/>=1.6.0|<1.6.59", "1.6.45", True),
            ("vers:generic/>=1.6.0|<1.6.59", "1.6.59", False),
            ("vers:generic/>=1.6.0|<=1.6.58", "1.6.58", True),
            ("vers:generic/<1.6.51", "1.6.45", True),
            ("vers:generic/<1.6.51", "1.6.51", False),
            # Four parts and three: zlib 1.3.1 comes before 1.3.1.2.
            ("vers:generic/>=1.3.1.2|<=1.3.2", "1.3.1", False),
            ("vers:generic/>=1.3.1.2|<=1.3.2", "1.3.1.2", True),
            ("vers:generic/>=0|<=1.3.1.2", "1.3.1", True),
            # Numbers, not text: 6.8.10 comes after 6.8.9, 6.10 after 6.9.
            ("vers:generic/>=6.8.0|<6.8.9", "6.8.10", False),
            ("vers:generic/>=6.0.0|<6.8.10", "6.8.9", True),
            # Two intervals in one range, and the gap between them.
            ("vers:generic/>=6.8.0|<6.8.9|>=6.9.0|<6.11.3", "6.10.1", True),
            ("vers:generic/>=6.8.0|<6.8.9|>=6.9.0|<6.11.3", "6.8.9", False),
            ("vers:generic/=1.8.0", "1.8.0", True),
            ("vers:generic/=1.8.0", "1.6.45", False),
            ("vers:generic/>=10.45|<10.48", "10.44", False),
            ("vers:generic/>=14.0", "14.6.0", True),
        ]
        for text, version, held in rows:
            with self.subTest(range=text, version=version):
                self.assertEqual(sbom.vers_contains(text, version), held)

    def test_malformed_ranges_are_refused(self):
        for text in ("vers:generic/<1.6.59|>=1.6.0", "vers:semver/<1.0", "libpng < 1.6.51",
                     "vers:generic/>=1.0|<"):
            with self.subTest(range=text), self.assertRaises(sbom.Failure):
                sbom.vers_constraints(text)

    def test_statuses(self):
        versions = [{"range": "vers:generic/<6.9.0", "status": "unknown"},
                    {"range": "vers:generic/>=6.9.0|<6.11.3", "status": "affected"},
                    {"version": "6.11.3", "status": "unaffected"}]
        rows = [("6.8.2", True), ("6.10.0", True), ("6.11.3", False), ("6.12.0", False)]
        for version, held in rows:
            with self.subTest(version=version):
                self.assertEqual(sbom.holds(versions, version), held)
        self.assertFalse(sbom.holds(versions, "6.8.2", ("affected",)))


def advisory(**changes):
    entry = {"id": "CVE-2026-0001", "component": "LibPNG", "product": "libpng",
             "source": {"name": "CVE record", "url": "https://example.org/CVE-2026-0001"},
             "published": "2026-09-29T01:26:38Z", "updated": None, "record": "no update",
             "versions": [{"range": "vers:generic/>=1.6.0|<1.6.59", "status": "affected"}],
             "summary": "A use-after-free in png_read_end.",
             "analysis": {"state": "not_affected", "justification": "code_not_reachable",
                          "functions": ["png_read_end"], "reason": "Rows first."},
             "firstIssued": "2026-12-07", "lastUpdated": "2026-12-08"}
    entry.update(changes)
    return entry


def left_out(**changes):
    entry = {k: v for k, v in advisory(id="CVE-2026-0002").items()
             if k not in ("analysis", "summary", "firstIssued", "lastUpdated")}
    entry.update({"versions": [{"range": "vers:generic/>=1.6.46|<1.6.59", "status": "affected"}],
                  "reason": "Begins after 1.6.45."}, **changes)
    return entry


DATA = {"reviews": [{"components": ["LibPNG"], "products": ["libpng"], "reviewed": "2026-12-08",
                     "sources": [{"name": "CVE records", "url": "https://example.org"}]},
                    {"components": ["Qt"], "products": ["qt"], "reviewed": "2026-12-08",
                     "sources": [{"name": "CVE records", "url": "https://example.org"}]}],
        "not_reviewed": {"components": ["WebGradients"], "reason": "data"},
        "advisories": [advisory()], "left_out": [left_out()]}
SHIPPED = {"LibPNG": "1.6.45", "Qt": "6.8.2", "WebGradients": None}


class Answers(unittest.TestCase):
    def check(self, data, shipped=SHIPPED):
        return sbom.check_advisories(data, shipped)

    def test_consistent_answers_pass(self):
        self.assertEqual(self.check(DATA), {"code_not_reachable": 1})

    def test_inconsistent_answers_are_refused(self):
        rows = [
            ("a range that no longer holds what ships", "advisories",
             advisory(versions=[{"range": "vers:generic/>=1.6.46|<1.6.59",
                                 "status": "affected"}]), SHIPPED, "holds"),
            ("a record that names another product", "advisories",
             advisory(product="webpack-dev-middleware"), SHIPPED, "names"),
            ("no versions from the record", "advisories", advisory(versions=[]), SHIPPED,
             "versions"),
            ("a version that is not vers", "advisories",
             advisory(versions=[{"range": "libpng < 1.6.59", "status": "affected"}]), SHIPPED,
             "vers"),
            ("a date missing without a word why", "advisories", advisory(record=None), SHIPPED,
             "updated"),
            ("not reachable, naming no function", "advisories",
             advisory(analysis={"state": "not_affected", "justification": "code_not_reachable",
                                "reason": "Rows first."}), SHIPPED, "functions"),
            ("last updated before first issued", "advisories",
             advisory(firstIssued="2026-12-09"), SHIPPED, "first issued"),
            ("a component that does not ship", "advisories", advisory(component="libjpeg"),
             SHIPPED, "ships"),
            ("left out, though its range holds what ships", "left_out",
             left_out(versions=[{"range": "vers:generic/<1.6.59", "status": "affected"}]),
             SHIPPED, "answer it"),
            ("left out, though what ships has no known version", "left_out", left_out(),
             SHIPPED | {"LibPNG": None}, "not known"),
            ("a component neither reviewed nor said not to be", "advisories", advisory(),
             SHIPPED | {"TinyCBOR": "0.6.0"}, "TinyCBOR"),
        ]
        for what, where, entry, shipped, message in rows:
            with self.subTest(what):
                data = copy.deepcopy(DATA)
                data[where] = [entry]
                with self.assertRaisesRegex(sbom.Failure, message):
                    self.check(data, shipped)


MAP = """Archive member included to satisfy reference by file (symbol)

Discarded input sections

 .text$png_image_finish_read
                0x0000000000000000      0x3c0 libQt6Gui.a(pngread.c.obj)

Linker script and memory map

 .text          0x0000000140001000     0x1200 libQt6Gui.a(pngread.c.obj)
                0x0000000140001000                png_read_end
                0x0000000140001400                QXmlStreamReader::readNext()
                0x0000000140001600                QHashPrivate::Data<QHashPrivate::Node<int, int> >::InsertionResult QHashPrivate::Data<QHashPrivate::Node<int, int> >::findOrInsert<int>(int const&)
 .text$png_do_quantize
                0x0000000140002200      0x1a0 libQt6Gui.a(pngrtran.c.obj)
 .text$_ZL13contextStringN23QXmlStreamReaderPrivate10XmlContextE
                0x0000000140002400       0x40 libQt6Core.a(qxmlstream.cpp.obj)
"""  # noqa: E501  (a linker's map has the C++ symbol on one line, however long)


class LinkMap(unittest.TestCase):
    def setUp(self):
        with tempfile.NamedTemporaryFile("w", suffix=".map", delete=False) as f:
            f.write(MAP)
        self.addCleanup(os.unlink, f.name)
        self.linked = sbom.linked_functions(f.name)

    def test_what_the_linker_kept(self):
        rows = [("png_read_end", True), ("QXmlStreamReader::readNext", True),
                ("QHashPrivate::Data<QHashPrivate::Node<int, int> >::findOrInsert<int>", True),
                ("png_do_quantize", True),  # static: a section of its own, no symbol
                ("contextString", True),  # the same, its section's name mangled
                ("QXmlStreamReader::readElementText", False),
                ("png_image_finish_read", False),  # dropped by the linker
                ("png_set_quantize", False)]
        for function, linked in rows:
            with self.subTest(function=function):
                self.assertEqual(function in self.linked, linked)

    def test_answers_against_the_map(self):
        present = {"state": "not_affected", "justification": "code_not_present",
                   "absent": "Simplified API."}
        rows = [
            ("reachable code that is linked", advisory(), None),
            ("absent code that is not linked", advisory(analysis=present | {
                "functions": ["png_image_finish_read"]}), None),
            ("absent code that is linked after all", advisory(analysis=present | {
                "functions": ["png_read_end"]}), "not present"),
            ("reachable code that is not linked", advisory(analysis=advisory()["analysis"] | {
                "functions": ["png_image_finish_read"]}), "code_not_present"),
        ]
        for what, entry, message in rows:
            with self.subTest(what):
                data = {"advisories": [entry]}
                if message is None:
                    sbom.check_link_map(data, self.linked, say=lambda _: None)
                else:
                    with self.assertRaisesRegex(sbom.Failure, message):
                        sbom.check_link_map(data, self.linked, say=lambda _: None)


if __name__ == "__main__":
    unittest.main()
