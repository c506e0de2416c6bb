#!/usr/bin/env python3
"""Independent check of the profile-table golden files of qesrun on the demo questionnaire.

Reads the answers straight from the demo's SQLite file, recomputes every number the golden
tables print (counts, percentages, means, standard deviations, the open answers) with its own
code, and the chi-square, degrees of freedom and p-value of the test lines with R's chisq.test.

    python3 tests/golden/qesrun-profiles.py build/demo/demo.qes tests/golden
"""
import math
import sqlite3
import subprocess
import sys
from collections import Counter

demo, folder = sys.argv[1], sys.argv[2]
db = sqlite3.connect(demo)
rows = list(db.execute('select * from "VEL Reponse1" order by Cle1'))
names = [d[0] for d in db.execute('select * from "VEL Reponse1" limit 1').description]
N = len(rows)
CODE = {"SEXE": 1, "AGE": 2, "TRANCHE": 3, "REGION": 4, "CSP": 5, "FOYER": 6, "REVENU": 7,
        "SATISF": 10, "SERVICE": 14}


def answers(q):
    col = names.index(f"{CODE[q]};1")
    return [r[col] for r in rows]


failures = 0


def fmt(x, d=1):
    return f"{x:.{d}f}"


def check(what, printed, expected):
    global failures
    if printed != expected:
        failures += 1
        print(f"MISMATCH {what}: printed {printed!r}, expected {expected!r}")


def table(name):
    text = open(f"{folder}/qesrun-{name}.tsv", encoding="utf-8").read()
    return [line.split("\t") for line in text.split("\n") if line]


def pct(a, b):
    return fmt(100.0 * a / b) + "%"


def cross(rq, rmods, cq, cmods):
    ra, ca = answers(rq), answers(cq)
    return [[sum(1 for x, y in zip(ra, ca) if x == r and y == c) for c in cmods] for r in rmods]


# ---- Crossed profile: blocks are cross tables; column percentages over the block's selected
# rows; Total column over the row question's selected modalities, Total line over every unit.
t = table("profiles-crossed")
rowq = [("SATISF", [1, 2, 3, 4, 5]), ("TRANCHE", [1, 2, 3, 4, 5]), ("REGION", [1, 2, 3, 4, 5])]
colq = [("SEXE", [1, 2]), ("CSP", [3, 5, 6])]
body = t[5:]
line = 0
for rq, rmods in rowq:
    ra = answers(rq)
    sel_total = sum(1 for x in ra if x in rmods)
    for i, r in enumerate(rmods):
        cells = body[line][2:]
        k = 0
        for cq, cmods in colq:
            m = cross(rq, rmods, cq, cmods)
            for j, c in enumerate(cmods):
                coltot = sum(m[a][j] for a in range(len(rmods)))
                check(f"crossed {rq}={r} {cq}={c} count", cells[k], str(m[i][j]))
                check(f"crossed {rq}={r} {cq}={c} col%", cells[k + 1], pct(m[i][j], coltot))
                k += 2
        n = sum(1 for x in ra if x == r)
        check(f"crossed {rq}={r} Total count", cells[k], str(n))
        check(f"crossed {rq}={r} Total %", cells[k + 1], pct(n, sel_total))
        line += 1
total_cells = body[line][2:]
k = 0
for cq, cmods in colq:
    ca = answers(cq)
    for c in cmods:
        check(f"crossed Total {cq}={c}", total_cells[k], str(sum(1 for y in ca if y == c)))
        check(f"crossed Total {cq}={c} %", total_cells[k + 1], "100.0%")
        k += 2
check("crossed corner", total_cells[k], str(N))
check("crossed base", t[1][0], f"Base : {N}")

# ---- Comparison of modalities: counts and percentages over the selected modalities.
t = table("profiles-comparison")
base = 0
for line, (q, mods) in zip(t[4:], [("TRANCHE", [1, 2, 3]), ("REGION", [1, 2, 3]), ("SATISF", [1, 2, 3])]):
    a = answers(q)
    n = [sum(1 for x in a if x == m) for m in mods]
    base = max(base, sum(n))
    for k, m in enumerate(mods):
        check(f"comparison {q}={m} count", line[1 + 2 * k], str(n[k]))
        check(f"comparison {q}={m} %", line[2 + 2 * k], pct(n[k], sum(n)))
check("comparison base", t[1][0], f"Base : {base}")

# ---- Advanced table: margin column of counts, cells (counts, column profiles over the selected
# rows), trailing margin row of percentages over every unit, and the chi-square test lines.
def chisq_r(matrix):
    values = ",".join(str(v) for row in matrix for v in row)
    script = (f"m <- matrix(c({values}), nrow={len(matrix)}, byrow=TRUE); "
              "t <- suppressWarnings(chisq.test(m, correct=FALSE)); "
              "cat(sprintf('%.10f %d %.10f', t$statistic, t$parameter, t$p.value))")
    out = subprocess.run(["Rscript", "-e", script], capture_output=True, text=True, check=True).stdout.split()
    return float(out[0]), int(out[1]), float(out[2])


t = table("advanced")
rowq = [("SATISF", [1, 2, 3, 4, 5]), ("TRANCHE", [1, 2, 3, 4, 5])]
colq = [("REGION", [1, 2, 3, 4, 5]), ("SEXE", [1, 2])]
body = t[5:]
line = 0
for rq, rmods in rowq:
    ra = answers(rq)
    for i, r in enumerate(rmods):
        cells = body[line][2:]
        check(f"advanced {rq}={r} margin count", cells[0], str(sum(1 for x in ra if x == r)))
        k = 1
        for cq, cmods in colq:
            m = cross(rq, rmods, cq, cmods)
            for j, c in enumerate(cmods):
                coltot = sum(m[a][j] for a in range(len(rmods)))
                check(f"advanced {rq}={r} {cq}={c} count", cells[k], str(m[i][j]))
                check(f"advanced {rq}={r} {cq}={c} col%", cells[k + 1], pct(m[i][j], coltot))
                k += 2
        line += 1
    cells = body[line][2:]
    k = 1
    for cq, cmods in colq:
        chi2, df, p = chisq_r(cross(rq, rmods, cq, cmods))
        expected = f"khi2={fmt(chi2)} ddl={df} p={fmt(100 * p)}"
        check(f"advanced test {rq} x {cq}", cells[k], expected)
        print(f"  {rq} x {cq}: R chisq.test X2={chi2:.6f} df={df} p={p:.6g}")
        k += 2 * len(cmods)
    line += 1
cells = body[line][2:]
k = 1
for cq, cmods in colq:
    ca = answers(cq)
    for c in cmods:
        check(f"advanced margin row {cq}={c}", cells[k], pct(sum(1 for y in ca if y == c), N))
        k += 2

# ---- Crossed mean profile: mean, standard deviation (divided by n, as the statistics tables do) and answers of AGE and REVENU per
# modality, then over every unit (the Total row, last).
def stats(values):
    values = [v for v in values if v is not None]
    n = len(values)
    mean = sum(values) / n
    sd = math.sqrt(sum((v - mean) ** 2 for v in values) / n)
    return fmt(mean), fmt(sd), str(n)


t = table("profiles-mean")
body = t[4:]
line = 0
for rq, rmods in [("SATISF", [1, 2, 3, 4, 5]), ("TRANCHE", [1, 2, 3, 4, 5])]:
    ra = answers(rq)
    for r in rmods:
        cells = body[line][2:]
        k = 0
        for nq in ["AGE", "REVENU"]:
            na = answers(nq)
            got = stats([v for x, v in zip(ra, na) if x == r])
            check(f"mean {rq}={r} {nq}", tuple(cells[k:k + 3]), got)
            k += 3
        line += 1
cells = body[line][2:]
check("mean Total label", body[line][0], "Total")
check("mean Total AGE", tuple(cells[0:3]), stats(answers("AGE")))
check("mean Total REVENU", tuple(cells[3:6]), stats(answers("REVENU")))

# ---- Simple profile: counts and percentages of every modality, non-response included, over
# every unit; the Total line.
t = table("profiles-simple")
body = t[3:]
line = 0
for q, mods in [("SATISF", [1, 2, 3, 4, 5, -1, -2]), ("TRANCHE", [1, 2, 3, 4, 5, -2])]:
    a = [x if x is not None else -2 for x in answers(q)]
    line += 1  # the question's caption line
    for m in mods:
        n = sum(1 for x in a if x == m)
        check(f"simple {q}={m}", body[line][1:3], [str(n), pct(n, N)])
        line += 1
    check(f"simple {q} Total", body[line], ["Total", str(N), "100.0%"])
    line += 1

# ---- Statistical profile: mean, standard deviation, answers, minimum and maximum.
t = table("profiles-statistical")
for line, q in zip(t[3:], ["AGE", "REVENU", "FOYER"]):
    values = [v for v in answers(q) if v is not None]
    mean, sd, n = stats(values)
    check(f"statistical {q}", line[1:], [mean, sd, n, fmt(min(values)), fmt(max(values))])

# ---- Open profile: one row per interview that answered, numbered by its place among all
# interviews, with its answer.
t = table("profiles-open")
expected = [[f"Intvw {i + 1}", text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")]
            for i, text in enumerate(answers("SERVICE")) if text]
check("open rows", t[3:], expected)
check("open base", t[1][0], f"Base : {len(expected)}")

print("all numbers agree" if failures == 0 else f"{failures} mismatches")
sys.exit(1 if failures else 0)
