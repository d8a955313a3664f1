#!/usr/bin/env python3
"""Renders the same few hundred random jobs with two gelcoat-render binaries
and compares every file they write, byte for byte.

    scripts/compare-renders.py OLD_BINARY NEW_BINARY [--count N] [--seed S]

Each job draws, from the seed alone, a stencil (antialiased RGBA shapes,
black shapes on white RGB, grey, or the built-in start picture, at sizes that
leave every remainder after a vector step) and random options: a preset,
--set values inside and outside the usual ranges, stencil commands, a
flattening, PNG or TIFF output, sometimes one pipeline stage, and a saved
document. Both binaries run each job in the same folder under the same file
names, one after the other, so that any name a file records is the same.
Exit codes and standard output are compared too. Exit status 0 when every
job gives the same bytes, 1 otherwise (the first differing jobs are listed
with their command lines).
"""

import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib


def png_bytes(width, height, channels, pixels):
    """An 8-bit PNG: channels 1 (grey), 3 (RGB) or 4 (RGBA)."""
    colour_type = {1: 0, 3: 2, 4: 6}[channels]
    raw = bytearray()
    stride = width * channels
    for y in range(height):
        raw.append(0)
        raw += pixels[y * stride:(y + 1) * stride]

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 6))
            + chunk(b"IEND", b""))


def coverage(rng, width, height):
    """Coverage 0-255 per pixel of a few discs and boxes, edges antialiased."""
    shapes = []
    for _ in range(rng.randint(1, 4)):
        cx, cy = rng.uniform(0, width), rng.uniform(0, height)
        r = rng.uniform(2, max(3, min(width, height) / 2))
        shapes.append((rng.random() < 0.6, cx, cy, r, rng.uniform(2, r + 2)))
    cover = bytearray(width * height)
    for y in range(height):
        for x in range(width):
            best = 0.0
            for disc, cx, cy, r, h in shapes:
                if disc:
                    d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
                    c = r + 0.5 - d
                else:
                    c = min(r - abs(x + 0.5 - cx), h - abs(y + 0.5 - cy)) + 0.5
                best = max(best, min(1.0, max(0.0, c)))
            cover[y * width + x] = round(best * 255)
    return cover


def write_stencil(rng, path):
    """A random stencil PNG at path."""
    width = rng.choice([1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 33]) if rng.random() < 0.2 else rng.randint(20, 160)
    height = rng.randint(1, 12) if rng.random() < 0.1 else rng.randint(16, 140)
    cover = coverage(rng, width, height)
    kind = rng.choice(["rgba", "rgba", "mask", "grey"])
    if kind == "grey":
        data = cover
        channels = 1
    elif kind == "mask":
        data = bytearray()
        for c in cover:
            data += bytes([255 - c] * 3)
        channels = 3
    else:
        data = bytearray()
        colour = [rng.randint(0, 255) for _ in range(3)]
        for c in cover:
            tint = [min(255, max(0, v + rng.randint(-20, 20))) for v in colour]
            data += bytes(tint + [c])
        channels = 4
    with open(path, "wb") as f:
        f.write(png_bytes(width, height, channels, data))


def number(rng, low, high, wild=0.1):
    """A value in [low, high], now and then well outside it, a whole number or not."""
    if rng.random() < wild:
        v = rng.choice([low - (high - low), high * 3 + 1, 0, -1e6, 1e6])
    else:
        v = rng.uniform(low, high)
    return str(int(v)) if rng.random() < 0.5 else "%.3f" % v


def yes_no(rng):
    return rng.choice(["YES", "NO"])


def job_arguments(rng, stencil):
    """The command line of one job (after the binary), and its output names."""
    args = [stencil] if stencil else []
    if rng.random() < 0.3:
        args += ["--preset", rng.choice(["default", "blue", "blue-highlighted", "graphite",
                                         "graphite-highlighted", "inactive"])]
    settings = {
        "ColorHue": lambda: number(rng, 0, 100),
        "ColorSaturation": lambda: number(rng, 0, 100),
        "ColorBrightness": lambda: number(rng, 0, 100),
        "Contrast": lambda: number(rng, 0, 100),
        "Alpha": lambda: number(rng, 0, 100),
        "AquaMargin": lambda: number(rng, 0, 20),
        "UseOriginalHue": lambda: yes_no(rng),
        "UseOriginalSaturation": lambda: yes_no(rng),
        "UseOriginalBrightness": lambda: yes_no(rng),
        "UseRainbow": lambda: yes_no(rng),
        "RainbowCircular": lambda: yes_no(rng),
        "RainbowXOffset": lambda: number(rng, -100, 100),
        "RainbowYOffset": lambda: number(rng, -100, 100),
        "SourceBugX": lambda: str(rng.randint(-80, 80)),
        "SourceBugY": lambda: str(rng.randint(-80, 80)),
        "ShadowDensity": lambda: number(rng, 0, 100),
        "ShadowSharpness": lambda: number(rng, 0, 100),
        "ShadowXOffset": lambda: number(rng, -30, 30),
        "ShadowYOffset": lambda: number(rng, -30, 30),
        "FinalSize": lambda: number(rng, 5, 250, wild=0),
        "DestInteriorStyle": lambda: str(rng.randint(0, 4)),
    }
    for key in rng.sample(sorted(settings), rng.randint(0, len(settings))):
        args += ["--set", "%s=%s" % (key, settings[key]())]
    for _ in range(rng.randint(0, 2)):
        command = rng.choice(["--invert", "--fit-shadow", "--margins"])
        args += [command] if command != "--margins" else \
            [command, ",".join(str(rng.randint(-6, 12)) for _ in range(4))]
    outputs = []
    if rng.random() < 0.15:
        args += ["--stage", rng.choice(["source", "source-hsv", "analysis", "shadow", "tinted",
                                        "composite", "final"])]
        outputs.append("out.tiff")
    else:
        if rng.random() < 0.4:
            args += ["--flatten", rng.choice(["white", "black", "none"])]
        outputs.append(rng.choice(["out.png", "out.tiff"]))
    args += ["-o", outputs[0]]
    if rng.random() < 0.5:
        args += ["--save-document", "out.gelcoat"]
        outputs.append("out.gelcoat")
    if rng.random() < 0.2:
        args.append("--info")
    return args, outputs


def run(binary, args, folder, outputs):
    """Runs one job in folder; returns (exit code, stdout, {name: bytes or None})."""
    for name in outputs:
        if os.path.exists(os.path.join(folder, name)):
            os.remove(os.path.join(folder, name))
    env = dict(os.environ, LC_ALL="C", QT_QPA_PLATFORM="offscreen")
    done = subprocess.run([binary] + args, cwd=folder, env=env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=120)
    files = {}
    for name in outputs:
        path = os.path.join(folder, name)
        files[name] = open(path, "rb").read() if os.path.exists(path) else None
    return done.returncode, done.stdout, files


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    options = parser.parse_args()
    for binary in (options.old, options.new):
        if not os.access(binary, os.X_OK):
            sys.exit("compare-renders: %s is not an executable file" % binary)
    old, new = os.path.abspath(options.old), os.path.abspath(options.new)

    work = tempfile.mkdtemp(prefix="gelcoat-compare-")
    try:
        rng = random.Random(options.seed)
        same = files = refused = 0
        differing = []
        for job in range(options.count):
            stencil = None
            if rng.random() < 0.9:
                stencil = "stencil-%d.png" % job
                write_stencil(rng, os.path.join(work, stencil))
            args, outputs = job_arguments(rng, stencil)
            a = run(old, args, work, outputs)
            b = run(new, args, work, outputs)
            files += sum(1 for v in a[2].values() if v is not None)
            refused += a[0] != 0
            if a == b:
                same += 1
            else:
                differing.append((job, args, a[0], b[0]))
            if stencil:
                os.remove(os.path.join(work, stencil))
        print("%d of %d jobs gave the same bytes and exit code (%d files written by each binary; "
              "%d jobs refused by the old one)" % (same, options.count, files, refused))
        for job, args, code_a, code_b in differing[:10]:
            print("differs: job %d (exit %d, %d): %s" % (job, code_a, code_b, " ".join(args)))
        return 0 if not differing else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
