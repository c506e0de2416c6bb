#!/bin/bash
# The search for significant cross tables and the multiple linear regression beside R, on a
# synthetic survey of 1,000,000 interviews x 100 closed questions weighted by POIDS: every pair of
# Q1..Q50 by Q51..Q100 tested for independence, the tables of risk at most 5 % listed (ours: the
# program's search, which also computes each listed table; R: looping chisq.test(xtabs(w ~ a +
# b))), and the regression of Q1's codes on those of Q2..Q11 (ours: the regression solver; R:
# lm()). Both sides have the data in memory; times in seconds, wall clock and processor (ours on
# its worker threads: MORVANE_THREADS sets how many). The lists of pairs and the coefficients are
# compared.
# Usage: significance_benchmark.sh [BIN [INTERVIEWS]]; run after
#   cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
N=${2:-1000000}
THRESHOLD=5
HERE=$(dirname "$0")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/morvane-significance-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
command -v Rscript >/dev/null 2>&1 || apt-get install -y r-base-core >/dev/null
load() { cut -d' ' -f1 /proc/loadavg; }

"$BIN/qesbuild" synthetic "$WORK/s.qes" --interviews "$N" --questions 100 --seed 1 >/dev/null
"$BIN/significance_benchmark" prepare "$WORK/s.qes" "$WORK"
LOAD_START=$(load)
"$BIN/significance_benchmark" scan "$WORK/s.qes" "$THRESHOLD" > "$WORK/ours-scan.txt"
"$BIN/significance_benchmark" rlm "$WORK/s.qes" > "$WORK/ours-rlm.txt"
Rscript "$HERE/significance.R" "$WORK" "$N" "$THRESHOLD" > "$WORK/r.txt"
LOAD_END=$(load)

field() { awk -v k="$2" '$1 == k { print $2; exit }' "$1"; }
pairs() { awk '$1 == "pair" { print $2, $3 }' "$1" | sort; }
ratio() { echo "$1 / $2" | bc -l; }
verdict() { if [ "$(echo "$1 >= $2" | bc -l)" = 1 ]; then echo met; else echo missed; fi; }

SAME=no
pairs "$WORK/ours-scan.txt" > "$WORK/ours-pairs.txt"
pairs "$WORK/r.txt" > "$WORK/r-pairs.txt"
cmp -s "$WORK/ours-pairs.txt" "$WORK/r-pairs.txt" && SAME=yes
RISK_DIFF=$(join -j1 \
    <(awk '$1 == "pair" { print $2 "_" $3, $4 }' "$WORK/ours-scan.txt" | sort) \
    <(awk '$1 == "pair" { print $2 "_" $3, $4 }' "$WORK/r.txt" | sort) |
    awk '{ d = $2 - $3; if (d < 0) d = -d; if (d > w) w = d } END { printf "%.2g", w }')
COEF_DIFF=$( (awk '$1 == "coef" { print "o", $2, $3 }' "$WORK/ours-rlm.txt"; awk '$1 == "coef" { print "r", $2, $3 }' "$WORK/r.txt") |
    awk '$1 == "o" { o[$2] = $3 } $1 == "r" { r[$2] = $3 }
         END { for (k in o) { d = (o[k] - r[k]) / r[k]; if (d < 0) d = -d; if (d > w) w = d } printf "%.2g", w }')

printf '%s interviews x 100 closed questions, weighted by POIDS; seconds; load average of the %s-core machine: %s at the start, %s at the end\n' \
    "$N" "$(nproc)" "$LOAD_START" "$LOAD_END"
printf '%-46s %9s %9s %9s %9s %8s %8s  %s\n' "" "ours" "ours cpu" "R" "R cpu" "R/ours" "cpu" "goal"
SCAN=$(field "$WORK/ours-scan.txt" scan)
SCAN_CPU=$(field "$WORK/ours-scan.txt" scan-cpu)
RSCAN=$(field "$WORK/r.txt" scan)
RSCAN_CPU=$(field "$WORK/r.txt" scan-cpu)
printf '%-46s %9.3f %9.3f %9.3f %9.3f %8.1f %8.1f  %s\n' "search over 50 x 50 pairs (threshold ${THRESHOLD} %)" \
    "$SCAN" "$SCAN_CPU" "$RSCAN" "$RSCAN_CPU" "$(ratio "$RSCAN" "$SCAN")" "$(ratio "$RSCAN_CPU" "$SCAN_CPU")" \
    ">= 30: $(verdict "$(ratio "$RSCAN" "$SCAN")" 30), $(verdict "$(ratio "$RSCAN_CPU" "$SCAN_CPU")" 30)"
RLM=$(field "$WORK/ours-rlm.txt" rlm)
RLM_CPU=$(field "$WORK/ours-rlm.txt" rlm-cpu)
RRLM=$(field "$WORK/r.txt" rlm)
RRLM_CPU=$(field "$WORK/r.txt" rlm-cpu)
printf '%-46s %9.3f %9.3f %9.3f %9.3f %8.1f %8.1f  %s\n' "regression on 10 questions ($(field "$WORK/ours-rlm.txt" rows | cut -d. -f1) rows)" \
    "$RLM" "$RLM_CPU" "$RRLM" "$RRLM_CPU" "$(ratio "$RRLM" "$RLM")" "$(ratio "$RRLM_CPU" "$RLM_CPU")" \
    ">= 5: $(verdict "$(ratio "$RRLM" "$RLM")" 5), $(verdict "$(ratio "$RRLM_CPU" "$RLM_CPU")" 5)"
printf 'significant pairs: ours %s, R %s, the same list: %s; largest difference of their risks %s (percentage points)\n' \
    "$(wc -l < "$WORK/ours-pairs.txt")" "$(wc -l < "$WORK/r-pairs.txt")" "$SAME" "$RISK_DIFF"
printf 'coefficients: largest relative difference from R %s (goal <= 1e-9: %s)\n' "$COEF_DIFF" \
    "$(if [ "$(echo "$COEF_DIFF" | awk '{ print ($1 <= 1e-9) }')" = 1 ]; then echo met; else echo missed; fi)"
echo "goals on the wall-clock ratio, then on the processor-time ratio (the fairer one on a busy machine)"
echo "ours includes computing every listed table; R only tests the pairs"
