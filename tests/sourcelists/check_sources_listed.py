#!/usr/bin/env python3
"""Every C++ source and header is named in the CMakeLists.txt of its folder
or the nearest folder above it.  The lists are written out by hand, so a
file added without its line would otherwise go unbuilt: a test case that
never runs, a header that moc never sees.

    check_sources_listed.py SOURCE_ROOT [--self-test]
"""

import os
import re
import sys
import tempfile

SKIPPED_TOP = re.compile(r"^(build.*|\..*)$")


def cmake_words(text):
    """The words of a CMake file outside its comments."""
    words = set()
    for line in text.splitlines():
        line = re.sub(r"(^|\s)#.*$", "", line)
        words.update(re.split(r"[\s()\"]+", line))
    return words


def unlisted(root):
    missing = []
    for folder, dirs, files in os.walk(root):
        if os.path.samefile(folder, root):
            dirs[:] = [d for d in dirs if not SKIPPED_TOP.match(d)]
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            owner = folder
            while not os.path.exists(os.path.join(owner, "CMakeLists.txt")):
                owner = os.path.dirname(owner)
            with open(os.path.join(owner, "CMakeLists.txt"), encoding="utf-8") as f:
                words = cmake_words(f.read())
            relative = os.path.relpath(os.path.join(folder, name), owner)
            if relative not in words:
                missing.append(os.path.relpath(os.path.join(folder, name), root))
    return missing


def self_test():
    """The check finds a file left out, and not one named only in a comment."""
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, "lib", "part"))
        for path in ("lib/A.cpp", "lib/part/B.h", "lib/part/C.cpp"):
            open(os.path.join(root, path), "w").close()
        with open(os.path.join(root, "lib", "CMakeLists.txt"), "w") as f:
            f.write("# part/C.cpp is not built\nadd_library(x STATIC A.cpp\n  part/B.h)\n")
        found = unlisted(root)
        if found != ["lib/part/C.cpp"]:
            print(f"self-test: expected lib/part/C.cpp alone, found {found}")
            return False
    return True


def main():
    root = sys.argv[1]
    if "--self-test" in sys.argv and not self_test():
        return 1
    missing = unlisted(root)
    for path in missing:
        print(f"{path} is in no CMakeLists.txt list")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
