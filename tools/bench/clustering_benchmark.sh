#!/bin/sh
# The typology and classification engines beside R: k-means of 1,000,000 rows x 10 numeric
# columns in 5 groups from the start rows ours draws (R's kmeans, algorithm "Lloyd", from the
# same rows of the same standardised data: same partition), k-means of 100,000 interviews x 10
# closed questions (ours only), the centroid classification of 2,000 rows without start partition
# (R's hclust(dist(Z)^2, "centroid"): same merges) and of 1,000,000 rows from a start partition
# of 50 groups (ours only), with peak memory. Ours runs on one worker thread (processor seconds,
# compared with R's, which computes on one thread) and on all of them (elapsed seconds). The
# machine's load is printed: the other work of the machine slows both sides.
# Run after: cmake --preset release && cmake --build --preset release --target clustering_benchmark
set -e
BIN=${1:-build-release/bin}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/morvane-clustering-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
RUN="$BIN/clustering_benchmark"
LOAD_START=$(cut -d' ' -f1 /proc/loadavg)

N1=$(MORVANE_THREADS=1 "$RUN" "$WORK" numeric)
NA=$("$RUN" "$WORK" numeric)
C1=$(MORVANE_THREADS=1 "$RUN" "$WORK" closed)
CA=$("$RUN" "$WORK" closed)
H1=$(MORVANE_THREADS=1 "$RUN" "$WORK" hac)
HA=$("$RUN" "$WORK" hac)
LA=$("$RUN" "$WORK" hac-large)

field() { echo "$1" | awk -v k="$2" -v f="$3" '$1 == k { print $f }'; }
echo "$NA" | awk '$1 == "start" { $1 = ""; print }' > "$WORK/start.txt"

HAVE_R=0
command -v Rscript >/dev/null 2>&1 && HAVE_R=1
if [ $HAVE_R = 1 ]; then
    cat > "$WORK/clustering.R" <<'RSCRIPT'
args <- commandArgs(trailingOnly = TRUE)
work <- args[1]
standardised <- function(file, n, p) {
    x <- matrix(readBin(file.path(work, file), double(), n = n * p), ncol = p, byrow = TRUE)
    m <- colMeans(x)
    s <- sqrt(colMeans(x^2) - m^2)
    sweep(sweep(x, 2, m), 2, s, "/")
}
z <- standardised("kmeans.bin", 1000000, 10)
start <- scan(file.path(work, "start.txt"), quiet = TRUE)
t <- system.time(k <- kmeans(z, centers = z[start, ], algorithm = "Lloyd", iter.max = 1000))
ours <- readBin(file.path(work, "kmeans-groups.bin"), integer(), n = 1000000)
cat("kmeans", t[["user.self"]] + t[["sys.self"]], t[["elapsed"]], k$iter, sprintf("%.10f", 100 * k$betweenss / k$totss),
    sum(k$cluster != ours), "\n")
z <- standardised("hac.bin", 2000, 10)
t <- system.time(h <- hclust(dist(z)^2, method = "centroid"))
m <- matrix(readBin(file.path(work, "hac-merges.bin"), integer(), n = 2 * 1999), ncol = 2, byrow = TRUE)
same <- sum(pmin(m[, 1], m[, 2]) == pmin(h$merge[, 1], h$merge[, 2]) & pmax(m[, 1], m[, 2]) == pmax(h$merge[, 1], h$merge[, 2]))
cat("hclust", t[["user.self"]] + t[["sys.self"]], t[["elapsed"]], same, "\n")
RSCRIPT
    ROUT=$(Rscript "$WORK/clustering.R" "$WORK")
fi
LOAD_END=$(cut -d' ' -f1 /proc/loadavg)

ratio() { echo "$1 $2" | awk '{ if ($2 > 0) printf "%.1f", $1 / $2; else print "-" }'; }
verdict() { echo "$1 $2" | awk '{ print ($1 >= $2) ? "met" : "missed" }'; }
under() { echo "$1 $2" | awk '{ print ($1 <= $2) ? "met" : "missed" }'; }

echo "Typology and classification; seconds (one thread: processor time; all threads: elapsed)"
echo "load average of the $(nproc)-core machine: $LOAD_START at the start, $LOAD_END at the end"
printf '%-46s %9s %9s %9s %9s %s\n' case "ours 1th" "ours all" "R" "R/1th" "R/all"
K1=$(field "$N1" kmeans 2); KA=$(field "$NA" kmeans 3)
if [ $HAVE_R = 1 ]; then
    RK=$(field "$ROUT" kmeans 2)
    printf '%-46s %9.3f %9.3f %9.3f %9s %s\n' "k-means 1,000,000 x 10 numeric, 5 groups" "$K1" "$KA" "$RK" \
        "$(ratio "$RK" "$K1")" "$(ratio "$RK" "$KA")  goal R/1th >= 1: $(verdict "$(ratio "$RK" "$K1")" 1), R/all >= 5: $(verdict "$(ratio "$RK" "$KA")" 5)"
    echo "  iterations: ours $(field "$N1" iterations 2), R $(field "$ROUT" kmeans 4); explained share: ours $(field "$N1" share 2), R $(field "$ROUT" kmeans 5);"
    echo "  rows in another group than R's: $(field "$ROUT" kmeans 6) (start rows $(cat "$WORK/start.txt"), seed $(field "$N1" seed 2))"
else
    printf '%-46s %9.3f %9.3f   (R not installed: skipped)\n' "k-means 1,000,000 x 10 numeric, 5 groups" "$K1" "$KA"
fi
echo "  one thread and all threads give the same groups: $( [ "$(field "$N1" groups-hash 2)" = "$(field "$NA" groups-hash 2)" ] && echo yes || echo NO)"
printf '%-46s %9.3f %9.3f   (%s iterations)\n' "k-means 100,000 x 10 closed questions, 5 groups" \
    "$(field "$C1" kmeans-closed 2)" "$(field "$CA" kmeans-closed 3)" "$(field "$C1" iterations 2)"
H1T=$(field "$H1" hac 2); HAT=$(field "$HA" hac 3)
if [ $HAVE_R = 1 ]; then
    RH=$(field "$ROUT" hclust 2)
    printf '%-46s %9.3f %9.3f %9.3f %9s %s\n' "classification of 2,000 numeric rows" "$H1T" "$HAT" "$RH" \
        "$(ratio "$RH" "$H1T")" "$(ratio "$RH" "$HAT")  goal <= 2 s: $(under "$HAT" 2)"
    echo "  merges the same as hclust's: $(field "$ROUT" hclust 4) of 1999; peak memory $(field "$HA" peak-mb 2) MB"
else
    printf '%-46s %9.3f %9.3f   goal <= 2 s: %s\n' "classification of 2,000 numeric rows" "$H1T" "$HAT" "$(under "$HAT" 2)"
fi
LT=$(field "$LA" hac-large 3)
printf '%-46s %9s %9.3f   goal <= 3 s: %s; peak memory %s MB\n' "classification of 1,000,000 rows, start 50 groups" "" \
    "$LT" "$(under "$LT" 3)" "$(field "$LA" peak-mb 2)"
