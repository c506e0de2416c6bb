#!/bin/sh
# The printing of large tables on an A4 page in portrait: a crossed profile of 25 x 25 closed
# questions of a synthetic questionnaire of 1,000,000 interviews (counts, row and column
# percentages) and a frequency table of 2,000 modalities. For each: the printer layout of every
# page, the print preview from its opening to its first sheet on the screen (goal: within 1 s
# of the table, which is computed beside it), and every page drawn (goal: within 3 s). The
# machine's load is printed before and after: the figures of a loaded machine are slower.
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/morvane-print-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
"$BIN/qesbuild" synthetic "$WORK/s.qes" --interviews 1000000 --questions 50 --seed 7 >/dev/null
# Qt's notes on the offscreen display go to a file, shown only when the benchmark fails.
OUT=$(QT_QPA_PLATFORM=offscreen "$BIN/print_benchmark" run "$WORK/s.qes" 2>"$WORK/errors") ||
    { cat "$WORK/errors" >&2; exit 1; }
value() { echo "$OUT" | awk -v k="$1" '$1 == k { print $2 }'; }
verdict() { echo "$1 <= $2" | bc -l | sed 's/1/met/; s/0/missed/'; }

printf 'load average (1 min): %.2f before, %.2f after\n' "$(value load_before)" "$(value load_after)"
printf 'crossed profile 25 x 25 questions: %.0f rows x %.0f columns, computed in %.2f s\n' \
    "$(value profile_rows)" "$(value profile_columns)" "$(value profile_table)"
printf '%-34s %6s %10s %12s %12s\n' "" pages "layout s" "1st page s" "all pages s"
for t in profile tall; do
    case $t in
        profile) NAME="crossed profile 25 x 25" ;;
        *) NAME="frequency table of 2,000 rows" ;;
    esac
    printf '%-34s %6.0f %10.2f %12.2f %12.2f\n' "$NAME" "$(value ${t}_pages)" "$(value ${t}_layout)" \
        "$(value ${t}_first_page)" "$(value ${t}_all_pages)"
    printf '%-34s first page <= 1 s: %s; all pages <= 3 s: %s; preview pages = printed pages: %s\n' "" \
        "$(verdict "$(value ${t}_first_page)" 1)" "$(verdict "$(value ${t}_all_pages)" 3)" \
        "$([ "$(value ${t}_preview_pages)" = "$(value ${t}_pages)" ] && echo yes || echo NO)"
done
