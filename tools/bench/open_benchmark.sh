#!/bin/sh
# Opening a synthetic questionnaire of 1,000,000 interviews x 50 questions with our code, beside
# SQLite counting the interview table. Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
FILE=${TMPDIR:-/tmp}/morvane-open-benchmark.qes
rm -f "$FILE"
"$BIN/qesbuild" synthetic "$FILE" --interviews 1000000 --questions 50 --seed 1
set -- $("$BIN/open_benchmark" "$FILE")
OURS=$1 INTERVIEWS=$2
START=$(date +%s.%N)
COUNT=$(sqlite3 "$FILE" 'SELECT count(*) FROM "VEL Reponse1"')
END=$(date +%s.%N)
SQL=$(echo "$END - $START" | bc)
printf 'interviews: ours %s, sqlite3 %s\n' "$INTERVIEWS" "$COUNT"
printf 'seconds:    Ouvrir %s   sqlite3 count(*) %s\n' "$OURS" "$SQL"
rm -f "$FILE"
