#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Holds the AppStream metainfo's screenshots to the pictures the screenshot
run makes: each image must name a picture of that run, at the size the
metainfo states, and the default one must come first.

Usage: check-metainfo-screenshots.py METAINFO SCREENSHOT-FOLDER"""

import pathlib
import struct
import sys
import urllib.parse
import xml.etree.ElementTree as ElementTree


def png_size(path):
    with open(path, "rb") as file:
        header = file.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG")
    return struct.unpack(">II", header[16:24])


def faults(metainfo, folder):
    screenshots = ElementTree.parse(metainfo).getroot().findall("screenshots/screenshot")
    if not screenshots:
        yield "no screenshots"
        return
    if screenshots[0].get("type") != "default":
        yield "the first screenshot is not the default one"
    for screenshot in screenshots:
        if not (screenshot.findtext("caption") or "").strip():
            yield "a screenshot without a caption"
        for image in screenshot.findall("image"):
            name = pathlib.PurePosixPath(urllib.parse.urlparse(image.text.strip()).path).name
            picture = folder / name
            if not picture.is_file():
                yield f"{name}: the screenshot run makes no such picture"
                continue
            stated = (int(image.get("width", 0)), int(image.get("height", 0)))
            if stated != png_size(picture):
                yield f"{name}: the metainfo says {stated[0]}x{stated[1]}, the picture is " \
                      "{}x{}".format(*png_size(picture))


def main(arguments):
    found = list(faults(arguments[0], pathlib.Path(arguments[1])))
    for fault in found:
        print(fault, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
