#!/bin/sh
# A formula of three question references and a list test over a synthetic questionnaire of
# 1,000,000 interviews, as a study field applies it: the first evaluation reading the three
# questions from the response tables (one walk of the table for the three); then, the database
# inverted, the first evaluation of a session reading them from the inverted files; then the same
# evaluation again with the answers in the caches, as later tables of a session find them;
# wall-clock and processor time. Beside it, sqlite3 computing the same condition on the same
# columns, which must keep as many interviews.
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
FILE=${TMPDIR:-/tmp}/morvane-formula-benchmark.qes
FORMULA='??Q1?? >= 2 ET ??Q2?? IN {1;3} OU ??Q3?? = 1'
rm -rf "$FILE" "${FILE%???}dat"
"$BIN/qesbuild" synthetic "$FILE" --interviews 1000000 --questions 3 --seed 1 >/dev/null

value() { echo "$1" | awk -v k="$2" '$1 == k { print $2 }'; }
OUT=$("$BIN/formula_benchmark" "$FILE" "$FORMULA" 2>/dev/null)

# The same condition in SQL on the stored codes (the synthetic questions' codes are their
# modality numbers; a blank is NULL, which SQL's AND and OR never make true, as the formula's
# missing value makes its comparisons false).
SQL='SELECT SUM(("1;1" >= 2 AND "2;1" IN (1, 3)) OR "3;1" = 1) FROM "VEL Reponse1"'
START=$(date +%s.%N); SQLKEPT=$(sqlite3 "$FILE" "$SQL"); END=$(date +%s.%N)
SQLITE=$(echo "$END - $START" | bc)

row() { printf '%-52s %9.3f %9.3f\n' "$1" "$2" "$3"; }
printf '%s\n' "$FORMULA"
printf '%-52s %9s %9s\n' "1,000,000 interviews" wall cpu
row "first evaluation, reading the response tables" "$(value "$OUT" tables)" "$(value "$OUT" tables-processor)"
row "first evaluation, reading the inverted files" "$(value "$OUT" inverted)" "$(value "$OUT" inverted-processor)"
row "again, the answers in the caches" "$(value "$OUT" cached)" "$(value "$OUT" cached-processor)"
printf '%-52s %9.3f\n' "sqlite3 computing the condition on the same columns" "$SQLITE"
printf 'goal: the first evaluation from the inverted files <= 0.5 s: %s\n' \
    "$(echo "$(value "$OUT" inverted) <= 0.5" | bc -l | sed 's/1/met/; s/0/missed/')"
printf 'per interview %s s of processor time (cached)\n' "$(value "$OUT" per-interview)"
printf 'interviews kept: %s by the formula, %s by sqlite3\n' "$(value "$OUT" kept)" "$SQLKEPT"
rm -rf "$FILE" "${FILE%???}dat"
