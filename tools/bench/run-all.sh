#!/bin/sh
# The benchmark of the README, in one command (`make bench` builds the release preset first):
# the tables of 1,000,000 interviews beside PSPP and R, the same tables of ours at 100,000 and
# 4,000,000 interviews with peak memory, the raking of four margins beside R's survey::rake, then
# opening 1,000,000 interviews from the response tables and from the inverted files, and the
# printing and print preview of a crossed profile of 25 x 25 questions and of 2,000 rows.
# Every figure is measured in this run, on this machine.
set -e
HERE=$(cd "$(dirname "$0")" && pwd)
export BIN=${BIN:-build-release/bin}
sh "$HERE/tabulation_benchmark.sh" 1000000
echo
echo "Scaling (ours):"
sh "$HERE/tabulation_benchmark.sh" 100000 ours
sh "$HERE/tabulation_benchmark.sh" 4000000 ours
echo
sh "$HERE/raking_benchmark.sh" "$BIN"
echo
sh "$HERE/open_benchmark.sh" "$BIN"
echo
sh "$HERE/print_benchmark.sh" "$BIN"
