#!/usr/bin/env python3
"""Turns the published source rows into the reference tables under data/.

Usage: gen_reference_data.py SOURCE_DIR [OUTPUT_DIR]

SOURCE_DIR holds municipalities.csv (local-government codes) and jsic13.csv
(industrial classification, revision 13). OUTPUT_DIR defaults to the data/
folder of this checkout. The output is UTF-8 CSV without quoting: no value
may hold a comma, so the build tool and a reviewer can read it line by line.
Run it by hand when the sources change; the build only reads data/.
"""

import collections
import csv
import pathlib
import sys

# The six villages of the Northern Territories: codes exist, postings do not.
NORTHERN_TERRITORIES = {"01695", "01696", "01697", "01698", "01699", "01700"}

CITY_KINDS = {"municipality", "special_ward", "designated_city", "ward"}

# The published names mix in a few half-width parentheses and digits; the
# site and the rest of the list write them full width.
WIDE_FORMS = str.maketrans(
    {"(": "（", ")": "）", ",": "、", "，": "、",
     **{str(d): chr(0xFF10 + d) for d in range(10)}})


def fail(message):
    sys.exit(f"gen_reference_data: {message}")


def read_rows(path):
    # utf-8-sig drops the byte-order mark that one of the sources carries.
    with open(path, encoding="utf-8-sig", newline="") as source:
        return list(csv.DictReader(source))


def city_rows(source_dir):
    rows = read_rows(source_dir / "municipalities.csv")
    by_code = {row["city_code"]: row for row in rows}
    kept = [row for row in rows
            if row["kind"] in CITY_KINDS
            and row["city_code"] not in NORTHERN_TERRITORIES]

    table = []
    for row in kept:
        code = row["city_code"]
        if len(code) != 5 or not code.isdigit() or code[:2] != row["pref_code"]:
            fail(f"bad city code {code!r}")
        table.append((int(code[:2]), code[2:], row["name"]))

    # A ward's short name (鶴見区) is what users type; add it only where it
    # names nothing else in its prefecture (大阪市北区 and 堺市北区 share 北区).
    short_names = []
    for row in kept:
        if row["kind"] != "ward":
            continue
        parent = by_code.get(row["parent_code"])
        if parent is None or not row["name"].startswith(parent["name"]):
            fail(f"ward {row['name']} without its city")
        code = row["city_code"]
        short_names.append((int(code[:2]), code[2:], row["name"][len(parent["name"]):]))
    counts = collections.Counter((area, name) for area, _, name in table + short_names)
    table += [entry for entry in short_names if counts[(entry[0], entry[2])] == 1]

    table.sort(key=lambda entry: (entry[0], entry[1], -len(entry[2])))
    seen = set()
    for area, _, name in table:
        if (area, name) in seen:
            fail(f"city name {name} twice in prefecture {area}")
        seen.add((area, name))
    return table


def category_rows(source_dir):
    rows = read_rows(source_dir / "jsic13.csv")
    columns = list(rows[0].keys())
    division_col, major_col, group_col, detail_col, name_col = columns
    divisions, majors, table = {}, {}, []
    for row in rows:
        name = row[name_col].strip().translate(WIDE_FORMS)
        if row[detail_col] != "0000":
            continue
        if row[major_col] == "00":
            divisions[row[division_col]] = name
        elif row[group_col] == "000":
            majors[row[major_col]] = (row[division_col], name)
        else:
            division, major_name = majors[row[major_col]]
            table.append((divisions[division], row[major_col], major_name,
                          row[group_col], name))
    table.sort(key=lambda entry: entry[3])
    codes = [entry[3] for entry in table]
    if len(codes) != len(set(codes)):
        fail("group code twice")
    return table


def write_table(path, header, table):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(",".join(header) + "\n")
        for entry in table:
            values = [str(value) for value in entry]
            if any("," in value or "\n" in value or not value for value in values):
                fail(f"unusable value in {path.name}: {values}")
            out.write(",".join(values) + "\n")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    source_dir = pathlib.Path(sys.argv[1])
    out_dir = (pathlib.Path(sys.argv[2]) if len(sys.argv) == 3
               else pathlib.Path(__file__).resolve().parent.parent / "data")
    out_dir.mkdir(parents=True, exist_ok=True)

    cities = city_rows(source_dir)
    categories = category_rows(source_dir)
    write_table(out_dir / "T02_CITY.csv", ("AreaID", "CityID", "CityName"), cities)
    write_table(out_dir / "T03_CTGR.csv",
                ("Ctgr1Name", "Ctgr2Code", "Ctgr2Name", "Ctgr3Code", "Ctgr3Name"),
                categories)
    print(f"{len(cities)} city rows, {len(categories)} category rows -> {out_dir}")


if __name__ == "__main__":
    main()
