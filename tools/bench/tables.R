# The tables of tabulation_benchmark.sh in R, each task in every usual form, timed in the same run:
# weighted frequencies of every question (counts and percentages), the weighted cross table of Q1
# by Q2 and of Q1 by every other question (counts, row and column percentages, chi-square).
# Forms: rowsum (on a combined key for the crosses), tapply, xtabs, data.table's grouping (when
# the package is installed). table and tabulate count without weights: they cannot make these
# tables. data.table groups on several threads by default: it is timed on one thread (as every
# other form counts) and on its default threads, so that one-thread figures compare with one
# thread and all-threads figures with R's best. Every form is checked to give the counts of the
# first form; each form is timed twice (its first run also loads what it needs), the fastest form
# of each task again up to RUNS runs, and the best time kept; likewise the fastest on one thread.
# Usage: Rscript tables.R DATA.csv RUNS; prints "name value" lines.
args <- commandArgs(trailingOnly = TRUE)
runs <- as.integer(args[2])
haveDataTable <- requireNamespace("data.table", quietly = TRUE)
d <- if (haveDataTable) as.data.frame(data.table::fread(args[1])) else read.csv(args[1])
questions <- grep("^Q", names(d), value = TRUE)
w <- d$POIDS
dt <- if (haveDataTable) data.table::as.data.table(d) else NULL
dtThreads <- if (haveDataTable) data.table::getDTthreads() else 1L
threadedForm <- paste0("data.table_", dtThreads, "th")
onThreads <- function(n, f) function(...) {
    old <- data.table::getDTthreads()
    data.table::setDTthreads(n)
    on.exit(data.table::setDTthreads(old))
    f(...)
}

# ---- Counts, as a vector named by code, or a matrix of row codes by column codes.
byCode <- function(values, codes) {
    keep <- !is.na(codes)
    v <- values[keep]
    names(v) <- codes[keep]
    v[order(as.integer(names(v)))]
}
frequencyForms <- list(
    rowsum = function(q) { s <- suppressWarnings(rowsum(w, d[[q]])); byCode(s[, 1], as.integer(rownames(s))) },
    tapply = function(q) { s <- tapply(w, d[[q]], sum); byCode(as.vector(s), as.integer(names(s))) },
    xtabs = function(q) { s <- xtabs(w ~ d[[q]]); byCode(as.vector(s), as.integer(names(s))) }
)
if (haveDataTable) {
    dtFrequency <- function(q) {
        s <- dt[, list(s = sum(POIDS)), keyby = q]
        byCode(s$s, s[[q]])
    }
    frequencyForms$data.table <- onThreads(1L, dtFrequency)
    if (dtThreads > 1) frequencyForms[[threadedForm]] <- onThreads(dtThreads, dtFrequency)
}
frequency <- function(counts) cbind(counts, 100 * counts / sum(counts))

asMatrix <- function(rows, columns, values) {
    keep <- !is.na(rows) & !is.na(columns)
    rowCodes <- sort(unique(rows[keep]))
    columnCodes <- sort(unique(columns[keep]))
    m <- matrix(0, length(rowCodes), length(columnCodes), dimnames = list(rowCodes, columnCodes))
    m[cbind(match(rows[keep], rowCodes), match(columns[keep], columnCodes))] <- values[keep]
    m
}
crossForms <- list(
    rowsum = function(x, y) {
        s <- suppressWarnings(rowsum(w, x * 1000L + y))
        key <- as.integer(rownames(s))
        asMatrix(key %/% 1000L, key %% 1000L, s[, 1])
    },
    tapply = function(x, y) { m <- tapply(w, list(x, y), sum); m[is.na(m)] <- 0; m },
    xtabs = function(x, y) { m <- xtabs(w ~ x + y); m <- unclass(m); attr(m, "call") <- NULL; m }
)
if (haveDataTable) {
    dtCross <- function(x, y) {
        s <- dt[, list(s = sum(POIDS)), keyby = c(x, y)]
        asMatrix(s[[x]], s[[y]], s$s)
    }
    crossForms$data.table <- onThreads(1L, dtCross)
    if (dtThreads > 1) crossForms[[threadedForm]] <- onThreads(dtThreads, dtCross)
}
# data.table groups by column name, the others take the columns.
crossCounts <- function(form, name, x, y) if (startsWith(name, "data.table")) form(x, y) else form(d[[x]], d[[y]])
cross <- function(counts) {
    counts <- as.matrix(counts)
    list(counts = counts, row = 100 * prop.table(counts, 1), column = 100 * prop.table(counts, 2),
         chi2 = unname(suppressWarnings(chisq.test(counts, correct = FALSE))$statistic))
}

tasks <- list(
    frequencies = list(forms = frequencyForms,
                       job = function(form, name) lapply(questions, function(q) frequency(form(q)))),
    cross = list(forms = crossForms,
                 job = function(form, name) list(cross(crossCounts(form, name, "Q1", "Q2")))),
    crosses = list(forms = crossForms,
                   job = function(form, name) lapply(questions[-1], function(q) cross(crossCounts(form, name, "Q1", q))))
)

now <- function() proc.time()[["elapsed"]]
timed <- function(job) {
    start <- now()
    result <- job()
    list(seconds = now() - start, result = result)
}
countsOf <- function(table) if (is.list(table) && !is.null(table$counts)) table$counts else table[, 1]
same <- function(a, b) {
    all(mapply(function(x, y) {
        x <- countsOf(x); y <- countsOf(y)
        length(x) == length(y) && all(abs(as.vector(x) - as.vector(y)) <= 1e-9 * pmax(1, abs(as.vector(y))))
    }, a, b))
}
results <- list()
for (task in names(tasks)) {
    forms <- tasks[[task]]$forms
    first <- NULL
    times <- c()
    for (name in names(forms)) {
        run <- timed(function() tasks[[task]]$job(forms[[name]], name))
        if (is.null(first)) first <- run$result
        else if (!same(run$result, first)) stop(paste("the form", name, "of", task, "gives other counts"))
        times[name] <- min(run$seconds, timed(function() tasks[[task]]$job(forms[[name]], name))$seconds)
        cat(paste0(task, "_", name), times[[name]], "\n")
    }
    againBest <- function(name) {
        best <- times[[name]]
        for (again in seq_len(max(runs - 2, 0))) {
            run <- timed(function() tasks[[task]]$job(forms[[name]], name))
            best <- min(best, run$seconds)
        }
        best
    }
    fastest <- names(which.min(times))
    oneThread <- times[names(times) != threadedForm]
    fastestOne <- names(which.min(oneThread))
    best <- againBest(fastest)
    bestOne <- if (fastestOne == fastest) best else againBest(fastestOne)
    cat(task, best, "\n")
    cat(paste0(task, "_form"), fastest, "\n")
    cat(paste0(task, "_one"), bestOne, "\n")
    cat(paste0(task, "_one_form"), fastestOne, "\n")
    results[[task]] <- first
}
last <- length(questions)
cat("count_first", format(unname(results$frequencies[[1]]["1", 1]), digits = 15), "\n")
cat("count_last", format(unname(results$frequencies[[last]]["1", 1]), digits = 15), "\n")
cat("chi2_first", format(results$cross[[1]]$chi2, digits = 15), "\n")
cat("chi2_last", format(results$crosses[[last - 1]]$chi2, digits = 15), "\n")
cat("datatable", if (haveDataTable) 1 else 0, "\n")
