#!/usr/bin/env python3
"""Checks the demo data as the program will read it and prints the loss and
power of every line at its own mid-band, so the figures can be eyeballed.

    python3 check_demo.py [folder]      (default: this script's folder)

Exits non-zero when a file breaks a rule the loader or the search relies on.
"""

import math
import os
import re
import sys

NUMBER = re.compile(r"^[+-]?\d+(\.\d+)?([eE][+-]?\d+)?$")
KINDS = {"AIR", "FOAM", "EW", "BRAIDED"}
CURRENCIES = ("ZAR RMB HKD INR JPY KRW PHP SGD TWD ATS BEF CHF DEM DKK ESP EUR FIM FRF "
              "GBP GRD IEP ITL NLG NOK PTE SEK AED SAR CAD MXP AUD IDR NZD BRL ARS").split()
SKIPPED_LEAD = set(" #;[^`{~")

problems = []


def fail(message):
    problems.append(message)


def read_lines(path):
    data = open(path, "rb").read()
    if any(b > 0x7E or (b < 0x20 and b not in (0x0D, 0x0A)) for b in data):
        fail(f"{os.path.basename(path)}: bytes outside printable ASCII")
    if not data.endswith(b"\r\n"):
        fail(f"{os.path.basename(path)}: last line not ended by CR LF")
    if data.replace(b"\r\n", b"").count(b"\n") or data.replace(b"\r\n", b"").count(b"\r"):
        fail(f"{os.path.basename(path)}: a line end other than CR LF")
    return data.decode("ascii").split("\r\n")[:-1]


def fields_of(row):
    """Fields of a "|"-terminated record; text after the last "|" is not a field."""
    return row.split("|")[:-1]


def attenuation(kind, a, b, f):
    if kind == "EW":
        u = math.log(f / a - 1)
        return b / 1000 * math.exp(u * (0.09557 * u - 0.13127))
    return a * math.sqrt(f) + b * f


def derating_class(key):
    for limit, cls in ((1.25, 1), (1.94, 2), (2.63, 3), (3.5, 4)):
        if key < limit:
            return cls
    return 5


def check(folder):
    cat = read_lines(os.path.join(folder, "Freq_TLine_Connectors.dat"))
    prices = read_lines(os.path.join(folder, "M_lom.dat"))
    rates = read_lines(os.path.join(folder, "xcngrate.dat"))

    # Catalogue: header, then groups of rows per line record.
    records = []          # [fields 1-11, [connector fields 12-22, ...]]
    for n, row in enumerate(cat[1:], start=2):
        f = fields_of(row)
        if len(f) != 22 or not row.endswith("|"):
            fail(f"catalogue line {n}: {len(f)} fields")
            continue
        if any(x != x.strip() for x in f):
            fail(f"catalogue line {n}: blanks around a field")
        for i in (1, 2, 7, 8, 9, 10, 11, 13, 14, 15, 16):
            if not NUMBER.match(f[i - 1]):
                fail(f"catalogue line {n}: field {i} '{f[i - 1]}' is not a number")
        if f[4] not in KINDS:
            fail(f"catalogue line {n}: kind '{f[4]}'")
        if not any(f[16:22]):
            fail(f"catalogue line {n}: connector without part numbers")
        if records and records[-1][0][3] == f[3]:
            if records[-1][0] != f[:11]:
                fail(f"catalogue line {n}: fields 1-11 differ from the line's first row")
            records[-1][1].append(f[11:])
        else:
            records.append([f[:11], [f[11:]]])

    # Price list: first record per part number counts; skipped lines never match.
    price_of = {}
    for n, row in enumerate(prices, start=1):
        if not row:
            fail(f"price list line {n}: empty line")
            continue
        if row[0] in SKIPPED_LEAD:
            continue
        f = fields_of(row)
        if len(f) < 6:
            fail(f"price list line {n}: {len(f)} fields")
            continue
        if not NUMBER.match(f[5].strip()):
            fail(f"price list line {n}: price '{f[5]}'")
            continue
        price_of.setdefault(f[2].strip(), (f[4].strip(), float(f[5])))

    type_names, begins, classes = set(), [], set()
    for head, connectors in records:
        begin, end = float(head[0]), float(head[1])
        kind, a, b = head[4], float(head[7]), float(head[8])
        begins.append(head[0])
        if begin >= end:
            fail(f"{head[3]}: band {head[0]}-{head[1]}")
        if kind == "EW" and begin <= a * 1.2:
            fail(f"{head[3]}: band starts too close to cut-off {a}")
        if kind != "EW":
            classes.add(derating_class(float(head[6])))
        if float(head[10]) <= 0 or float(head[9]) <= 0:
            fail(f"{head[3]}: power data")
        if head[3] not in price_of:
            fail(f"{head[3]}: no price")
        elif not 0.4 <= price_of[head[3]][1] <= 40:
            fail(f"{head[3]}: price per foot {price_of[head[3]][1]}")
        seen_types = set()
        for c in connectors:
            type_names.add(c[0])
            if c[0] in seen_types:
                fail(f"{head[3]}: connector type {c[0]} twice")
            seen_types.add(c[0])
            for pn in filter(None, c[5:11]):
                if pn not in price_of:
                    fail(f"{pn}: no price")
                elif not 5 <= price_of[pn][1] <= 400:
                    fail(f"{pn}: connector price {price_of[pn][1]}")

    # A part number may come back for another band, but never for an
    # overlapping one, so a query lists it at most once.
    by_part = {}
    for head, _ in records:
        by_part.setdefault(head[3], []).append((float(head[0]), float(head[1])))
    for part, bands in by_part.items():
        for i, (b1, e1) in enumerate(bands):
            for b2, e2 in bands[i + 1:]:
                if b1 <= e2 and b2 <= e1:
                    fail(f"{part}: overlapping bands {b1}-{e1} and {b2}-{e2}")

    covering = [h[3] for h, _ in records if float(h[0]) <= 824 and float(h[1]) >= 894]
    kinds = sorted({h[4] for h, _ in records})
    for edge in ("806", "1850", "450"):
        if edge not in begins:
            fail(f"no band begins at {edge}")
    if len(set(begins)) == len(begins):
        fail("no repeated band beginning")
    if len(records) < 40:
        fail(f"only {len(records)} lines")
    if len(type_names) < 8:
        fail(f"only {len(type_names)} connector types")
    if classes != {1, 2, 3, 4, 5}:
        fail(f"derating classes used: {sorted(classes)}")
    if len(covering) < 3:
        fail("too few lines cover 824-894 MHz")
    if max(len(list(filter(None, c[5:11]))) for _, cs in records for c in cs) != 6:
        fail("no connector with six part numbers")

    # Exchange rates: the 35 codes, in order, each once, positive.
    codes = []
    for n, row in enumerate(rates, start=1):
        f = fields_of(row)
        if len(f) != 2 or not NUMBER.match(f[1]) or float(f[1]) <= 0:
            fail(f"rate line {n}: '{row}'")
        codes.append(f[0])
    if codes != CURRENCIES:
        fail(f"currency codes differ: {codes}")

    print(f"{len(records)} lines in {len(cat) - 1} rows; kinds {', '.join(kinds)}")
    print(f"{len(price_of)} priced part numbers; {len(rates)} exchange rates")
    print(f"bands: {', '.join(sorted({h[0] + '-' + h[1] for h, _ in records}, key=lambda s: float(s.split('-')[0])))}")
    print(f"connector types ({len(type_names)}): {', '.join(sorted(type_names, key=str.lower))}")
    print(f"lines covering 824-894 MHz: {len(covering)}")
    print()
    print(f"{'part':<10}{'kind':<8}{'band MHz':>14}{'mid':>9}{'dB/100ft':>10}"
          f"{'dB/100m':>9}{'avg kW':>9}{'peak kW':>9}  cls")
    for head, _ in records:
        f = (float(head[0]) + float(head[1])) / 2
        att = attenuation(head[4], float(head[7]), float(head[8]), f)
        avg = min(float(head[9]) / att, float(head[10]))
        cls = "-" if head[4] == "EW" else str(derating_class(float(head[6])))
        print(f"{head[3]:<10}{head[4]:<8}{head[0] + '-' + head[1]:>14}{f:>9g}{att:>10.3f}"
              f"{att * 3.2808:>9.3f}{avg:>9.2f}{float(head[10]):>9g}  {cls}")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    check(folder)
    if problems:
        print("\nPROBLEMS:")
        for p in problems:
            print("  " + p)
        sys.exit(1)
    print("\nall checks passed")


if __name__ == "__main__":
    main()
