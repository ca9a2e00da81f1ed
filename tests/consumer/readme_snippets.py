#!/usr/bin/env python3
"""Checks that every snippet the button's page (docs/button.md) shows of the
consumer project is what the consumer project compiles: each part of a
consumer file between two '[button.md: NAME]' marker lines must stand on the
page as it is.

  readme_snippets.py SOURCE
"""

import glob
import os
import re
import sys

MARKER = re.compile(r"\[button\.md: ([a-z-]+)\]")


def snippets(path):
    """The marked parts of a file, by name."""
    found, open_name, lines = {}, None, []
    with open(path, encoding="utf-8") as f:
        for line in f:
            marker = MARKER.search(line)
            if marker and open_name is None:
                open_name, lines = marker.group(1), []
            elif marker:
                found[open_name] = "".join(lines)
                open_name = None
            elif open_name is not None:
                lines.append(line)
    return found


def main(argv):
    if len(argv) != 1:
        sys.exit(__doc__)
    source = argv[0]
    with open(os.path.join(source, "docs", "button.md"), encoding="utf-8") as f:
        page = f.read()
    missing = []
    count = 0
    for path in sorted(glob.glob(os.path.join(source, "tests", "consumer", "**", "*"), recursive=True)):
        if path.endswith(".py") or not os.path.isfile(path):
            continue
        for name, text in snippets(path).items():
            count += 1
            if text not in page:
                missing.append("%s: %s" % (os.path.basename(path), name))
    for entry in missing:
        print("not on docs/button.md as compiled:", entry)
    print("%d snippets, %d missing" % (count, len(missing)))
    return 1 if missing or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
