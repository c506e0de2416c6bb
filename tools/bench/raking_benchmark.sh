#!/bin/sh
# Raking 4 closed questions of a synthetic questionnaire of 1,000,000 interviews to uniform
# targets, and a weighted cross table of two other closed questions (counts, percentages, marks,
# chi-square), from data already in memory; beside R's survey::rake on the same data exported to
# CSV. The converged weights of both are compared (no bound binds with these targets).
# Run after: cmake --preset release && cmake --build --preset release
set -e
BIN=${1:-build-release/bin}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/morvane-raking-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
dpkg -s r-cran-survey >/dev/null 2>&1 || apt-get install -y r-base-core r-cran-survey >/dev/null

"$BIN/qesbuild" synthetic "$WORK/s.qes" --interviews 1000000 --questions 6 --seed 1 >/dev/null
OUT=$("$BIN/raking_benchmark" "$WORK/s.qes" "$WORK/data.csv" "$WORK/ours.txt")
value() { echo "$1" | awk -v k="$2" '$1 == k { print $2 }'; }
CROSS=$(value "$OUT" cross)
RAKING=$(value "$OUT" raking)

cat > "$WORK/rake.R" <<'RSCRIPT'
suppressMessages(library(survey))
args <- commandArgs(trailingOnly = TRUE)
d <- read.csv(args[1])
n <- nrow(d)
# Ours gives an interview without answer to a raked question the weight 0: R rakes the others.
complete <- complete.cases(d)
s <- d[complete, ]
for (q in names(s)) s[[q]] <- factor(s[[q]])
s$w <- 1
design <- svydesign(ids = ~1, weights = ~w, data = s)
margins <- lapply(names(d), function(q) as.formula(paste0("~", q)))
population <- lapply(names(d), function(q) {
    levels <- levels(s[[q]])
    t <- data.frame(levels, rep(n / length(levels), length(levels)))
    names(t) <- c(q, "Freq")
    t
})
start <- proc.time()[["elapsed"]]
raked <- rake(design, margins, population, control = list(maxit = 1000, epsilon = 1e-9))
seconds <- proc.time()[["elapsed"]] - start
w <- numeric(n)
w[complete] <- weights(raked)
writeLines(format(w, digits = 17, scientific = FALSE, trim = TRUE), args[2])
cat("rake", seconds, "\n")
RSCRIPT
ROUT=$(Rscript "$WORK/rake.R" "$WORK/data.csv" "$WORK/r.txt")
RRAKE=$(value "$ROUT" rake)

# Largest relative difference of the weights (interviews weighted 0 by both are equal).
DIFF=$(paste "$WORK/ours.txt" "$WORK/r.txt" | awk '
    { d = $1 - $2; if (d < 0) d = -d; m = ($2 < 0 ? -$2 : $2); r = (m > 0 ? d / m : d); if (r > worst) worst = r }
    END { printf "%.3g", worst }')

row() { printf '%-56s %10.3f\n' "$1" "$2"; }
printf '%-56s %10s\n' "1,000,000 interviews, data in memory" seconds
row "weighted cross table (counts, planes, chi-square)" "$CROSS"
row "raking 4 closed questions to uniform targets (ours)" "$RAKING"
printf '%-56s %10s\n' "  goal <= 0.1 s" "$(echo "$RAKING <= 0.1" | bc -l | sed 's/1/met/; s/0/missed/')"
row "survey::rake in R, same data and targets" "$RRAKE"
printf 'survey::rake / ours %.1f (goal >= 10)   largest relative weight difference %s (goal <= 1e-6)\n' \
    "$(echo "$RRAKE / $RAKING" | bc -l)" "$DIFF"
