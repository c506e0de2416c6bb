#!/usr/bin/env python3
"""Recomputes, from the fixture's CSV files alone, what qesformula must print for the formulas of
qesformula-fixture.frm, and compares it with qesformula-fixture.txt. Each formula's meaning is
written out below in plain Python, from docs/formula-language.md; nothing of the program is used.

    python3 tests/golden/qesformula-fixture.py      # prints the differences, exit 1 if any
"""
import csv
import datetime
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURE = os.path.join(HERE, "..", "formula", "fixture")
EPOCH = datetime.datetime(1899, 12, 30)
NOT_ASKED = -888888.88


def read(name):
    with open(os.path.join(FIXTURE, name), newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


interviews = read("interviews.csv")
persons = read("personnes.csv")


def g(x):
    """The text form of a number: C's "%g"."""
    return "%g" % x


def date(text):
    if not text:
        return None
    for pattern in ("%Y-%m-%d %H:%M:%S", "%Y-%m-%d %H:%M", "%Y-%m-%d"):
        try:
            return datetime.datetime.strptime(text, pattern)
        except ValueError:
            pass
    raise ValueError(text)


def date_text(d):
    text = d.strftime("%d/%m/%Y")
    if (d.hour, d.minute, d.second) != (0, 0, 0):
        text += d.strftime(" %H:%M:%S")
    return text


def days(d):
    return (d - EPOCH).total_seconds() / 86400


class Row:
    def __init__(self, r):
        self.key = r["Cle1"]
        self.sexe = int(r["1;1"])
        self.age = float(r["2;1"]) if r["2;1"] else NOT_ASKED  # a missing numeric answer reads as not asked
        self.marques = [int(r[k]) for k in ("3;1", "3;2", "3;3") if r[k]]  # codes = modality numbers
        self.naissance = date(r["4;1"])
        self.visite = date(r["5;1"])
        self.satisf = int(r["7;1"]) if r["7;1"] else None


rows = [Row(r) for r in interviews]
NONE = None  # no value: printed empty


def text(v):
    if v is None:
        return ""
    if isinstance(v, bool):
        return "1" if v else "0"
    if isinstance(v, list):
        return "{" + "".join(g(x) + " " for x in v) + "}"
    if isinstance(v, str):
        return v
    if isinstance(v, datetime.datetime):
        return date_text(v)
    return g(v)


def satisf_in(r, values):
    return r.satisf is not None and r.satisf in values


def union(a, b):
    out = list(a)
    for x in b:
        if x not in out:
            out.append(x)
    return out


FORMULAS = {
    "??SEXE??": lambda r: r.sexe,
    "??SEXE:2??": lambda r: r.sexe == 2,
    "??AGE??": lambda r: r.age,
    "??AGE?? >= 18 ET ??SEXE?? = 1": lambda r: r.age >= 18 and r.sexe == 1,
    "??MARQUES??": lambda r: r.marques,
    "SIZE ??MARQUES??": lambda r: len(r.marques),
    "??MARQUES?? IN {1;2;3}": lambda r: all(m in (1, 2, 3) for m in r.marques),
    "??MARQUES:4??": lambda r: 4 in r.marques,
    "??MARQUES?? + {4}": lambda r: union(r.marques, [4]),
    "??MARQUES??[1]": lambda r: r.marques[0] if r.marques else NONE,
    "SUM(??MARQUES??) / SIZE(??MARQUES??)": lambda r: sum(r.marques) / len(r.marques) if r.marques else NONE,
    "??SATISF??": lambda r: r.satisf,
    "??SATISF?? IN {1;2} OU ??SATISF?? = 4": lambda r: satisf_in(r, (1, 2)) or satisf_in(r, (4,)),
    "CVNRNI(??AGE??)": lambda r: 0 if r.age == -999999.99 else r.age,
    "FORMAT(??AGE?? / 3, 2)": lambda r: "%.2f" % (r.age / 3),
    'ON(??SEXE??, "H", "F") + " " + ??AGE??': lambda r: ("H" if r.sexe == 1 else "F") + " " + g(r.age),
    "YEAR(??NAISSANCE??)": lambda r: r.naissance.year if r.naissance else NONE,
    "??VISITE??": lambda r: r.visite,
    "??VISITE?? - ??NAISSANCE??": lambda r: days(r.visite) - days(r.naissance) if r.visite and r.naissance else NONE,
    "WEEKDAY(??VISITE??)": lambda r: r.visite.isoweekday() % 7 + 1 if r.visite else NONE,
    "HOUR(??VISITE??) * 60 + MINUTE(??VISITE??)": lambda r: r.visite.hour * 60 + r.visite.minute if r.visite else NONE,
    # Open questions are not read: no value.
    "??AVIS??": lambda r: NONE,
    "ISEMAIL(??EMAIL??)": lambda r: NONE,
    # The not-asked modality is the fifth modality of SATISF; an unanswered interview holds it.
    "??SATISF:5??": lambda r: r.satisf is None,
}

# Formulas the program refuses: the exit code and the message, written by hand.
REFUSED = {
    "??AGEP??": "exit 2: qesformula: error 200 at position 1, length 8: "
    "Question 'Âge de la personne dans le niveau 'Interviews' inaccessible\n",
    "??INCONNU?? = 1": "exit 2: qesformula: error 4 at position 1, length 11\n",
}


def expected_for(line):
    fields = line.split("\t")
    formula = fields[0]
    out = "> " + " ".join(fields) + "\n"
    if formula in REFUSED:
        return out + REFUSED[formula]
    if fields[1:] == ["--level", "1"] and formula == "??AGE?? > 30":
        by_key = {r.key: r for r in rows}
        for p in sorted(persons, key=lambda p: (int(p["Cle1"]), int(p["Cle2"]))):
            out += "%s;%s\t%s\n" % (p["Cle1"], p["Cle2"], text(by_key[p["Cle1"]].age > 30))
        return out
    compute = FORMULAS[formula]
    for r in sorted(rows, key=lambda r: int(r.key)):
        out += "%s\t%s\n" % (r.key, text(compute(r)))
    return out


def main():
    with open(os.path.join(HERE, "qesformula-fixture.frm"), encoding="utf-8") as f:
        lines = [l.rstrip("\n") for l in f if l.strip() and not l.startswith("#")]
    expected = "".join(expected_for(l) for l in lines)
    with open(os.path.join(HERE, "qesformula-fixture.txt"), encoding="utf-8") as f:
        golden = f.read()
    if expected == golden:
        print("qesformula-fixture.txt: %d formulas agree" % len(lines))
        return 0
    import difflib
    sys.stdout.writelines(difflib.unified_diff(golden.splitlines(True), expected.splitlines(True),
                                               "qesformula-fixture.txt", "recomputed"))
    return 1


if __name__ == "__main__":
    sys.exit(main())
