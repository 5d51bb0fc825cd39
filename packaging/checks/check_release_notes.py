#!/usr/bin/env python3
"""Feeds scripts/release-notes notes that break the form RELEASE-NOTES.md keeps, each of which it
must refuse, and notes that keep it, whose points must reach the metainfo escaped and paired,
English then Greek.

  check_release_notes.py PATH-TO-scripts/release-notes
"""
import os
import subprocess
import sys
import tempfile

GOOD = """# Notes

## 1.1.0 (2027-01-02)

### Ελληνικά

- Διόρθωση: 2 < 3 & 4 > 1
  σε δύο γραμμές.

### English

- Fixed: 2 < 3 & 4 > 1
  over two lines.

## 1.0.0 (2026-12-07)

### Ελληνικά

- Πρώτη.

### English

- First.
"""
GREEK_ONLY = "## 1.0.0 (2026-12-07)\n\n### Ελληνικά\n\n- Πρώτη.\n"
OLDEST_FIRST = GOOD.replace("1.1.0 (2027-01-02)", "0.9.0 (2026-01-02)")
UNPAIRED = GOOD.replace("- First.\n", "- First.\n- Second.\n")
STRAY_TEXT = GOOD.replace("- First.\n", "First.\n")
OTHER_LANGUAGE = GOOD.replace("### English", "### Deutsch")
NO_DATE = GOOD.replace("## 1.0.0 (2026-12-07)", "## 1.0.0")
TWICE = GOOD.replace("1.1.0 (2027-01-02)", "1.0.0 (2027-01-02)")

REFUSED = [
    ("a version noted in Greek only", GREEK_ONLY),
    ("the versions oldest first", OLDEST_FIRST),
    ("a point in English with no Greek one", UNPAIRED),
    ("a note that is not a '- ' line", STRAY_TEXT),
    ("a language other than Greek and English", OTHER_LANGUAGE),
    ("a version heading without its date", NO_DATE),
    ("a version noted twice", TWICE),
]
METAINFO = "<component>\n  <releases>\n  </releases>\n</component>\n"


def run(script, notes, *args):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "RELEASE-NOTES.md")
        with open(path, "w", encoding="utf-8") as out:
            out.write(notes)
        metainfo = os.path.join(folder, "metainfo.xml")
        with open(metainfo, "w", encoding="utf-8") as out:
            out.write(METAINFO)
        result = subprocess.run([script, *[metainfo if a == "METAINFO" else a for a in args]],
                                env={**os.environ, "ORVANTA_RELEASE_NOTES": path},
                                capture_output=True, text=True)
        with open(metainfo, encoding="utf-8") as written:
            return result, written.read()


def main(script):
    failures = 0
    for what, notes in REFUSED:
        result, _ = run(script, notes, "--json")
        refused = result.returncode != 0 and "release-notes:" in result.stderr
        print(f"{'ok' if refused else 'not ok'} - refused: {what}")
        failures += not refused

    result, metainfo = run(script, GOOD, "--metainfo", "METAINFO")
    expected = [
        '<release version="1.1.0" date="2027-01-02">',
        "<li>Fixed: 2 &lt; 3 &amp; 4 &gt; 1 over two lines.</li>",
        '<li xml:lang="el">Διόρθωση: 2 &lt; 3 &amp; 4 &gt; 1 σε δύο γραμμές.</li>',
        '<release version="1.0.0" date="2026-12-07">',
    ]
    positions = [metainfo.find(line) for line in expected]
    written = result.returncode == 0 and -1 not in positions and positions == sorted(positions)
    print(f"{'ok' if written else 'not ok'} - kept: the metainfo has both versions, newest first, "
          "each point escaped, in English then Greek")
    failures += not written
    if not written:
        print(result.stderr + metainfo)

    result, _ = run(script, GOOD, "--check", "METAINFO", "1.1.0")
    stale = result.returncode != 0 and "is not what" in result.stderr
    print(f"{'ok' if stale else 'not ok'} - a metainfo whose releases are not the notes' fails")
    failures += not stale
    print(f"{len(REFUSED) + 2 - failures} passed, {failures} failed")
    return failures == 0


if __name__ == "__main__":
    sys.exit(0 if main(sys.argv[1]) else 1)
