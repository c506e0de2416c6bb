#!/bin/sh
# Tables of a synthetic questionnaire of N interviews (default 1,000,000) x 50 closed questions,
# weighted by its weight question POIDS: the 50 frequency tables, one cross table of Q1 by Q2
# (counts, row and column percentages, chi-square), and the 49 cross tables of Q1 by each other
# question; beside PSPP and R on the same data exported to CSV, every figure measured in this run.
#
# Ours runs the requests through the request runner in one process, after the database was
# inverted, so that the answers are read from the inverted files in the page cache; the first
# table of the session reads POIDS and computes the weights, so the first job pays them. Ours is
# run with all its worker threads and with one (MORVANE_THREADS=1); PSPP counts on one core.
# R has the data in memory (read once, not timed) and each task is done in every usual form
# (tools/bench/tables.R), the fastest kept: our one-thread figures are compared with R's fastest
# on one thread, our all-threads figures with R's fastest of all (data.table on its own threads). PSPP: each job is a fresh run that reads its system
# file's data once; its times include the process start and that reading.
# The end-to-end line is one weighted cross table (counts, row and column percentages) from a
# fresh process: ours qesrun from the questionnaire file, R from the CSV with data.table's fread
# (the three columns) and from an .rds of the whole data set with readRDS, PSPP from its system
# file.
# The programs are checked to agree on the weighted count of modality 1 of Q1 and Q50 and on the
# chi-square of Q1 x Q2 and Q1 x Q50. A peer that is not installed is said so and skipped.
# Usage: tabulation_benchmark.sh [INTERVIEWS] [ours]   ("ours": our figures only)
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${BIN:-build-release/bin}
N=${1:-1000000}
ONLY=${2:-}
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/morvane-tabulation-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
RUNS=3
# The machine's load (the 1-minute average of runnable processes) as the run starts: figures taken
# on a busy machine are printed with it.
LOAD_START=$(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo '?')
have() { command -v "$1" >/dev/null 2>&1; }
PEERS=yes
[ "$ONLY" = ours ] && PEERS=no

"$BIN/qesbuild" synthetic "$WORK/s.qes" --interviews "$N" --questions 50 --seed 1 >/dev/null
"$BIN/tabulation_benchmark" prepare "$WORK/s.qes" "$WORK/data.csv"

# The best of RUNS runs of every figure (the largest peak memory).
best_lines() {
    awk '{ if (!($1 in best) || ($1 == "memory" ? $2 > best[$1] : $2 < best[$1])) best[$1] = $2 }
         END { for (k in best) print k, best[k] }'
}
ours() { for i in $(seq $RUNS); do "$BIN/tabulation_benchmark" run "$WORK/s.qes"; done | best_lines; }
ALL=$(ours)
ONE=$(MORVANE_THREADS=1 ours)
value() { echo "$1" | awk -v k="$2" '$1 == k { print $2 }'; }
elapsed() { # seconds taken by the command, its output thrown away
    START=$(date +%s.%N); "$@" >/dev/null 2>&1; END=$(date +%s.%N); echo "$END $START" | awk '{ print $1 - $2 }'
}
best() { for i in $(seq $RUNS); do elapsed "$@"; done | sort -g | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b == 0) print "-"; else printf "%.1f", a / b }'; }
verdict() { # met when the value compares as asked with the goal: le or ge
    awk -v v="$1" -v g="$2" -v how="$3" 'BEGIN { if (v == "" || v == "-") print "not measured";
        else if ((how == "le" && v <= g) || (how == "ge" && v >= g)) print "met"; else print "missed" }'
}
seconds() { if [ -n "$1" ]; then printf '%.3f' "$1"; else printf -- '-'; fi; }
THREADS=$(value "$ALL" threads | awk '{ printf "%d", $1 }')

if [ "$PEERS" = no ]; then
    printf '%s interviews x 50 closed questions, weighted by POIDS; ours only; seconds, best of %d runs\n' "$N" "$RUNS"
    printf 'load average of the %s-core machine: %s at the start, %s at the end\n' "$(nproc 2>/dev/null || echo '?')" \
        "$LOAD_START" "$(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo '?')"
    printf '%-34s %9s %9s\n' "" "1 thread" "$THREADS thr."
    for k in frequencies cross crosses weights; do
        printf '%-34s %9s %9s\n' "$k" "$(seconds "$(value "$ONE" $k)")" "$(seconds "$(value "$ALL" $k)")"
    done
    printf 'peak memory %.0f MB (1 thread %.0f MB)\n' "$(value "$ALL" memory)" "$(value "$ONE" memory)"
    exit 0
fi

# ---- qesrun: one weighted cross table from a fresh process.
printf 'type tri-croise\nlignes Q1\ncolonnes Q2\ncalculs 0 1 2\nredressement %s\n' POIDS > "$WORK/cross.req"
"$BIN/qesrun" "$WORK/s.qes" "$WORK/cross.req" > "$WORK/cross.txt"
EOURS=$(best "$BIN/qesrun" "$WORK/s.qes" "$WORK/cross.req")

# ---- PSPP: the CSV becomes a system file once (not timed); each job a run of its own.
PSPP=""
if have pspp; then
    VARIABLES=$(for j in $(seq 1 50); do printf 'Q%d F2.0 ' "$j"; done)
    cat > "$WORK/convert.sps" <<EOF
GET DATA /TYPE=TXT /FILE='$WORK/data.csv' /ARRANGEMENT=DELIMITED /DELIMITERS=',' /FIRSTCASE=2
  /VARIABLES=$VARIABLES POIDS F8.3.
SAVE OUTFILE='$WORK/data.sav'.
EOF
    pspp -o "$WORK/convert.txt" "$WORK/convert.sps"
    job() { # a PSPP syntax file: open the system file, weight, then the given commands
        printf "GET FILE='%s'.\nWEIGHT BY POIDS.\n%s\n" "$WORK/data.sav" "$2" > "$WORK/$1.sps"
    }
    job frequencies "FREQUENCIES /VARIABLES=Q1 TO Q50 /STATISTICS=NONE."
    job cross "CROSSTABS /TABLES=Q1 BY Q2 /CELLS=COUNT ROW COLUMN /STATISTICS=CHISQ."
    job crosses "CROSSTABS /TABLES=Q1 BY Q2 TO Q50 /CELLS=COUNT ROW COLUMN /STATISTICS=CHISQ."
    job end "CROSSTABS /TABLES=Q1 BY Q2 /CELLS=COUNT ROW COLUMN."
    job check "OUTPUT MODIFY /SELECT TABLES /TABLECELLS SELECT=[COUNT] FORMAT=F20.6.
FREQUENCIES /VARIABLES=Q1 Q50 /STATISTICS=NONE.
CROSSTABS /TABLES=Q1 BY Q2 Q50 /STATISTICS=CHISQ."
    pspp_seconds() { best pspp -o "$WORK/$1.csv" "$WORK/$1.sps"; }
    pspp -o "$WORK/check.csv" "$WORK/check.sps" >/dev/null
    count() { # the count of modality 1 in the frequency table of question $2
        awk -F, -v t="Table: $2" '$0 == t { found = 1 } found && $1 == "Valid" && $2 == "1" { print $3; exit }' "$1"
    }
    chi2() { awk -F, -v n="$2" '$1 == "Pearson Chi-Square" && ++seen == n { print $2; exit }' "$1"; }
    PSPP="frequencies $(pspp_seconds frequencies)
cross $(pspp_seconds cross)
crosses $(pspp_seconds crosses)
end $(pspp_seconds end)
count_first $(count "$WORK/check.csv" Q1)
count_last $(count "$WORK/check.csv" Q50)
chi2_first $(chi2 "$WORK/check.csv" 1)
chi2_last $(chi2 "$WORK/check.csv" 2)"
else
    echo "PSPP is not installed (pspp): its columns are left empty" >&2
fi

# ---- R: every form of every task, and the end-to-end runs.
R=""
if have Rscript; then
    R=$(Rscript "$HERE/tables.R" "$WORK/data.csv" "$RUNS")
    cat > "$WORK/end-fread.R" <<'RSCRIPT'
d <- data.table::fread(commandArgs(trailingOnly = TRUE)[1], select = c("Q1", "Q2", "POIDS"))
counts <- xtabs(POIDS ~ Q1 + Q2, d)
print(counts); print(100 * prop.table(counts, 1)); print(100 * prop.table(counts, 2))
RSCRIPT
    cat > "$WORK/end-rds.R" <<'RSCRIPT'
d <- readRDS(commandArgs(trailingOnly = TRUE)[1])
counts <- xtabs(POIDS ~ Q1 + Q2, d)
print(counts); print(100 * prop.table(counts, 1)); print(100 * prop.table(counts, 2))
RSCRIPT
    # The whole data set, as R keeps a survey, uncompressed for the fastest reading.
    Rscript -e 'a <- commandArgs(TRUE); saveRDS(read.csv(a[1]), a[2], compress = FALSE)' "$WORK/data.csv" "$WORK/data.rds"
    if [ "$(value "$R" datatable)" = 1 ]; then
        EFREAD=$(best Rscript "$WORK/end-fread.R" "$WORK/data.csv")
    else
        echo "R's data.table is not installed: no data.table form, no fread line" >&2
    fi
    ERDS=$(best Rscript "$WORK/end-rds.R" "$WORK/data.rds")
else
    echo "R is not installed (Rscript): its columns are left empty" >&2
fi

# ---- The table, the goals and the agreement.
printf '%s interviews x 50 closed questions, weighted by POIDS; seconds, best of %d runs\n' "$N" "$RUNS"
printf 'load average of the %s-core machine: %s at the start, %s at the end\n' "$(nproc 2>/dev/null || echo '?')" \
    "$LOAD_START" "$(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo '?')"
printf '%-32s %8s %8s %8s %8s %8s %-15s %6s %6s  %s\n' "" "ours 1th" "ours ${THREADS}th" PSPP "R 1th" "R best" \
    "R best form" "R/1th" "R/${THREADS}th" "goal (R 1th/ours 1th >= 10, R best/ours ${THREADS}th >= 30)"
row() { # name, key, goals applied
    O1=$(value "$ONE" "$2"); ON=$(value "$ALL" "$2"); P=$(value "$PSPP" "$2")
    RO=$(value "$R" "$2_one"); RB=$(value "$R" "$2")
    R1=$(ratio "$RO" "$O1"); RN=$(ratio "$RB" "$ON")
    GOAL=""
    [ "$3" = yes ] && GOAL="$(verdict "$R1" 10 ge), $(verdict "$RN" 30 ge)"
    printf '%-32s %8s %8s %8s %8s %8s %-15s %6s %6s  %s\n' "$1" "$(seconds "$O1")" "$(seconds "$ON")" \
        "$(seconds "$P")" "$(seconds "$RO")" "$(seconds "$RB")" "$(value "$R" "$2_form")" "$R1" "$RN" "$GOAL"
}
row "50 frequency tables" frequencies yes
row "1 cross table with chi-square" cross no
row "49 cross tables with chi-square" crosses yes
printf 'the first job pays the weights: it reads POIDS and computes them; computed again alone from\n'
printf 'POIDS already read: %.4f s with 1 thread, %.4f s with %s (goal <= 0.010 s: %s)\n' \
    "$(value "$ONE" weights)" "$(value "$ALL" weights)" "$THREADS" "$(verdict "$(value "$ALL" weights)" 0.010 le)"
printf 'ours reads the answers from the inverted files (%.3f s for the 50 questions, once); peak memory %.0f MB\n' \
    "$(value "$ALL" reading)" "$(value "$ALL" memory)"
printf 'R times per form (best of 2; table and tabulate cannot weight; data.table on one thread,\n'
printf 'and on its default threads when it has several):\n'
for task in frequencies cross crosses; do
    printf '  %-12s' "$task"
    echo "$R" | awk -v t="$task" 'index($1, t "_") == 1 && $1 != t "_form" && $1 != t "_one" && $1 != t "_one_form" {
        printf " %s %.3f", substr($1, length(t) + 2), $2 }'
    printf '\n'
done
printf 'R has the data in memory; PSPP: each job a fresh run that reads its system file once (start and reading included)\n'
printf 'end to end, one weighted cross table from a fresh process: ours (qesrun, .qes) %s s, R fread %s s,\n' \
    "$(seconds "$EOURS")" "$(seconds "$EFREAD")"
printf '  R readRDS %s s, PSPP %s s; R fread / ours %s (goal >= 5: %s)\n' "$(seconds "$ERDS")" \
    "$(seconds "$(value "$PSPP" end)")" "$(ratio "$EFREAD" "$EOURS")" "$(verdict "$(ratio "$EFREAD" "$EOURS")" 5 ge)"

# Largest relative difference from ours of the four check values.
difference() {
    [ -z "$1" ] && { printf -- '-'; return; }
    for k in count_first count_last chi2_first chi2_last; do
        echo "$(value "$ALL" "$k") $(value "$1" "$k")"
    done | awk '{ d = $1 - $2; if (d < 0) d = -d; m = ($1 < 0 ? -$1 : $1); r = (m > 0 ? d / m : d)
                  if (r > worst) worst = r } END { printf "%.2g", worst }'
}
printf 'weighted count of Q1 = 1: ours %s, PSPP %s, R %s\n' "$(value "$ALL" count_first)" \
    "$(value "$PSPP" count_first)" "$(value "$R" count_first)"
printf 'chi-square of Q1 x Q2: ours %s, PSPP %s, R %s\n' "$(value "$ALL" chi2_first)" \
    "$(value "$PSPP" chi2_first)" "$(value "$R" chi2_first)"
printf 'largest relative difference from ours (counts of Q1 = 1 and Q50 = 1, chi-squares of Q1 x Q2 and Q1 x Q50):\n'
printf '  R %s, PSPP %s (PSPP prints a chi-square with 2 decimals)\n' "$(difference "$R")" "$(difference "$PSPP")"
