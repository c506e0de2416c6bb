# The R side of significance_benchmark.sh: the same search for significant cross tables, looping
# chisq.test(xtabs(w ~ a + b)) over Q1..Q50 by Q51..Q100 (no continuity correction: the chi-square
# of the tables), and lm() of Q1 on Q2..Q11 over the interviews that answered all eleven.
# Usage: Rscript significance.R DIR INTERVIEWS THRESHOLD; prints "name value" lines, then one
# "pair i j risk" line per significant pair and one "coef j value" line per coefficient.
args <- commandArgs(trailingOnly = TRUE)
work <- args[1]
n <- as.integer(args[2])
threshold <- as.numeric(args[3])
questions <- 100L
codes <- readBin(file.path(work, "codes.bin"), integer(), n = n * questions, size = 1, signed = FALSE)
m <- matrix(codes, ncol = questions, byrow = TRUE)
m[m == 0L] <- NA_integer_
w <- readBin(file.path(work, "weights.bin"), double(), n = n)
processor <- function(t) t[["user.self"]] + t[["sys.self"]]

pairs <- character()
t <- system.time(for (i in 1:50) for (j in 51:100) {
    a <- m[, i]
    b <- m[, j]
    test <- suppressWarnings(chisq.test(xtabs(w ~ a + b), correct = FALSE))
    risk <- 100 * test$p.value
    if (!is.na(risk) && risk <= threshold) pairs <- c(pairs, sprintf("pair %d %d %.17g", i, j, risk))
})
cat("scan", t[["elapsed"]], "\n")
cat("scan-cpu", processor(t), "\n")

d <- as.data.frame(m[, 1:11])
d <- d[complete.cases(d), ]
t <- system.time(fit <- lm(V1 ~ ., data = d))
cat("rlm", t[["elapsed"]], "\n")
cat("rlm-cpu", processor(t), "\n")
cat(pairs, sep = "\n")
cat("\n")
b <- coef(fit)
for (k in seq_along(b)) cat(sprintf("coef %d %.17g\n", k - 1, b[[k]]))
