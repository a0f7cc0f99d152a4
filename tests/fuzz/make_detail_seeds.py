#!/usr/bin/env python3
"""Writes the seeds of the detail-page fuzz target into a folder.

The target reads a page behind a few bytes of output-field ticks. Each
fixture page becomes one seed with every field ticked; the full posting is
written once more with only the first and a late field ticked, so that runs
asking for few fields start from a real page too.

usage: make_detail_seeds.py <folder> <tick bytes> <page>...
"""
import pathlib
import sys


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    folder = pathlib.Path(sys.argv[1])
    tick_bytes = int(sys.argv[2])
    pages = [pathlib.Path(name) for name in sys.argv[3:]]

    folder.mkdir(parents=True, exist_ok=True)
    # The folder holds these seeds only: a fixture that was removed or
    # renamed, or an input a fuzzer run added here, leaves nothing behind.
    for old in folder.iterdir():
        if old.is_file():
            old.unlink()

    every_field = b"\xff" * tick_bytes
    two_fields = bytearray(tick_bytes)
    two_fields[0] = 0x01
    two_fields[-1] = 0x20
    for page in pages:
        html = page.read_bytes()
        (folder / page.name).write_bytes(every_field + html)
        if page.name == "full_posting.html":
            (folder / ("two_ticks_" + page.name)).write_bytes(bytes(two_fields) + html)


if __name__ == "__main__":
    main()
