#!/usr/bin/python3
"""Reads a workbook back with openpyxl, as a spreadsheet program would open it.

Prints one line of what the sheet is (title, frozen cell, autofilter range,
bold header, the kinds of the cells, links, document title), tab-separated,
then every row as a CSV line of quoted UTF-8 fields with CR LF ends, the form
the UTF-8 CSV output takes; "_xHHHH_" in a text is read as Excel reads it.
Exits 1 when the file is not a valid workbook.
"""
import sys

import openpyxl
from openpyxl.utils.escape import unescape


def main(path):
    try:
        book = openpyxl.load_workbook(path)
    except Exception as error:  # any reason the file does not open
        print("not a workbook: %s" % error, file=sys.stderr)
        return 1
    sheet = book.active
    cells = [cell for row in sheet.iter_rows() for cell in row if cell.value is not None]
    kinds = "".join(sorted({cell.data_type for cell in cells}))
    links = [cell for cell in cells if cell.hyperlink]
    linked_as_shown = all(cell.hyperlink.target == cell.value for cell in links)
    about = [sheet.title, sheet.freeze_panes or "", sheet.auto_filter.ref or "",
             str(bool(sheet["A1"].font.b)), kinds, str(len(links)), str(linked_as_shown),
             book.properties.title or "", str(len(book.worksheets))]
    lines = ["\t".join(about)]
    for row in sheet.iter_rows(values_only=True):
        lines.append(",".join('"' + ("" if v is None else unescape(str(v))).replace('"', '""') + '"' for v in row))
    sys.stdout.buffer.write(("\r\n".join(lines) + "\r\n").encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
