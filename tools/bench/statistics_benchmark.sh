#!/bin/sh
# The factor engines beside R's FactoMineR on the same synthetic data: MCA of 100,000 interviews ×
# 10 closed questions (5 axes), CA of a 200 × 50 table, PCA of 1,000,000 rows × 20 columns; then
# the MCA of 1,000,000 interviews × 20 questions alone, with its peak memory. Times are processor
# seconds on both sides (the machine may be busy); ours include building the disjunctive table
# and computing the results on 5 axes.
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/morvane-statistics-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
dpkg -s r-cran-factominer >/dev/null 2>&1 || apt-get install -y r-base-core r-cran-factominer >/dev/null

OUT=$("$BIN/statistics_benchmark" "$WORK")
LARGE=$("$BIN/statistics_benchmark" "$WORK" --large-only)

cat > "$WORK/factominer.R" <<'RSCRIPT'
suppressMessages(library(FactoMineR))
args <- commandArgs(trailingOnly = TRUE)
work <- args[1]
report <- function(name, t, eig) cat(name, t[["user.self"]] + t[["sys.self"]], format(eig[1:5], digits = 12), "\n")

codes <- readBin(file.path(work, "mca.bin"), integer(), n = 100000 * 10)
d <- as.data.frame(matrix(codes, ncol = 10, byrow = TRUE))
for (q in names(d)) d[[q]] <- factor(d[[q]])
t <- system.time(m <- MCA(d, ncp = 5, graph = FALSE))
report("mca", t, m$eig[, 1])

counts <- readBin(file.path(work, "ca.bin"), double(), n = 200 * 50)
d <- as.data.frame(matrix(counts, ncol = 50, byrow = TRUE))
t <- system.time(m <- CA(d, ncp = 5, graph = FALSE))
report("ca", t, m$eig[, 1])

numbers <- readBin(file.path(work, "pca.bin"), double(), n = 1000000 * 20)
d <- as.data.frame(matrix(numbers, ncol = 20, byrow = TRUE))
t <- system.time(m <- PCA(d, ncp = 5, graph = FALSE))
report("pca", t, m$eig[, 1])
RSCRIPT
ROUT=$(Rscript "$WORK/factominer.R" "$WORK")

field() { echo "$1" | awk -v k="$2" -v f="$3" '$1 == k { print $f }'; }
printf '%-44s %10s %10s %8s %14s\n' case ours FactoMineR ratio "max |Δλ|"
for c in mca ca pca; do
    OURS=$(field "$OUT" $c 2)
    THEIRS=$(field "$ROUT" $c 2)
    DIFF=$( (echo "$OUT" | awk -v k=$c '$1 == k'; echo "$ROUT" | awk -v k=$c '$1 == k') | awk '
        NR == 1 { for (i = 3; i <= 7; i++) a[i] = $i }
        NR == 2 { for (i = 3; i <= 7; i++) { d = a[i] - $i; if (d < 0) d = -d; if (d > w) w = d } }
        END { printf "%.3g", w }')
    case $c in
        mca) NAME="MCA 100,000 interviews x 10 questions";;
        ca) NAME="CA 200 x 50";;
        pca) NAME="PCA 1,000,000 x 20";;
    esac
    printf '%-44s %10.3f %10.3f %8.1f %14s\n' "$NAME" "$OURS" "$THEIRS" "$(echo "$THEIRS / $OURS" | bc -l)" "$DIFF"
done
printf 'goal: ratio >= 10 on each\n'
printf '%-44s %10.3f s (goal < 3 s), peak %s MB (goal <= 500 MB)\n' "MCA 1,000,000 interviews x 20 questions" \
    "$(field "$LARGE" mca-large 2)" "$(field "$LARGE" peak-mb 2)"
