#!/bin/sh
# Reading 50 closed questions of a synthetic questionnaire of 1,000,000 interviews: from the
# response tables (one walk of the table for all of them), inverting the database, from the
# inverted files in a fresh process (their checksums computed as they are read), again from the
# cache; beside `cat` of the same inverted
# files and sqlite3 selecting the same 50 columns. Opening the survey is not counted.
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
FILE=${TMPDIR:-/tmp}/morvane-read-benchmark.qes
FOLDER=${FILE%???}dat
QUESTIONS=50
rm -rf "$FILE" "$FOLDER"
"$BIN/qesbuild" synthetic "$FILE" --interviews 1000000 --questions $QUESTIONS --seed 1 >/dev/null

value() { echo "$1" | awk -v k="$2" '$1 == k { print $2 }'; }
elapsed() { # seconds taken by the command, its output thrown away
    START=$(date +%s.%N); "$@" >/dev/null; END=$(date +%s.%N); echo "$END - $START" | bc
}

TABLES=$(value "$("$BIN/read_benchmark" tables "$FILE")" tables)
INVERT=$(value "$("$BIN/read_benchmark" invert "$FILE")" invert)
OUT=$("$BIN/read_benchmark" inverted "$FILE")
INVERTED=$(value "$OUT" inverted)
CACHE=$(value "$OUT" cache)

FILES=$(for j in $(seq 1 $QUESTIONS); do printf '%s/Mod%d.1 ' "$FOLDER" "$j"; done)
cat $FILES >/dev/null # once into the page cache, as our reads found them
CAT=$(elapsed cat $FILES)
COLUMNS=$(for j in $(seq 1 $QUESTIONS); do printf '"%d;1",' "$j"; done)
SQL="SELECT ${COLUMNS%,} FROM \"VEL Reponse1\" ORDER BY Cle1"
SQLITE=$(elapsed sqlite3 "$FILE" "$SQL")

row() { printf '%-44s %10.3f\n' "$1" "$2"; }
printf '%-44s %10s\n' "50 closed questions x 1,000,000 interviews" seconds
row "response tables (one walk)" "$TABLES"
row "sqlite3 selecting the 50 columns" "$SQLITE"
row "inverting the database" "$INVERT"
row "inverted files, fresh process" "$INVERTED"
row "cat of the 50 inverted files" "$CAT"
printf '%-44s %10.6f\n' "again, from the cache" "$CACHE"
printf 'inverted / cat %.2f (goal <= 3)   tables / sqlite3 %.2f (goal <= 2)\n' \
    "$(echo "$INVERTED / $CAT" | bc -l)" "$(echo "$TABLES / $SQLITE" | bc -l)"
rm -rf "$FILE" "$FOLDER"
