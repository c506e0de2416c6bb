#!/usr/bin/env python3
"""Independent check of the open-answer golden files of qesrun on the demo questionnaire.

Reads the opinions of the service (question 14) and the satisfaction (question 10) straight from
the demo's SQLite file and recounts, with a tokenizer of its own written from the rule (digits
and every letter Windows-1252 holds are word characters, all else separates, capitals lowered):

- qesrun-open-dictionary.tsv: every form met at least 20 times, with its frequency, the most
  frequent first, equal frequencies in the dictionary order (base letters first: é as e, œ as
  oe; then code points);
- qesrun-open-segments.tsv: each segment printed is a run of forms inside answers met at as many
  places as printed (at least 40), longest first;
- qesrun-open-by-category.tsv: the non-empty answers under each satisfaction, in the question's
  order of modalities (the non-response last), in interview order, with their numbers.

    python3 tests/golden/qesrun-open.py build/demo/demo.qes tests/golden
"""
import re
import sqlite3
import sys
import unicodedata
from collections import Counter

demo, folder = sys.argv[1], sys.argv[2]
db = sqlite3.connect(demo)
names = [d[0] for d in db.execute('select * from "VEL Reponse1" limit 1').description]
rows = list(db.execute('select * from "VEL Reponse1" order by Cle1'))
opinions = [r[names.index("14;1")] or "" for r in rows]
satisfaction = [r[names.index("10;1")] for r in rows]

letters = "".join(ch for ch in bytes(range(256)).decode("cp1252", errors="ignore") if ch.isalpha())
word = re.compile("[0-9" + re.escape(letters) + "]+")


def tokens(text):
    return [w.lower() for w in word.findall(text)]


def dictionary_key(form):
    base = unicodedata.normalize("NFD", form.replace("œ", "oe").replace("æ", "ae").replace("ß", "ss"))
    return ("".join(c for c in base if not unicodedata.combining(c)), form)


def table(name):
    with open(f"{folder}/qesrun-open-{name}.tsv", encoding="utf-8") as f:
        lines = f.read().split("\n")
    return [line.split("\t") for line in lines[3:] if line]


failures = 0


def check(what, ok):
    global failures
    if not ok:
        failures += 1
        print("FAIL", what)


answers = [tokens(o) for o in opinions]
counts = Counter(t for a in answers for t in a)
expected = sorted(((f, n) for f, n in counts.items() if n >= 20), key=lambda p: (-p[1], dictionary_key(p[0])))
printed = [(r[0], int(r[1])) for r in table("dictionary")]
check("dictionary", printed == expected)

for text, frequency in ((r[0], int(r[1])) for r in table("segments")):
    run = text.split(" ")
    places = sum(1 for a in answers for i in range(len(a) - len(run) + 1) if a[i:i + len(run)] == run)
    check(f"segment {text}: {places} places", len(run) >= 2 and places == frequency and frequency >= 40)
lengths = [len(r[0].split(" ")) for r in table("segments")]
check("segments longest first", lengths == sorted(lengths, reverse=True))

# Modalities are stored by the question's position; the non-response, which the program adds to a
# question with the non-response flag, comes last under its generated caption.
(position,) = db.execute("select Position from Question where Code = 10").fetchone()
modalities = list(db.execute("select Position, Code from Modalite where Question = ? order by Position", (position,)))
caption_of = dict(db.execute("select Modalite, Caption from ModaliteCaption where Question = ? and LanguageId = 1036",
                             (position,)))
codes = [code for _, code in modalities] + [-1]
captions = {code: caption_of[p] for p, code in modalities}
captions[-1] = "Non réponse"
expected = [[captions[c], opinions[i], str(i + 1)] for c in codes for i in range(len(rows))
            if satisfaction[i] == c and opinions[i]]
check("answers by category", table("by-category") == expected)

print("all open-answer golden tables agree" if failures == 0 else f"{failures} failures")
sys.exit(1 if failures else 0)
