#!/bin/sh
# The lexical engine on the open answers of a synthetic survey (qesbuild synthetic --open: the
# phrases of qesbuild's opinions of the service, one in five with an order number), at 100,000
# and 1,000,000 interviews: the dictionary, corpus and cache files built from the answers (reading
# them from the questionnaire included), the repeated segments, and the lexical table of every form
# by the ten categories of Q8 with its test values. Beside them, the dictionary counted by Python
# (collections.Counter over a regular expression of the word characters: digits and the letters of
# Windows-1252, lowered) and by R's tm (a term-document matrix with the same tokens, summed by
# form), both on the answers already in memory, at 100,000 answers (and Python at 1,000,000); all
# must give the same form frequencies. Best of three runs each (R: one run). A peer that is not
# installed is named and skipped. Ours with one worker thread (MORVANE_THREADS=1) and with all.
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
WORK=${TMPDIR:-/tmp}/morvane-openanswers-benchmark
rm -rf "$WORK" && mkdir -p "$WORK"

met() { if [ "$(echo "$1" | bc -l)" = 1 ]; then echo met; else echo missed; fi; }
value() { grep "^$1 " "$2" | cut -d' ' -f2; }

# Python's count: prints its best time of three, writes "form<TAB>frequency" lines.
python_count() {
    python3 - "$1" "$2" <<'PY'
import re, sqlite3, sys, time
from collections import Counter
db = sqlite3.connect(sys.argv[1])
code = db.execute("select Code from Question where Name = 'AVIS'").fetchone()[0]
texts = [t or "" for (t,) in db.execute(f'select "{code};1" from "VEL Reponse1" order by Cle1')]
letters = "".join(c for c in bytes(range(256)).decode("cp1252", errors="ignore") if c.isalpha())
word = re.compile("[0-9" + re.escape(letters) + "]+")
best = None
for _ in range(3):
    start = time.perf_counter()
    counts = Counter(w.lower() for t in texts for w in word.findall(t))
    elapsed = time.perf_counter() - start
    best = elapsed if best is None else min(best, elapsed)
with open(sys.argv[2], "w", encoding="utf-8") as out:
    for form, n in counts.items():
        out.write(f"{form}\t{n}\n")
print(f"{best:.6f}")
PY
}

# R's tm: prints its time, writes "form<TAB>frequency" lines.
r_count() {
    sqlite3 "$1" "select coalesce(\"$(sqlite3 "$1" "select Code from Question where Name = 'AVIS'");1\", '') from \"VEL Reponse1\" order by Cle1" > "$WORK/answers.txt"
    LC_ALL=C.UTF-8 Rscript - "$WORK/answers.txt" "$2" <<'R'
suppressMessages({ library(tm); library(slam) })
args <- commandArgs(trailingOnly = TRUE)
texts <- readLines(args[1], encoding = "UTF-8")
tokens <- function(x) { x <- as.character(x); regmatches(x, gregexpr("[0-9\\p{L}]+", x, perl = TRUE))[[1]] }
start <- proc.time()[["elapsed"]]
tdm <- TermDocumentMatrix(VCorpus(VectorSource(texts)),
                          control = list(tokenize = tokens, tolower = TRUE, wordLengths = c(1, Inf)))
counts <- row_sums(tdm)
elapsed <- proc.time()[["elapsed"]] - start
write.table(data.frame(names(counts), as.integer(counts)), args[2], sep = "\t", quote = FALSE,
            row.names = FALSE, col.names = FALSE, fileEncoding = "UTF-8")
cat(sprintf("%.6f\n", elapsed))
R
}

# A peer's line: its name, its time, its forms file.
peer() {
    printf '  %-58s %8.3f s  ours %.1fx faster on 1 thread, %.1fx on all (goal >= 10: %s), same form frequencies: %s\n' \
        "$1" "$2" "$(echo "$2 / $COUNT1" | bc -l)" "$(echo "$2 / $COUNT" | bc -l)" "$(met "$2 >= 10 * $COUNT")" \
        "$(same "$WORK/ours-$N.tsv" "$3")"
}

# Whether two "form<TAB>frequency" files hold the same pairs.
same() { [ "$(sort "$1" | md5sum)" = "$(sort "$2" | md5sum)" ] && echo yes || echo NO; }

for N in 100000 1000000; do
    FILE="$WORK/synthetic-$N.qes"
    "$BIN/qesbuild" synthetic "$FILE" --interviews "$N" --questions 10 --seed 1 --open >/dev/null
    sync
    "$BIN/openanswers_benchmark" "$FILE" --forms "$WORK/ours-$N.tsv" > "$WORK/ours-$N.txt"
    O="$WORK/ours-$N.txt"
    MORVANE_THREADS=1 "$BIN/openanswers_benchmark" "$FILE" > "$WORK/ours-1-$N.txt"
    COUNT1=$(value count "$WORK/ours-1-$N.txt")
    COUNT=$(value count "$O") BUILD=$(value build "$O") SEGMENTS=$(value segments "$O") SPEC=$(value specificities "$O")
    printf '%s open answers (%s tokens, %s forms, %s segments), load average %s\n' "$(value answers "$O")" \
        "$(value tokens "$O")" "$(value forms "$O")" "$(value segmentcount "$O")" "$(cut -d' ' -f1 /proc/loadavg)"
    printf '  %-58s %8.3f s\n' "the answers in memory cut into forms and counted, 1 thread" "$COUNT1"
    printf '  %-58s %8.3f s\n' "the same on $(nproc) threads" "$COUNT"
    printf '  %-58s %8.3f s\n' "dictionary, corpus and cache files from the questionnaire" "$BUILD"
    printf '  %-58s %8.3f s\n' "the same read back from the cache files" "$(value load "$O")"
    printf '  %-58s %8.3f s\n' "repeated segments computed and written" "$SEGMENTS"
    printf '  %-58s %8.3f s\n' "lexical table of $(value forms "$O") forms x $(value categories "$O") categories and test values" "$SPEC"
    if [ "$N" = 100000 ]; then
        printf '  goals: dictionary <= 0.5 s %s, segments <= 2 s %s, test values of 1,000 forms or more <= 0.1 s %s\n' \
            "$(met "$BUILD <= 0.5")" "$(met "$SEGMENTS <= 2")" "$(met "$SPEC <= 0.1")"
    fi
    if command -v python3 >/dev/null; then
        peer "Python Counter over a regular expression (in memory)" "$(python_count "$FILE" "$WORK/python-$N.tsv")" \
            "$WORK/python-$N.tsv"
    else
        echo "  python3 not installed: skipped"
    fi
    if [ "$N" = 100000 ]; then
        if Rscript -e 'library(tm)' >/dev/null 2>&1; then
            peer "R tm term-document matrix, summed by form (in memory)" "$(r_count "$FILE" "$WORK/r-$N.tsv")" \
                "$WORK/r-$N.tsv"
        else
            echo "  R's tm not installed (Debian r-cran-tm): skipped"
        fi
    fi
    printf '  peak memory %s MB\n' "$(value peak "$O")"
done
rm -rf "$WORK"
