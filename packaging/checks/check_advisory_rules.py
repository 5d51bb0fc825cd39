#!/usr/bin/python3
"""The rules by which scripts/make-sbom accepts or refuses an answer to an advisory: the vers
ranges of the records against the versions that ship, in Debian's order, the product a record
names, the left-out list, what the link map of Orvanta.exe says was linked, and which package
each linked library must come from.

Usage: check_advisory_rules.py (run by ctest as packaging_advisory_rules)
"""

import copy
import importlib.machinery
import importlib.util
import os
import tempfile
import unittest
from unittest import mock

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
            ("vers:generic/<1.6.51", "1.6.51", False),
            # Four parts and three: 1.3.1 comes before 1.3.1.2.
            ("vers:generic/>=1.3.1.2|<=1.3.2", "1.3.1", False),
            ("vers:generic/>=1.3.1.2|<=1.3.2", "1.3.1.2", True),
            # Numbers, not text: 6.8.10 comes after 6.8.9, 6.10 after 6.9, 14 after 8.
            ("vers:generic/>=6.8.0|<6.8.9", "6.8.10", False),
            ("vers:generic/>=6.0.0|<6.8.10", "6.8.9", True),
            ("vers:generic/>=4.1|<=8", "14.2.0", False),
            # A pre-release comes before its release and after what came before it: "6.8.2~rc1"
            # is not above "6.8.10", as splitting it at dots would make it.
            ("vers:generic/>=6.8.10", "6.8.2~rc1", False),
            ("vers:generic/<6.8.10", "6.8.2~rc1", True),
            ("vers:generic/>=6.8.2", "6.8.2~rc1", False),
            ("vers:generic/>=6.8.1|<6.8.2", "6.8.2~rc1", True),
            # Two intervals in one range, and the gap between them.
            ("vers:generic/>=6.8.0|<6.8.9|>=6.9.0|<6.11.3", "6.10.1", True),
            ("vers:generic/>=6.8.0|<6.8.9|>=6.9.0|<6.11.3", "6.8.9", False),
            ("vers:generic/<=5.0.3|=5.0.4|=6.0.0|=7.0.0", "6.0.0", True),
            ("vers:generic/<=5.0.3|=5.0.4|=6.0.0|=7.0.0", "12.0.0", False),
            ("vers:generic/>=14.0", "14.2.0", True),
        ]
        for text, version, held in rows:
            with self.subTest(range=text, version=version):
                self.assertEqual(sbom.vers_contains(text, version), held)

    def test_malformed_ranges_are_refused(self):
        for text in ("vers:generic/<1.6.59|>=1.6.0", "vers:semver/<1.0", "libpng < 1.6.51",
                     "vers:generic/>=1.0|<", "vers:generic/<6.8.10|>=6.8.2~rc1"):
            with self.subTest(range=text), self.assertRaises(sbom.Failure):
                sbom.vers_constraints(text)

    def test_statuses(self):
        versions = [{"range": "vers:generic/<6.9.0", "status": "unknown"},
                    {"range": "vers:generic/>=6.9.0|<6.11.3", "status": "affected"},
                    {"version": "6.11.3", "status": "unaffected"},
                    # Words, as a record may give them, name no version that could ship.
                    {"version": "All versions of GCC that target AArch64", "status": "affected"}]
        rows = [("6.8.2", True), ("6.10.0", True), ("6.11.3", False), ("6.12.0", False),
                ("14.2.0", False)]
        for version, held in rows:
            with self.subTest(version=version):
                self.assertEqual(sbom.holds(versions, version), held)
        self.assertFalse(sbom.holds(versions, "6.8.2", ("affected",)))

    def test_upstream_versions(self):
        rows = [("14.2.0-19+27+b1", "14.2.0"), ("12.0.0-5", "12.0.0"), ("1:2.41-1", "2.41"),
                ("3.11", "3.11"), ("6.8.2+dfsg-9+deb13u2", "6.8.2+dfsg")]
        for debian, upstream in rows:
            with self.subTest(version=debian):
                self.assertEqual(sbom.upstream_version(debian), upstream)


GCC = "GCC run-time libraries"


def advisory(**changes):
    entry = {"id": "CVE-2026-0001", "component": GCC, "product": "libstdc++",
             "source": {"name": "CVE record", "url": "https://example.org/CVE-2026-0001"},
             "published": "2026-09-29T01:26:38Z", "updated": None, "record": "no update",
             "versions": [{"range": "vers:generic/>=14.0|<14.3", "status": "affected"}],
             "summary": "An out-of-bounds read in std::from_chars.",
             "analysis": {"state": "not_affected", "justification": "code_not_reachable",
                          "functions": ["std::from_chars"], "reason": "Only whole strings."},
             "firstIssued": "2026-12-07", "lastUpdated": "2026-12-08"}
    entry.update(changes)
    return entry


def left_out(**changes):
    entry = {k: v for k, v in advisory(id="CVE-2026-0002").items()
             if k not in ("analysis", "summary", "firstIssued", "lastUpdated")}
    entry.update({"versions": [{"range": "vers:generic/>=4.1|<=8", "status": "affected"}],
                  "reason": "Ends before 14."}, **changes)
    return entry


DATA = {"reviews": [{"components": [GCC], "products": ["gcc", "libstdc++"],
                     "reviewed": "2026-12-08",
                     "sources": [{"name": "CVE records", "url": "https://example.org"}]},
                    {"components": ["NSIS"], "products": ["nsis"], "reviewed": "2026-12-08",
                     "sources": [{"name": "CVE records", "url": "https://example.org"}]}],
        "advisories": [advisory()], "left_out": [left_out()],
        "searches": {"members_digest": "0" * 64,
                     "done": [{"corpus": "docs", "query": "libstdc++", "results": 12,
                               "left_off": 2, "found": "a record"},
                              {"read": "a record", "found": "all of it"}]}}
SHIPPED = {GCC: "14.2.0", "NSIS": "3.11"}


class Answers(unittest.TestCase):
    def check(self, data, shipped=SHIPPED):
        return sbom.check_advisories(data, shipped)

    def test_consistent_answers_pass(self):
        self.assertEqual(self.check(DATA), {"code_not_reachable": 1})
        # A record that names no version at all, and says so.
        data = copy.deepcopy(DATA)
        data["advisories"] = [advisory(versions=[], record="names Red Hat products only")]
        self.assertEqual(self.check(data), {"code_not_reachable": 1})

    def test_inconsistent_answers_are_refused(self):
        rows = [
            ("a range that no longer holds what ships", "advisories",
             advisory(versions=[{"range": "vers:generic/>=14.3", "status": "affected"}]),
             SHIPPED, "holds"),
            ("a record that names another product", "advisories",
             advisory(product="webpack-dev-middleware"), SHIPPED, "names"),
            ("no versions from the record, and no word why", "advisories",
             advisory(versions=[], record=None, updated="2026-10-01T00:00:00Z"), SHIPPED,
             "versions"),
            ("a version that is not vers", "advisories",
             advisory(versions=[{"range": "gcc < 14.3", "status": "affected"}]), SHIPPED,
             "vers"),
            ("a date missing without a word why", "advisories", advisory(record=None), SHIPPED,
             "updated"),
            ("not reachable, naming no function", "advisories",
             advisory(analysis={"state": "not_affected", "justification": "code_not_reachable",
                                "reason": "Only whole strings."}), SHIPPED, "functions"),
            ("resolved, which only a fix in what ships could be", "advisories",
             advisory(analysis={"state": "resolved"}), SHIPPED, "not answered"),
            ("last updated before first issued", "advisories",
             advisory(firstIssued="2026-12-09"), SHIPPED, "first issued"),
            ("a component that does not ship", "advisories", advisory(component="Qt"),
             SHIPPED, "ships"),
            ("left out, though its range holds what ships", "left_out",
             left_out(versions=[{"range": "vers:generic/<14.3", "status": "affected"}]),
             SHIPPED, "answer it"),
            ("left out, though what ships has no known version", "left_out", left_out(),
             SHIPPED | {GCC: None}, "not known"),
            ("a component that ships but is not reviewed", "advisories", advisory(),
             SHIPPED | {"MinGW-w64 run-time libraries": "12.0.0"}, "MinGW-w64"),
            ("guarded by a control, naming no function", "advisories",
             advisory(analysis={"state": "not_affected",
                                "justification": "protected_by_mitigating_control",
                                "reason": "A null after the characters."}), SHIPPED,
             "functions"),
            ("guarded by a control, not saying which", "advisories",
             advisory(analysis={"state": "not_affected",
                                "justification": "protected_by_mitigating_control",
                                "functions": ["std::from_chars"]}), SHIPPED, "functions"),
        ]
        for what, where, entry, shipped, message in rows:
            with self.subTest(what):
                data = copy.deepcopy(DATA)
                data[where] = [entry]
                with self.assertRaisesRegex(sbom.Failure, message):
                    self.check(data, shipped)

    def test_the_search_is_recorded(self):
        query = DATA["searches"]["done"][0]
        rows = [
            ("no digest of the members searched for", {"members_digest": "none"}, "digest"),
            ("no search at all", {"done": []}, "no search"),
            ("a corpus the search tool has not", {"done": [query | {"corpus": "web"}]},
             "not a search"),
            ("how many were left off, not said", {"done": [
                {k: v for k, v in query.items() if k != "left_off"}]}, "not a search"),
            ("a count that is no count", {"done": [query | {"results": "12"}]}, "not a search"),
            ("a file read, not saying what it held", {"done": [{"read": "a record"}]},
             "not a search"),
        ]
        for what, change, message in rows:
            with self.subTest(what):
                data = copy.deepcopy(DATA)
                data["searches"].update(change)
                with self.assertRaisesRegex(sbom.Failure, message):
                    self.check(data)

    def test_unused_code_is_checked_against_the_sources(self):
        absent = {"state": "not_affected", "justification": "code_not_present",
                  "absent": "A header template.", "unused": ["bitset"]}
        data = copy.deepcopy(DATA)
        data["advisories"] = [advisory(analysis=absent)]
        sources = {"bitset": ["app/window.cpp"]}
        with mock.patch.object(sbom, "naming", lambda text: sources.get(text, [])):
            with self.assertRaisesRegex(sbom.Failure, "app/window.cpp"):
                self.check(data)
            sources.clear()
            self.assertEqual(self.check(data), {"code_not_present": 1})


LIB = "/usr/lib/gcc/x86_64-w64-mingw32/14-posix"
CRT = LIB + "/../../../../x86_64-w64-mingw32/lib"
# As GNU ld writes it for a static MinGW-w64 link run in the build folder: archive members with
# the file that wanted them on the next line, or on the same line when the path is short; a
# folder with spaces and parentheses; the linker's own "dll stuff"; sections it dropped.
MAP = f"""Archive member included to satisfy reference by file (symbol)

{LIB}/libstdc++.a(floating_from_chars.o)
                              CMakeFiles/Orvanta.dir/rate/rate.cpp.obj (std::from_chars(char const*, char const*, double&, std::chars_format))
librate.a(rate.cpp.obj)       CMakeFiles/Orvanta.dir/app/main.cpp.obj (rate::convert)
{CRT}/libpthread.a(libwinpthread_la-mutex.o)
                              {LIB}/libstdc++.a(floating_from_chars.o) (pthread_mutex_lock)
/home/builder/orvanta (2)/build/libui.a(window.cpp.obj)
                              CMakeFiles/Orvanta.dir/app/main.cpp.obj (ui::show)

Discarded input sections

 .text$_ZNSt6bitsetILy8EE5resetEv
                0x0000000000000000       0x40 CMakeFiles/Orvanta.dir/app/main.cpp.obj

Memory Configuration

Linker script and memory map

LOAD {CRT}/crt2u.o
LOAD {LIB}/crtbegin.o
LOAD CMakeFiles/Orvanta.dir/app/main.cpp.obj
LOAD {LIB}/libstdc++.a
LOAD {CRT}/libuser32.a
LOAD dll stuff
 .text          0x0000000140001000     0x1200 {LIB}/libstdc++.a(floating_from_chars.o)
                0x0000000140001000                std::from_chars(char const*, char const*, double&, std::chars_format)
                0x0000000140001600                std::__detail::__to_chars_10_impl<unsigned int>(char*, unsigned int, unsigned int)
                0x0000000140001800                void std::vector<bool, std::allocator<bool> >::_M_initialize<int>(int)
 .text$_ZNSt6bitsetILy8EE3setEv
                0x0000000140002200       0x40 CMakeFiles/Orvanta.dir/app/main.cpp.obj
 .text$_ZL14parse_mantissaPKcS0_
                0x0000000140002400       0x40 {LIB}/libstdc++.a(floating_from_chars.o)
"""  # noqa: E501  (a linker's map has the C++ symbol on one line, however long)


class LinkMap(unittest.TestCase):
    def setUp(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(os.rmdir, folder)
        self.map = os.path.join(folder, "Orvanta.map")
        with open(self.map, "w", encoding="utf-8") as f:
            f.write(MAP)
        self.addCleanup(os.unlink, self.map)
        self.folder = folder
        self.linked = sbom.linked_functions(self.map) | sbom.linked_members(self.map)

    def test_members_searched_for(self):
        # Not the members of the libraries in the build folder (librate.a): those change with
        # Orvanta's code, not with what the advisories were searched for.
        expected = sbom.sha256("libpthread.a(libwinpthread_la-mutex.o)\n"
                               "libstdc++.a(floating_from_chars.o)\n"
                               "libui.a(window.cpp.obj)\n".encode())
        self.assertEqual(sbom.members_digest(self.map), expected)

    def test_what_the_linker_kept(self):
        rows = [("std::from_chars", True),
                ("std::__detail::__to_chars_10_impl<unsigned int>", True),
                ("std::vector<bool, std::allocator<bool> >::_M_initialize<int>", True),
                ("std::bitset<8ull>::set", True),  # a section of its own, the name mangled
                ("parse_mantissa", True),  # static: a section of its own, no symbol
                ("std::bitset<8ull>::reset", False),  # dropped by the linker
                ("std::to_chars", False),
                ("libstdc++.a(floating_from_chars.o)", True),
                ("libpthread.a(libwinpthread_la-mutex.o)", True),
                ("libstdc++.a(new_opa.o)", False)]
        for name, linked in rows:
            with self.subTest(name=name):
                self.assertEqual(name in self.linked, linked)

    def test_files_linked(self):
        files = sbom.linked_files(self.map)
        rows = [(os.path.normpath(f"{LIB}/libstdc++.a"), "floating_from_chars.o", True),
                (os.path.join(self.folder, "librate.a"), "rate.cpp.obj", True),
                ("/home/builder/orvanta (2)/build/libui.a", "window.cpp.obj", True),
                (os.path.normpath(f"{CRT}/crt2u.o"), None, True),
                (os.path.join(self.folder, "CMakeFiles/Orvanta.dir/app/main.cpp.obj"), None,
                 True),
                # An archive loaded is not linked: only the members taken from it are.
                (os.path.normpath(f"{CRT}/libuser32.a"), None, False),
                (os.path.join(self.folder, "dll stuff"), None, False)]
        for path, member, linked in rows:
            with self.subTest(path=path, member=member):
                self.assertEqual((path, member) in files, linked)

    def test_answers_against_the_map(self):
        present = {"state": "not_affected", "justification": "code_not_present",
                   "absent": "Not compiled in."}
        guarded = {"state": "not_affected", "justification": "protected_by_mitigating_control",
                   "functions": ["std::from_chars"], "reason": "A null after the characters."}
        rows = [
            ("reachable code that is linked", advisory(), None),
            ("absent code that is not linked", advisory(analysis=present | {
                "functions": ["std::to_chars"], "members": ["libstdc++.a(new_opa.o)"]}), None),
            ("absent code that is linked after all", advisory(analysis=present | {
                "functions": ["std::from_chars"]}), "not present"),
            ("an absent member that is linked after all", advisory(analysis=present | {
                "members": ["libstdc++.a(floating_from_chars.o)"]}), "not present"),
            ("reachable code that is not linked", advisory(analysis=advisory()["analysis"] | {
                "functions": ["std::to_chars"]}), "code_not_present"),
            ("guarded code that is linked", advisory(analysis=guarded), None),
            ("guarded code that is not linked", advisory(analysis=guarded | {
                "functions": ["std::to_chars"]}), "code_not_present"),
            ("left out as not linked, and not linked", left_out(members=[
                "libstdc++.a(cp-demangle.o)"]), None),
            ("left out as not linked, but linked", left_out(members=[
                "libstdc++.a(floating_from_chars.o)"]), "left out as not linked"),
        ]
        for what, entry, message in rows:
            with self.subTest(what):
                data = {"advisories": [entry] if "analysis" in entry else [],
                        "left_out": [] if "analysis" in entry else [entry]}
                if message is None:
                    sbom.check_link_map(data, self.linked, say=lambda _: None)
                else:
                    with self.assertRaisesRegex(sbom.Failure, message):
                        sbom.check_link_map(data, self.linked, say=lambda _: None)

    def components(self, held):
        sbom.linked_components.cache_clear()
        self.addCleanup(sbom.linked_components.cache_clear)

        def owners(paths):
            return {p: held[os.path.basename(p)] for p in paths if os.path.basename(p) in held}

        with mock.patch.object(sbom, "owners", owners):
            return sbom.linked_components(self.map)

    def test_linked_libraries_by_package(self):
        gcc = ("g++-mingw-w64-x86-64-posix", "14.2.0-19+27+b1", "gcc-mingw-w64", "27")
        gcc_c = ("gcc-mingw-w64-x86-64-posix", "14.2.0-19+27+b1", "gcc-mingw-w64", "27")
        mingw = ("mingw-w64-x86-64-dev", "12.0.0-5", "mingw-w64", "12.0.0-5")
        held = {"libstdc++.a": gcc, "crtbegin.o": gcc_c, "crt2u.o": mingw, "libpthread.a": mingw,
                "libui.a": ("orvanta-ui", "1.0", "", "")}
        # Orvanta's own library outside the build folder is no package's and no run-time's.
        with self.assertRaisesRegex(sbom.Failure, "libui.a from orvanta-ui"):
            self.components(held)
        del held["libui.a"]
        with self.assertRaisesRegex(sbom.Failure, "libui.a, which no package"):
            self.components(held)

    def test_a_toolkit_linked_in_is_refused(self):
        held = {"libstdc++.a": ("libqt6core6t64", "6.8.2+dfsg-9", "qt6-base", "6.8.2+dfsg-9")}
        with mock.patch.object(sbom, "linked_files", lambda _: {
                (f"{LIB}/libstdc++.a", "qcore.o")}):
            with self.assertRaisesRegex(sbom.Failure, "qt6-base"):
                self.components(held)

    def test_run_times_grouped_by_source(self):
        gcc = ("g++-mingw-w64-x86-64-posix", "14.2.0-19+27+b1", "gcc-mingw-w64", "27")
        mingw = ("mingw-w64-x86-64-dev", "12.0.0-5", "mingw-w64", "12.0.0-5")
        held = {"libstdc++.a": gcc, "crtbegin.o": gcc, "crt2u.o": mingw, "libpthread.a": mingw}
        files = {(f"{LIB}/libstdc++.a", "eh_alloc.o"), (f"{LIB}/crtbegin.o", None),
                 (f"{CRT}/crt2u.o", None), (f"{CRT}/libpthread.a", "libwinpthread_la-mutex.o"),
                 (os.path.join(self.folder, "main.cpp.obj"), None)}
        with mock.patch.object(sbom, "linked_files", lambda _: files):
            found = self.components(held)
        self.assertEqual(found["GCC run-time libraries"]["version"], "14.2.0")
        self.assertEqual(found["GCC run-time libraries"]["source_version"], "27")
        self.assertEqual(found["GCC run-time libraries"]["files"], {"libstdc++.a", "crtbegin.o"})
        self.assertEqual(found["MinGW-w64 run-time libraries"]["files"],
                         {"crt2u.o", "libpthread.a (winpthreads)"})


class Notices(unittest.TestCase):
    """The notices' headings against what the link map says was linked."""

    def test_headings_name_what_is_linked(self):
        gcc = {"version": "14.2.0", "source": "gcc-mingw-w64", "files": {"libstdc++.a"}}
        mingw = {"version": "12.0.0", "source": "mingw-w64", "files": {"crt2u.o"}}
        plain = "GPL-3.0-or-later WITH GCC-exception-3.1"
        with_demangler = plain + " AND GPL-2.0-or-later WITH GCC-exception-2.0"
        demangler = {"libstdc++.a(cp-demangle.o)"}
        rows = [
            # what is linked, the headings, the failure expected (None: none)
            ({GCC: gcc, "MinGW-w64 run-time libraries": mingw}, set(),
             {GCC: ("14.2.0", plain), "MinGW-w64 run-time libraries": ("12.0.0", "ZPL-2.1")},
             None),
            ({GCC: gcc}, set(), {GCC: ("14.2.0", plain)}, None),
            ({GCC: gcc}, demangler, {GCC: ("14.2.0", with_demangler)}, None),
            ({GCC: gcc}, demangler, {GCC: ("14.2.0", plain)}, "which it does"),
            ({GCC: gcc}, set(), {GCC: ("14.2.0", with_demangler)}, "which it does not"),
            ({GCC: gcc}, set(), {GCC: ("14.1.0", plain)}, "linked with gcc-mingw-w64 14.2.0"),
            ({GCC: gcc, "MinGW-w64 run-time libraries": mingw}, set(), {GCC: ("14.2.0", plain)},
             "no heading"),
            ({GCC: gcc}, set(),
             {GCC: ("14.2.0", plain), "MinGW-w64 run-time libraries": ("12.0.0", "ZPL-2.1")},
             "does not link"),
        ]
        for linked, members, headings, message in rows:
            with self.subTest(linked=sorted(linked), members=sorted(members),
                              headings=headings), \
                    mock.patch.object(sbom, "linked_components", lambda _: linked), \
                    mock.patch.object(sbom, "linked_members", lambda _: members), \
                    mock.patch.object(sbom, "notice_headings", lambda: headings), \
                    mock.patch.object(sbom, "nsis_installed", lambda: ("3.11", "nsis", "3.11-1")):
                if message is None:
                    self.assertEqual(sbom.built_versions("Orvanta.map")["NSIS"], "3.11")
                else:
                    with self.assertRaisesRegex(sbom.Failure, message):
                        sbom.built_versions("Orvanta.map")


if __name__ == "__main__":
    unittest.main()
