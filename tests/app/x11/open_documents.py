#!/usr/bin/env python3
"""The program on a real X server, as the file manager starts it.

`gelcoat a.gelcoat b.gelcoat` opens a window for each document and no
untitled one, and quits when asked; `gelcoat broken.gelcoat` shows its
alert and, once the alert is answered, ends with status 1, having nothing
left to show.

Run under xvfb-run: open_documents.py GELCOAT GELCOAT_RENDER. Exits 77
(skipped) without a display or without xdotool and xwininfo.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


def top_level_windows():
    """(id, title, has WM_CLASS gelcoat, width, height) of every top-level window."""
    # Titles hold an em dash, which xwininfo prints only in a UTF-8 locale,
    # whatever the caller's locale is.
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True,
                          env=dict(os.environ, LC_ALL="C.UTF-8")).stdout.decode("utf-8")
    windows = []
    for m in re.finditer(r'^\s+(0x[0-9a-f]+) "(.*)": \((.*?)\)\s+(\d+)x(\d+)', tree, re.M):
        windows.append((m.group(1), m.group(2), '"gelcoat"' in m.group(3),
                        int(m.group(4)), int(m.group(5))))
    return windows


def wait_for(condition, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.1)
    return None


def press(window, keys):
    subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", keys], check=True)


def finish(process, seconds=15.0):
    try:
        return process.wait(seconds)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return None


def main():
    if len(sys.argv) != 3:
        print("usage: open_documents.py GELCOAT GELCOAT_RENDER", file=sys.stderr)
        return 2
    gelcoat, render = sys.argv[1:]
    if not os.environ.get("DISPLAY") or not shutil.which("xdotool") or not shutil.which("xwininfo"):
        print("skipped: needs an X display, xdotool and xwininfo")
        return SKIP

    work = tempfile.mkdtemp(prefix="gelcoat-x11-")
    env = dict(os.environ, XDG_CONFIG_HOME=work, HOME=work)
    os.makedirs(os.path.join(work, "Gelcoat"))
    with open(os.path.join(work, "Gelcoat", "Gelcoat.conf"), "w") as conf:
        conf.write("[General]\nDoVersionCheck=NO\n")
    a, b = os.path.join(work, "a.gelcoat"), os.path.join(work, "b.gelcoat")
    subprocess.run([render, "--save-document", a], check=True, env=env)
    subprocess.run([render, "--save-document", b, "--set", "ColorHue=20"], check=True, env=env)
    broken = os.path.join(work, "broken.gelcoat")
    with open(broken, "w") as f:
        f.write("not a document\n")

    failures = []

    # Two documents: two titled windows, no untitled one, and Quit ends it.
    program = subprocess.Popen([gelcoat, a, b], env=env)
    both = wait_for(lambda: (lambda titles: titles if all(
        any(t.startswith(n + " ") for t in titles) for n in ("a.gelcoat", "b.gelcoat")) else None)(
        [w[1] for w in top_level_windows() if w[2]]))
    if not both:
        failures.append("the two document windows did not appear: %s" % top_level_windows())
    else:
        if any(t.startswith("Untitled") for t in both):
            failures.append("an untitled window opened beside the documents: %s" % both)
        window = next(w[0] for w in top_level_windows() if w[1].startswith("a.gelcoat "))
        press(window, "ctrl+q")
    status = finish(program)
    if status != 0:
        failures.append("quitting with two documents open ended with %s" % status)

    # A broken document: the alert, then the program ends with status 1.
    program = subprocess.Popen([gelcoat, broken], env=env)
    alert = wait_for(lambda: next((w for w in top_level_windows()
                                   if w[2] and w[3] > 1 and not w[1].endswith(".gelcoat — Gelcoat")),
                                  None))
    if not alert:
        failures.append("no alert for the broken document: %s" % top_level_windows())
    else:
        if any(w[2] and w[1].endswith("— Gelcoat") for w in top_level_windows()):
            failures.append("a document window opened for the broken file")
        press(alert[0], "Return")
    status = finish(program)
    if status != 1:
        failures.append("after the alert for the only, broken, file the program ended with %s"
                        % status)

    shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
