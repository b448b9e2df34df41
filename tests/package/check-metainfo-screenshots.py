#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Holds the AppStream metainfo's screenshots and the README's pictures to the
pictures the screenshot runs make: each metainfo image must name a picture of
those runs, at the size the metainfo states, and the default one must come
first; the README's pictures (under data/screenshots/) must be copies of the
run's readme/ pictures at their size, and the metainfo must begin with the
same pictures in the same order.

Usage: check-metainfo-screenshots.py METAINFO SCREENSHOT-FOLDER [README]"""

import pathlib
import re
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


def made(folder, name):
    """The run's picture of that name, wherever the runs put it."""
    for candidate in (folder / name, folder / "readme" / name):
        if candidate.is_file():
            return candidate
    return None


def image_names(screenshots):
    return [pathlib.PurePosixPath(urllib.parse.urlparse(image.text.strip()).path).name
            for screenshot in screenshots for image in screenshot.findall("image")]


def readme_faults(readme, folder, screenshots):
    pictures = re.findall(r"\]\((data/screenshots/[^)\s]+\.png)\)", readme.read_text(encoding="utf-8"))
    if not pictures:
        yield "the README shows no pictures from data/screenshots"
        return
    for relative in pictures:
        committed = readme.parent / relative
        name = committed.name
        run = folder / "readme" / name
        if not committed.is_file():
            yield f"{relative}: the README shows a picture that is not in the repository"
        elif not run.is_file():
            yield f"{name}: the screenshot run makes no such README picture"
        elif png_size(committed) != png_size(run):
            yield f"{relative}: " + "{}x{}".format(*png_size(committed)) + \
                  ", but the run makes it " + "{}x{}".format(*png_size(run)) + "; run scripts/update-screenshots"
    names = [pathlib.PurePosixPath(relative).name for relative in pictures]
    if image_names(screenshots)[:len(names)] != names:
        yield f"the metainfo's screenshots must begin with the README's pictures: {', '.join(names)}"


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
            picture = made(folder, name)
            if picture is None:
                yield f"{name}: the screenshot run makes no such picture"
                continue
            stated = (int(image.get("width", 0)), int(image.get("height", 0)))
            if stated != png_size(picture):
                yield f"{name}: the metainfo says {stated[0]}x{stated[1]}, the picture is " \
                      "{}x{}".format(*png_size(picture))


def main(arguments):
    folder = pathlib.Path(arguments[1])
    found = list(faults(arguments[0], folder))
    if len(arguments) > 2:
        screenshots = ElementTree.parse(arguments[0]).getroot().findall("screenshots/screenshot")
        found += readme_faults(pathlib.Path(arguments[2]), folder, screenshots)
    for fault in found:
        print(fault, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
