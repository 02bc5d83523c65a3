#!/usr/bin/env python3
"""Writes the bundled demo data: the line and connector catalogue, the price
list and the exchange-rate table.

Every figure is made up for demonstration; the part numbers follow our own
QX scheme. Output is deterministic, 8-bit ASCII with CR LF line ends, so the
files can be regenerated and diffed:

    python3 make_demo.py [output-folder]     (default: this script's folder)
"""

import os
import sys

CRLF = "\r\n"

# ---------------------------------------------------------------------------
# Transmission lines.
# part, kind, size text, jacket, derating key (roughly the jacketed diameter
# in inches), attenuation A, B (dB/100 ft = A*sqrt(f) + B*f, f in MHz; for
# waveguide A is the cut-off in MHz and B/1000 the loss at twice cut-off),
# average power constant (kW x dB/100 ft), peak power (kW), price per foot,
# description.  Numbers are kept as text so they are written exactly.
# ---------------------------------------------------------------------------
LINES = [
    # Braided cable
    ("QXB-030", "BRAIDED", "3 mm", "FEP", "0.12", "0.95", "0.0025", "1.2", "2",
     "0.62", "3 mm braided coax, 50 ohm, FEP jacket"),
    ("QXB-050", "BRAIDED", "5 mm", "PVC", "0.2", "0.45", "0.0028", "1.4", "4.5",
     "0.41", "5 mm braided coax, 50 ohm, PVC jacket"),
    ("QXB-050D", "BRAIDED", "5 mm", "FEP", "0.21", "0.38", "0.0022", "3", "8",
     "1.85", "5 mm double-braid coax, 50 ohm, FEP jacket, high temperature"),
    ("QXB-061", "BRAIDED", "6.1 mm", "PVC", "0.24", "0.3", "0.0022", "1.65", "6",
     "0.58", "6.1 mm braided coax, 50 ohm, PVC jacket"),
    ("QXB-103", "BRAIDED", "10.3 mm", "PVC", "0.41", "0.2", "0.002", "1.95", "12",
     "1.12", "10.3 mm braided coax, 50 ohm, non-contaminating PVC jacket"),
    # Foam-dielectric coax
    ("QXF-025", "FOAM", "1/4 in", "PE", "0.32", "0.172", "0.0007", "2", "7",
     "0.94", "1/4 in flexible foam coax, 50 ohm, PE jacket"),
    ("QXF-038", "FOAM", "3/8 in", "PE", "0.44", "0.108", "0.00036", "2.2", "14",
     "1.38", "3/8 in foam coax, 50 ohm, PE jacket"),
    ("QXF-050", "FOAM", "1/2 in", "PE", "0.63", "0.0745", "0.00024", "2.45", "40",
     "2.15", "1/2 in foam coax, 50 ohm, PE jacket"),
    ("QXF-050S", "FOAM", "1/2 in", "FR-PE", "0.52", "0.112", "0.0004", "2.6", "35",
     "2.64", "1/2 in flexible foam coax, 50 ohm, fire-retardant PE jacket"),
    ("QXF-10LL", "FOAM", "10 mm", "PE", "0.41", "0.1223", "0.00026", "1.9", "16",
     "1.45", "10 mm low-loss foam coax, 50 ohm, PE jacket"),
    ("QXF-078", "FOAM", "7/8 in", "PE", "1.1", "0.0384", "0.00017", "3", "91",
     "4.65", "7/8 in foam coax, 50 ohm, PE jacket"),
    ("QXF-114", "FOAM", "1-1/4 in", "PE", "1.55", "0.028", "0.00016", "3.3", "155",
     "7.9", "1-1/4 in foam coax, 50 ohm, PE jacket"),
    ("QXF-158", "FOAM", "1-5/8 in", "PE", "1.94", "0.0226", "0.00014", "3.6", "210",
     "10.55", "1-5/8 in foam coax, 50 ohm, PE jacket"),
    ("QXF-214", "FOAM", "2-1/4 in", "PE", "2.48", "0.0178", "0.00013", "3.9", "330",
     "18.4", "2-1/4 in foam coax, 50 ohm, PE jacket"),
    # Air-dielectric coax
    ("QXA-050", "AIR", "1/2 in", "PE", "0.65", "0.07", "0.0001", "2.6", "60",
     "3.2", "1/2 in air-dielectric coax, 50 ohm, PE jacket"),
    ("QXA-078", "AIR", "7/8 in", "PE", "1.25", "0.035", "0.00006", "3.3", "145",
     "6.1", "7/8 in air-dielectric coax, 50 ohm, PE jacket"),
    ("QXA-158", "AIR", "1-5/8 in", "PE", "1.98", "0.0198", "0.00004", "3.8", "320",
     "13.8", "1-5/8 in air-dielectric coax, 50 ohm, PE jacket"),
    ("QXA-300", "AIR", "3 in", "PE", "3.18", "0.0116", "0.00002", "5.9", "1000",
     "24.5", "3 in air-dielectric coax, 50 ohm, PE jacket"),
    ("QXA-400", "AIR", "4 in", "PE", "4.12", "0.0088", "0.000015", "6.2", "1600",
     "32.75", "4 in air-dielectric coax, 50 ohm, PE jacket"),
    ("QXA-500", "AIR", "5 in", "PE", "5.1", "0.0068", "0.000012", "6.9", "2500",
     "39.5", "5 in air-dielectric coax, 50 ohm, PE jacket"),
    # Elliptical waveguide
    ("QXW-A10", "EW", "EW 1.0 GHz", "PE", "4.6", "1000", "900", "11.4", "1500",
     "27.4", "Elliptical waveguide, cut-off 1.00 GHz, PE jacket"),
    ("QXW-A13", "EW", "EW 1.36 GHz", "PE", "3.9", "1360", "750", "11", "1250",
     "24.2", "Elliptical waveguide, cut-off 1.36 GHz, PE jacket"),
    ("QXW-A16", "EW", "EW 1.65 GHz", "PE", "3.4", "1650", "1000", "10.8", "1100",
     "21.6", "Elliptical waveguide, cut-off 1.65 GHz, PE jacket"),
    ("QXW-A23", "EW", "EW 2.35 GHz", "PE", "2.6", "2350", "1400", "10", "600",
     "17.25", "Elliptical waveguide, cut-off 2.35 GHz, PE jacket"),
    ("QXW-A36", "EW", "EW 3.65 GHz", "PE", "1.9", "3650", "2100", "8", "300",
     "14.1", "Elliptical waveguide, cut-off 3.65 GHz, PE jacket"),
    ("QXW-A40", "EW", "EW 4.0 GHz", "PE", "1.7", "4000", "2300", "7.8", "250",
     "13.2", "Elliptical waveguide, cut-off 4.00 GHz, PE jacket"),
    ("QXW-A46", "EW", "EW 4.6 GHz", "PE", "1.5", "4600", "2800", "6.5", "180",
     "12.4", "Elliptical waveguide, cut-off 4.60 GHz, PE jacket"),
    ("QXW-A65", "EW", "EW 6.5 GHz", "PE", "1.1", "6500", "3000", "3.8", "90",
     "11.05", "Elliptical waveguide, cut-off 6.50 GHz, PE jacket"),
]

# Connector types: code, base price (small cable), figures
# (max VSWR, insertion loss dB, upper frequency GHz, IM3 dBc).
# Flange prices do not scale with the cable: a flange fits one size.
CONNECTOR_TYPES = {
    "N Male":            ("NM",  14.0,  (1.06, 0.05, 11,   -150)),
    "N Female":          ("NF",  15.0,  (1.06, 0.05, 11,   -150)),
    "7-16 DIN Male":     ("DM",  24.0,  (1.04, 0.03, 7.5,  -160)),
    "7-16 DIN Female":   ("DF",  26.0,  (1.04, 0.03, 7.5,  -160)),
    "4.3-10 Male":       ("4M",  21.0,  (1.04, 0.04, 6,    -160)),
    "4.3-10 Female":     ("4F",  22.0,  (1.04, 0.04, 6,    -160)),
    "SMA Male":          ("SM",   9.5,  (1.1,  0.08, 18,   -140)),
    "UHF Male":          ("UM",   6.5,  (1.25, 0.15, 0.3,  -120)),
    "BNC Male":          ("BM",   7.5,  (1.15, 0.1,  4,    -125)),
    "TNC Male":          ("TM",  11.0,  (1.1,  0.07, 11,   -135)),
    "EIA 7/8 Flange":    ("E7",  95.0,  (1.03, 0.02, 2.7,  -155)),
    "EIA 1-5/8 Flange":  ("E15", 145.0, (1.03, 0.02, 2.5,  -155)),
    "EIA 3-1/8 Flange":  ("E31", 260.0, (1.02, 0.02, 1.6,  -155)),
    "EIA 4-1/16 Flange": ("E41", 295.0, (1.02, 0.02, 1.2,  -155)),
    "EIA 6-1/8 Flange":  ("E61", 320.0, (1.02, 0.01, 0.8,  -155)),
    "CPR Flange":        ("CPR", 185.0, (1.05, 0.05, 8.5,  -140)),
    "UDR Flange":        ("UDR", 150.0, (1.05, 0.06, 13,   -140)),
    "PDR Flange":        ("PDR", 140.0, (1.06, 0.06, 13,   -140)),
}
FLANGES = {name for name in CONNECTOR_TYPES if "Flange" in name}

# Part-number variants: letter -> (suffix, description phrase, price factor).
# A pattern of six letters fills part-number slots 1..6; "-" leaves a slot
# empty, so gaps between part numbers are deliberate.
VARIANTS = {
    "S": ("", "", 1.0),
    "R": ("RA", "right angle", 1.4),
    "L": ("LP", "low PIM", 1.25),
    "C": ("CL", "clamp style", 1.1),
    "H": ("HT", "high temperature", 1.3),
    "B": ("B10", "pack of 10", 8.0),
    "G": ("GP", "gas pass", 1.2),
    "P": ("PW", "pressure window", 1.35),
    "T": ("TU", "factory tuned", 1.2),
}

# Connector options per line, in catalogue order: type -> slot pattern.
CABLE_CONNECTORS = {
    "QXB-030": [("SMA Male", "SRB---"), ("BNC Male", "S-B---"),
                ("TNC Male", "S-----"), ("N Male", "SR----")],
    "QXB-050": [("N Male", "SRB---"), ("BNC Male", "SRB---"), ("TNC Male", "SR----"),
                ("UHF Male", "S-B---"), ("SMA Male", "S-----"), ("N Female", "S-----")],
    "QXB-050D": [("N Male", "SR-H--"), ("SMA Male", "S-R---"), ("TNC Male", "SH----"),
                 ("BNC Male", "S-----")],
    "QXB-061": [("UHF Male", "SB----"), ("N Male", "SR-B--"), ("BNC Male", "S-----")],
    "QXB-103": [("UHF Male", "SRB---"), ("N Male", "SRCB--"), ("N Female", "S-----"),
                ("7-16 DIN Male", "S-----")],
    "QXF-025": [("N Male", "SRL---"), ("N Female", "SL----"), ("SMA Male", "SR----"),
                ("4.3-10 Male", "SRL---"), ("TNC Male", "S-----")],
    "QXF-038": [("N Male", "SRL---"), ("N Female", "S-L---"), ("4.3-10 Male", "SL----"),
                ("7-16 DIN Male", "SL----"), ("SMA Male", "S-----"), ("BNC Male", "S-----"),
                ("TNC Male", "S-----")],
    "QXF-050": [("N Male", "SRLCHB"), ("N Female", "SL-C--"), ("7-16 DIN Male", "SRL-H-"),
                ("7-16 DIN Female", "S-L---"), ("4.3-10 Male", "SRL---"),
                ("4.3-10 Female", "SL----"), ("UHF Male", "S-----"), ("TNC Male", "S---H-")],
    "QXF-050S": [("N Male", "SRL-B-"), ("N Female", "S-----"), ("7-16 DIN Male", "SRL---"),
                 ("4.3-10 Male", "SRL---"), ("4.3-10 Female", "S-L---"), ("UHF Male", "S-----")],
    "QXF-10LL": [("N Male", "SRLC-B"), ("N Female", "S-L---"), ("TNC Male", "SR----"),
                 ("7-16 DIN Male", "SL----"), ("4.3-10 Male", "SLR---"), ("UHF Male", "SB----")],
    "QXF-078": [("N Male", "SLCH--"), ("N Female", "SL----"), ("7-16 DIN Male", "SRLC--"),
                ("7-16 DIN Female", "SL-C--"), ("4.3-10 Male", "SL----"),
                ("EIA 7/8 Flange", "SP----")],
    "QXF-114": [("N Female", "S-----"), ("7-16 DIN Male", "SL-C--"),
                ("7-16 DIN Female", "SL----"), ("EIA 1-5/8 Flange", "S-P---")],
    "QXF-158": [("7-16 DIN Female", "SL----"), ("7-16 DIN Male", "S-L---"),
                ("N Female", "S-----"), ("EIA 1-5/8 Flange", "SP----")],
    "QXF-214": [("EIA 1-5/8 Flange", "S-----"), ("EIA 3-1/8 Flange", "SP----"),
                ("7-16 DIN Female", "S-----")],
    "QXA-050": [("N Male", "SR----"), ("N Female", "S-----"), ("7-16 DIN Male", "SL----")],
    "QXA-078": [("N Male", "SG----"), ("N Female", "SG----"), ("7-16 DIN Female", "SG----"),
                ("EIA 7/8 Flange", "SG----")],
    "QXA-158": [("EIA 1-5/8 Flange", "SGP---"), ("7-16 DIN Female", "SG----"),
                ("N Female", "S-G---")],
    "QXA-300": [("EIA 3-1/8 Flange", "SGP---")],
    "QXA-400": [("EIA 4-1/16 Flange", "SG----")],
    "QXA-500": [("EIA 6-1/8 Flange", "SG----"), ("EIA 4-1/16 Flange", "S-----")],
    "QXW-A10": [("CPR Flange", "STP---"), ("N Female", "S-----")],
    "QXW-A13": [("CPR Flange", "STP---"), ("N Female", "S-----")],
    "QXW-A16": [("CPR Flange", "ST-P--"), ("N Female", "S-----")],
    "QXW-A23": [("CPR Flange", "STP---"), ("UDR Flange", "S-----"), ("N Female", "S-----")],
    "QXW-A36": [("CPR Flange", "ST----"), ("UDR Flange", "STP---"), ("PDR Flange", "S-P---"),
                ("N Female", "S-----")],
    "QXW-A40": [("UDR Flange", "STP---"), ("PDR Flange", "SP----"), ("CPR Flange", "S-----"),
                ("N Female", "S-----")],
    "QXW-A46": [("UDR Flange", "STP---"), ("PDR Flange", "S-----"), ("N Female", "S-----")],
    "QXW-A65": [("UDR Flange", "STP---"), ("PDR Flange", "S-P---")],
}

# Connector price scales with the cable size (flanges excepted).
CABLE_PRICE_FACTOR = {
    "QXB-030": 0.9, "QXB-050": 0.8, "QXB-050D": 1.6, "QXB-061": 0.9, "QXB-103": 1.3,
    "QXF-025": 1.2, "QXF-038": 1.5, "QXF-050": 2.0, "QXF-050S": 2.1, "QXF-10LL": 1.4,
    "QXF-078": 3.4, "QXF-114": 5.5, "QXF-158": 7.2, "QXF-214": 9.0,
    "QXA-050": 2.6, "QXA-078": 4.4, "QXA-158": 8.5, "QXA-300": 1.0, "QXA-400": 1.0,
    "QXA-500": 1.0,
    "QXW-A10": 19.0, "QXW-A13": 18.0, "QXW-A16": 17.0, "QXW-A23": 16.0, "QXW-A36": 15.0,
    "QXW-A40": 15.0, "QXW-A46": 14.5, "QXW-A65": 1.0,
}

# Bands and the lines offered in each.  A line may be offered in several
# bands, but never in two bands that overlap, so one query lists a part
# number at most once.
BANDS = [
    ("0.535", "1.705", "lf",   ["QXA-300", "QXF-158", "QXF-025"]),
    ("1.5", "30", "lf",        ["QXB-103", "QXB-061", "QXF-050", "QXF-078", "QXA-158"]),
    ("30", "88", "vhf",        ["QXB-050D", "QXB-050", "QXF-038", "QXF-10LL", "QXF-114"]),
    ("88", "108", "vhf",       ["QXF-078", "QXF-158", "QXF-214", "QXA-158", "QXA-300",
                                "QXA-400", "QXA-500"]),
    ("136", "174", "vhf",      ["QXB-103", "QXB-061", "QXF-038", "QXF-050", "QXF-050S",
                                "QXF-078", "QXF-114"]),
    ("406", "512", "uhf",      ["QXB-050", "QXB-103", "QXF-10LL", "QXF-050", "QXF-078",
                                "QXF-114", "QXF-158"]),
    ("450", "470", "uhf",      ["QXF-025", "QXA-078"]),
    ("806", "960", "cell",     ["QXF-10LL", "QXF-050", "QXF-078", "QXF-114", "QXF-158",
                                "QXA-050", "QXA-078", "QXA-158", "QXA-300"]),
    ("824", "894", "cell",     ["QXB-030", "QXB-050", "QXB-050D", "QXF-025", "QXF-038",
                                "QXF-050S", "QXF-214"]),
    ("1700", "2200", "cell",   ["QXB-050", "QXF-10LL", "QXF-050", "QXF-050S", "QXF-078",
                                "QXF-114"]),
    ("1700", "2300", "cell",   ["QXW-A10"]),
    ("1850", "1990", "cell",   ["QXB-030", "QXF-025", "QXF-038", "QXF-158", "QXA-078",
                                "QXW-A13"]),
    ("2300", "2700", "cell",   ["QXB-050D", "QXF-10LL", "QXF-050", "QXF-078", "QXW-A16"]),
    ("3300", "3800", "mw",     ["QXB-030", "QXF-025", "QXF-038", "QXF-050", "QXF-10LL",
                                "QXW-A23"]),
    ("5600", "6500", "mw",     ["QXB-030", "QXF-025", "QXF-038", "QXW-A36"]),
    ("5925", "7125", "mw",     ["QXW-A40"]),
    ("7125", "8500", "mw",     ["QXW-A46"]),
    ("10700", "11700", "mw",   ["QXW-A65"]),
]

# Connector types sold for each service class; a line offers the
# intersection of its own connectors with these.
FLANGE_SET = {"EIA 7/8 Flange", "EIA 1-5/8 Flange", "EIA 3-1/8 Flange",
              "EIA 4-1/16 Flange", "EIA 6-1/8 Flange"}
SERVICE_TYPES = {
    "lf":   {"UHF Male", "N Male", "N Female", "BNC Male"} | FLANGE_SET,
    "vhf":  {"N Male", "N Female", "UHF Male", "BNC Male", "7-16 DIN Male",
             "7-16 DIN Female"} | FLANGE_SET,
    "uhf":  {"N Male", "N Female", "7-16 DIN Male", "7-16 DIN Female", "TNC Male",
             "BNC Male", "4.3-10 Male"} | FLANGE_SET,
    "cell": {"N Male", "N Female", "7-16 DIN Male", "7-16 DIN Female", "4.3-10 Male",
             "4.3-10 Female", "TNC Male", "SMA Male", "EIA 7/8 Flange",
             "EIA 1-5/8 Flange", "EIA 3-1/8 Flange", "CPR Flange"},
    "mw":   {"N Male", "N Female", "SMA Male", "TNC Male", "4.3-10 Male",
             "CPR Flange", "UDR Flange", "PDR Flange"},
}
# Connector figures get slightly worse as the service band rises.
SERVICE_VSWR_STEP = {"lf": 0.0, "vhf": 0.01, "uhf": 0.01, "cell": 0.02, "mw": 0.04}

# US dollars per unit of each currency.  The euro-zone legacy units follow
# from the euro rate and their fixed conversion rates.
EUR_RATE = 1.08
LEGACY_PER_EUR = {
    "ATS": 13.7603, "BEF": 40.3399, "DEM": 1.95583, "ESP": 166.386, "FIM": 5.94573,
    "FRF": 6.55957, "GRD": 340.75, "IEP": 0.787564, "ITL": 1936.27, "NLG": 2.20371,
    "PTE": 200.482,
}
CURRENCY_ORDER = [
    "ZAR", "RMB", "HKD", "INR", "JPY", "KRW", "PHP", "SGD", "TWD", "ATS", "BEF", "CHF",
    "DEM", "DKK", "ESP", "EUR", "FIM", "FRF", "GBP", "GRD", "IEP", "ITL", "NLG", "NOK",
    "PTE", "SEK", "AED", "SAR", "CAD", "MXP", "AUD", "IDR", "NZD", "BRL", "ARS",
]
DIRECT_RATES = {
    "ZAR": 0.054, "RMB": 0.138, "HKD": 0.128, "INR": 0.012, "JPY": 0.0067,
    "KRW": 0.00075, "PHP": 0.0175, "SGD": 0.74, "TWD": 0.031, "CHF": 1.12,
    "DKK": 0.145, "EUR": EUR_RATE, "GBP": 1.27, "NOK": 0.093, "SEK": 0.095,
    "AED": 0.2723, "SAR": 0.2667, "CAD": 0.73, "MXP": 0.055, "AUD": 0.66,
    "IDR": 0.000063, "NZD": 0.6, "BRL": 0.19, "ARS": 0.0011,
}

# Price-list entries that no catalogue row refers to (installation items).
ACCESSORIES = [
    ("AC", "QH", "QXH-050-10", "EA", "Snap-in hanger, 1/2 in, pack of 10", "38.5"),
    ("AC", "QH", "QXH-078-10", "EA", "Snap-in hanger, 7/8 in, pack of 10", "46"),
    ("AC", "QH", "QXH-158-10", "EA", "Snap-in hanger, 1-5/8 in, pack of 10", "72.5"),
    ("AC", "QG", "QXG-050", "EA", "Grounding kit, 1/2 in lines", "24.75"),
    ("AC", "QG", "QXG-078", "EA", "Grounding kit, 7/8 in lines", "31.2"),
    ("AC", "QT", "QXT-050", "EA", "Cable preparation tool, 1/2 in foam", "64.9"),
    ("AC", "QT", "QXT-078", "EA", "Cable preparation tool, 7/8 in foam", "88"),
    ("AC", "QK", "QXK-WB", "EA", "Wall feed-through boot, 4 port", "112"),
    ("AC", "QK", "QXK-TAPE", "EA", "Weatherproofing kit, tape and mastic", "18.6"),
]


def line_by_part():
    return {row[0]: row for row in LINES}


def cable_code(part):
    """QXF-050 -> F050: the short code used inside connector part numbers."""
    return part[2:].replace("-", "")


def fmt_num(value):
    """Shortest plain decimal text, no exponent, no trailing zeros."""
    text = f"{value:.6f}".rstrip("0").rstrip(".")
    return text if text not in ("", "-0") else "0"


def money(value):
    return f"{value:.2f}"


def connector_parts(part, type_name, pattern):
    """Six slots of part numbers (empty text for a gap) with their variants."""
    code = CONNECTOR_TYPES[type_name][0]
    slots = []
    for letter in pattern:
        if letter == "-":
            slots.append(("", None))
            continue
        suffix = VARIANTS[letter][0]
        number = f"QXC-{cable_code(part)}-{code}" + (f"-{suffix}" if suffix else "")
        slots.append((number, letter))
    return slots


def connector_price(part, type_name, letter):
    base = CONNECTOR_TYPES[type_name][1]
    factor = 1.0 if type_name in FLANGES else CABLE_PRICE_FACTOR[part]
    return round(base * factor * VARIANTS[letter][2], 2)


def catalogue_rows():
    lines = line_by_part()
    header = ("Begin MHz|End MHz|Size|Part Number|Type|Jacket|Derating Key|Att A|Att B|"
              "Avg Power Const|Peak kW|Connector|VSWR|Ins Loss dB|Max GHz|IM3 dBc|"
              "Part 1|Part 2|Part 3|Part 4|Part 5|Part 6|")
    rows = [header]
    for begin, end, service, parts in BANDS:
        for part in parts:
            (_, kind, size, jacket, key, att_a, att_b, const, peak, _price, _desc) = lines[part]
            options = [(t, p) for t, p in CABLE_CONNECTORS[part] if t in SERVICE_TYPES[service]]
            if not options:
                raise SystemExit(f"{part} has no connector for the {begin}-{end} band")
            head = [begin, end, size, part, kind, jacket, key, att_a, att_b, const, peak]
            for type_name, pattern in options:
                vswr, loss, max_ghz, im3 = CONNECTOR_TYPES[type_name][2]
                figures = [fmt_num(vswr + SERVICE_VSWR_STEP[service]), fmt_num(loss),
                           fmt_num(max_ghz), fmt_num(im3)]
                numbers = [n for n, _ in connector_parts(part, type_name, pattern)]
                fields = head + [type_name] + figures + numbers
                assert len(fields) == 22
                rows.append("".join(f + "|" for f in fields))
    return rows


def price_rows():
    rows = [
        "# Quillon demo price list: list prices in US dollars.",
        "# Fields: group|line code|part number|unit|description|price|weight lb|",
        "; Lines are priced per foot, connectors and accessories per unit.",
    ]
    line_code = {"BRAIDED": "QB", "FOAM": "QF", "AIR": "QA", "EW": "QW"}
    rows.append("; --- Transmission lines")
    for part, kind, size, *_rest, price, desc in LINES:
        rows.append(f"TL|{line_code[kind]}|{part}|FT|{desc}|{price}|")
        if part == "QXF-050":
            # A superseded entry kept as a comment; it must never be matched.
            rows.append(f"; TL|QF|{part}|FT|{desc} (2019 price)|1.95|")
    rows.append("; --- Connectors")
    seen = set()
    for part, options in CABLE_CONNECTORS.items():
        size = line_by_part()[part][2]
        kind = line_by_part()[part][1]
        what = {"BRAIDED": "braided coax", "FOAM": "foam coax", "AIR": "air coax",
                "EW": "elliptical waveguide"}[kind]
        for type_name, pattern in options:
            for number, letter in connector_parts(part, type_name, pattern):
                if not number or number in seen:
                    continue
                seen.add(number)
                phrase = VARIANTS[letter][1]
                if kind == "EW" and type_name == "N Female":
                    desc = f"N Female transition for {size} {what}"
                else:
                    desc = f"{type_name} for {size} {what}"
                if phrase:
                    desc += f", {phrase}"
                price = connector_price(part, type_name, letter)
                weight = fmt_num(round(0.05 + price / 400, 2))
                rows.append(f"CN|QC|{number}|EA|{desc}|{money(price)}|{weight}|")
    rows.append("; --- Installation accessories")
    for fields in ACCESSORIES:
        rows.append("".join(f + "|" for f in fields))
    return rows


def rate_rows():
    rows = []
    for code in CURRENCY_ORDER:
        if code in LEGACY_PER_EUR:
            rate = EUR_RATE / LEGACY_PER_EUR[code]
        else:
            rate = DIRECT_RATES[code]
        rows.append(f"{code}|{float(f'{rate:.6g}'):.10f}".rstrip("0").rstrip(".") + "|")
    return rows


def write(path, rows):
    data = "".join(row + CRLF for row in rows)
    with open(path, "wb") as out:
        out.write(data.encode("ascii"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write(os.path.join(folder, "Freq_TLine_Connectors.dat"), catalogue_rows())
    write(os.path.join(folder, "M_lom.dat"), price_rows())
    write(os.path.join(folder, "xcngrate.dat"), rate_rows())


if __name__ == "__main__":
    main()
