#!/bin/sh
# Opening a synthetic questionnaire of 1,000,000 interviews x 50 questions with our code: first
# from the response tables, beside SQLite counting the interview table and SQLite reading its keys
# in key order (the least a walk of the table that gives the keys costs); then, the database
# inverted, from the inverted level file (its fingerprint checked as opening always does). Best of
# three runs each; our figures are the opening alone, SQLite's a whole sqlite3 process.
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
FILE=${TMPDIR:-/tmp}/morvane-open-benchmark.qes
FOLDER=${FILE%???}dat
rm -rf "$FILE" "$FOLDER"
"$BIN/qesbuild" synthetic "$FILE" --interviews 1000000 --questions 50 --seed 1 >/dev/null
sync # the file written out first: its write-back would otherwise run under the first timings

best() { sort -n | head -1; }
elapsed() { # seconds taken by the command, its output thrown away
    START=$(date +%s.%N); "$@" >/dev/null; END=$(date +%s.%N); echo "$END - $START" | bc
}
# Our opening, three times: "seconds interviews questions source peak-bytes" of the best run.
open_three() { for _ in 1 2 3; do "$BIN/open_benchmark" "$FILE"; done | sort -n | head -1; }

set -- $(open_three)
TABLES=$1 INTERVIEWS=$2 TABLES_SOURCE=$4 TABLES_PEAK=$5
COUNT=$(for _ in 1 2 3; do elapsed sqlite3 "$FILE" 'SELECT count(*) FROM "VEL Reponse1"'; done | best)
KEYS=$(for _ in 1 2 3; do elapsed sqlite3 "$FILE" 'SELECT sum("Cle1") FROM (SELECT "Cle1" FROM "VEL Reponse1" ORDER BY "Cle1")'; done | best)
"$BIN/read_benchmark" invert "$FILE" >/dev/null 2>&1
set -- $(open_three)
INVERTED=$1 INVERTED_SOURCE=$4 INVERTED_PEAK=$5

met() { if [ "$(echo "$1" | bc -l)" = 1 ]; then echo met; else echo missed; fi; }
row() { printf '%-52s %8.3f  %s\n' "$1" "$2" "$3"; }
printf '%s interviews, load average %s\n' "$INTERVIEWS" "$(cut -d' ' -f1 /proc/loadavg)"
printf '%-52s %8s\n' "opening 1,000,000 interviews x 50 questions" seconds
row "ours, from the response tables ($TABLES_SOURCE)" "$TABLES" \
    "$(printf '%.1fx count(*), goal <= 2x: %s' "$(echo "$TABLES / $COUNT" | bc -l)" "$(met "$TABLES <= 2 * $COUNT")")"
row "sqlite3 count(*) of the interview table" "$COUNT"
row "sqlite3 reading the keys in key order" "$KEYS"
row "ours, from the inverted level file ($INVERTED_SOURCE)" "$INVERTED" "goal <= 0.1 s: $(met "$INVERTED <= 0.1")"
printf 'peak memory once opened: %.1f bytes per interview from the tables, %.1f from the inverted files (goal <= 40)\n' \
    "$(echo "$TABLES_PEAK / $INTERVIEWS" | bc -l)" "$(echo "$INVERTED_PEAK / $INTERVIEWS" | bc -l)"
rm -rf "$FILE" "$FOLDER"
