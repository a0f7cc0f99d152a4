#!/usr/bin/python3
"""A BeautifulSoup + lxml reading of a detail page, the yardstick beside
kenmori_bench: parse the page, then collect every row label (th) with the
text of its value cell (td). Prints the mean time per page in microseconds
over SECONDS of readings; with READINGS, the best of that many such means.

    python_detail_reading.py PAGE [SECONDS] [READINGS]
"""
import sys
import time

from bs4 import BeautifulSoup


def read_page(html):
    soup = BeautifulSoup(html, "lxml")
    fields = []
    for label in soup.find_all("th"):
        cell = label.find_next_sibling("td")
        value = cell.get_text(" ", strip=True) if cell else ""
        fields.append((label.get_text(strip=True), value))
    return fields


def main():
    with open(sys.argv[1], "rb") as page:
        html = page.read()
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 2.0
    readings = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    if not read_page(html):
        sys.exit("the page gave no labelled rows")
    best = None
    for _ in range(readings):
        runs = 0
        started = time.perf_counter()
        while True:
            read_page(html)
            runs += 1
            elapsed = time.perf_counter() - started
            if elapsed >= seconds and runs >= 5:
                break
        mean = elapsed / runs
        best = mean if best is None else min(best, mean)
    print(f"{best * 1e6:.1f}")


if __name__ == "__main__":
    main()
