#!/bin/bash
# Opens the exports in an office suite, as a user would: qesrun writes the tables of every golden
# request (tests/golden/qesrun-*.req, on the demo questionnaire) to RTF and to a workbook (.xlsx);
# LibreOffice, headless, turns the RTF into text and the workbook into tab-separated values. Every
# cell text qesrun prints must be found in the document's text, and every cell of the workbook
# must show exactly the text qesrun prints for it (accented letters included). The golden RTF files
# of the export tests are read the same way. Last, the RTF of the cross table, the RTF of a map
# (morvane_mapdriver's) and the page of a chart written into RTF as a picture become PDFs and their
# first pages PNGs, left in build/office-check/ to be looked at; the map's picture must come out
# square and whole (1200 x 1200 pixels, 158 mm wide), the chart's at its size and proportions.
# The Word exports of the dictionary and concordance windows must hold every row and break no
# word on their pages.
# Usage: tools/office-check.sh [BIN]   (BIN: the folder of qesrun and qesbuild, build/bin)
set -euo pipefail
BIN=${1:-build/bin}
OUT=$PWD/build/office-check
rm -rf "$OUT"
mkdir -p "$OUT/profile"
"$BIN/qesbuild" demo "$OUT" >/dev/null

# LibreOffice with a profile of its own, numbers shown with "." whatever the machine's language.
office() {
    LC_ALL=C.UTF-8 LANG=C.UTF-8 soffice -env:UserInstallation="file://$OUT/profile" --headless "$@" \
        >>"$OUT/soffice.log" 2>&1
}

# The texts of a printout's fields, one a line: the lines holding cells, split at tabs, escapes
# undone; blank fields left out.
fields() {
    grep -P '\t' "$1" | tr '\t' '\n' | sed -e 's/\\n/ /g' -e 's/\\t/ /g' -e 's/\\\\/\\/g' | grep -v '^ *$' || true
}

FAILED=0
fail() { echo "FAILED: $*"; FAILED=1; }

for request in tests/golden/qesrun-*.req; do
    name=$(basename "$request" .req)
    "$BIN/qesrun" "$OUT/demo.qes" "$request" --rtf "$OUT/$name.rtf" --xlsx "$OUT/$name.xlsx" >"$OUT/$name.tsv"
done
cp tests/golden/export-2x2.rtf tests/golden/export-cross.rtf tests/golden/portfolio-export.rtf "$OUT/"
(cd "$OUT" && office --convert-to "txt:Text (encoded):UTF8" --outdir txt ./*.rtf)
(cd "$OUT" && office --convert-to "csv:Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,true" --outdir csv ./*.xlsx)

for tsv in "$OUT"/qesrun-*.tsv; do
    name=$(basename "$tsv" .tsv)
    text="$OUT/txt/$name.txt"
    csv="$OUT/csv/$name.csv"
    [ -s "$text" ] || { fail "$name: LibreOffice made no text of the RTF"; continue; }
    [ -s "$csv" ] || { fail "$name: LibreOffice made no values of the workbook"; continue; }
    # Every field of the printout in the document's text.
    missing=0
    total=0
    while IFS= read -r field; do
        total=$((total + 1))
        grep -qF -- "$field" "$text" || { missing=$((missing + 1)); echo "  $name.rtf lacks: $field"; }
    done < <(fields "$tsv")
    [ "$missing" -eq 0 ] || fail "$name.rtf: $missing of $total cell texts missing"
    # The workbook cell by cell: its rows less the titles (a row of the title alone) and empty
    # rows, against the printout's lines of cells.
    titles=$(grep -vP '\t' "$tsv" || true)
    awk -F'\t' -v titles="$titles" '
        BEGIN { n = split(titles, t, "\n"); for (i = 1; i <= n; i++) title[t[i]] = 1 }
        {
            line = ""
            for (i = 1; i <= NF; i++) {
                f = $i
                if (f ~ /^".*"$/) { f = substr(f, 2, length(f) - 2); gsub(/""/, "\"", f) }
                line = line (i > 1 ? "\t" : "") f
            }
            sub(/\t+$/, "", line)
            if (line == "" || (line in title)) next
            print line
        }' "$csv" >"$OUT/csv/$name.cells"
    grep -P '\t' "$tsv" | sed -e 's/\\n/\n/g' | sed -e 's/\t*$//' >"$OUT/csv/$name.expected" || true
    if diff -u "$OUT/csv/$name.expected" "$OUT/csv/$name.cells" >"$OUT/csv/$name.diff"; then
        echo "$name: $total cell texts in the RTF, $(wc -l <"$OUT/csv/$name.cells") rows of the workbook identical"
    else
        fail "$name.xlsx differs from the printout (see $OUT/csv/$name.diff)"
        head -20 "$OUT/csv/$name.diff"
    fi
done

# The golden RTF of the export tests: escaped characters and accents come back as written.
for expected in "Peu \\ {pas} satisfait" "Très satisfait" "Île-de-France" "Région" "Non réponse" "65 ans et plus"; do
    grep -qF -- "$expected" "$OUT/txt/export-2x2.txt" "$OUT/txt/export-cross.txt" ||
        fail "the golden RTF files lack: $expected"
done
echo "golden RTF files: escaped and accented labels read back"

# The portfolio's RTF: its "Titre n" headings (the elements' names, accents included) and its
# table cells come back as text.
grep -qF 'Titre 1;' tests/golden/portfolio-export.rtf || fail "the portfolio RTF lacks the style Titre 1"
for expected in "Chapitre 1" "Sexe par région" "Section" "Annexe" "Base : 6" "Nord" "Sud" "Non réponse" \
                "Homme" "Femme" "Effectifs" "Total"; do
    grep -qF -- "$expected" "$OUT/txt/portfolio-export.txt" || fail "the portfolio RTF lacks: $expected"
done
echo "portfolio RTF: headings and table cells read back"

# A chart written into RTF as a picture (by the chart tests, as the program's exports write it):
# LibreOffice places it unstretched (the same resolution across and down), 158 mm wide.
MORVANE_CHART_RTF="$OUT/chart.rtf" QT_QPA_PLATFORM=offscreen "$BIN/test_gui_presentation" \
    --gtest_filter='ChartPictureTest.TheRtfPictureOfAChartStatesASizeOfItsOwnAspect' >/dev/null 2>&1 ||
    fail "the chart's RTF could not be written"
(cd "$OUT" && office --convert-to pdf --outdir pdf chart.rtf)
read -r width xppi yppi < <(pdfimages -list "$OUT/pdf/chart.pdf" | awk 'NR == 3 { print $4, $13, $14 }')
[ "${xppi:-0}" = "${yppi:-1}" ] || fail "the chart's picture is stretched (${xppi:-?} x ${yppi:-?} ppi)"
mm=$(awk -v w="${width:-0}" -v p="${xppi:-1}" 'BEGIN { printf "%.0f", w / p * 25.4 }')
[ "$mm" = "158" ] || fail "the chart's picture is $mm mm wide, not 158"
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$OUT/pdf/chart.pdf" "$OUT/chart"
echo "chart RTF: a picture of $mm mm, unstretched; page: $OUT/chart.png"

(cd "$OUT" && office --convert-to pdf --outdir pdf qesrun-cross.rtf export-cross.rtf)
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$OUT/pdf/qesrun-cross.pdf" "$OUT/qesrun-cross"
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$OUT/pdf/export-cross.pdf" "$OUT/export-cross"
echo "pages: $OUT/qesrun-cross.png, $OUT/export-cross.png ($(pdfinfo "$OUT/pdf/qesrun-cross.pdf" | awk '/^Pages/ { print $2 }') page(s))"

# A map's RTF: its picture square and whole in the PDF, 1200 pixels at about 193 per inch (158 mm).
QT_QPA_PLATFORM=offscreen "$BIN/morvane_mapdriver" --rtf "$OUT/map.rtf" 2>>"$OUT/soffice.log" ||
    fail "morvane_mapdriver wrote no map RTF"
(cd "$OUT" && office --convert-to pdf --outdir pdf map.rtf)
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$OUT/pdf/map.pdf" "$OUT/map"
pdfimages -list "$OUT/pdf/map.pdf" | awk 'NR > 2 && $4 == 1200 && $5 == 1200 && $13 >= 190 && $13 <= 196 { found = 1 }
    END { exit !found }' || fail "the map's picture is not a square of 1200 pixels 158 mm wide in the PDF"
echo "map: $OUT/map.png"
# The open-answer windows' Word exports, written by their window test as the windows write them:
# the dictionary of the demo's opinions of the service and the concordance of "livraison". Every
# row's text must be in the document's text, and no word may be broken on the pages: every word
# of the PDF's text must be a word of the document's text (a word cut at a line's end in a
# narrow cell leaves pieces that are not). Their first pages are left as PNGs.
OPEN="$OUT/ouvertes"
MORVANE_OPENANSWERS_RTF="$OPEN" QT_QPA_PLATFORM=offscreen "$BIN/test_gui_openanswers" \
    --gtest_filter='DemoOpenAnswerWindowsTest.TheDictionaryAndAConcordanceGoToWordRowByRow' >"$OUT/openanswers-test.log" 2>&1 ||
    fail "the open-answer exports could not be written (see $OUT/openanswers-test.log)"
(cd "$OPEN" && office --convert-to "txt:Text (encoded):UTF8" --outdir txt ./*.rtf && office --convert-to pdf --outdir pdf ./*.rtf)
words() { LC_ALL=C.UTF-8 grep -oP '[\p{L}\p{N}]+' "$1" | LC_ALL=C.UTF-8 sort -u; }
for name in dictionnaire concordance; do
    rows="$OPEN/$name.rows"
    text="$OPEN/txt/$name.txt"
    [ -s "$rows" ] && [ -s "$text" ] || { fail "$name: no rows or no text of its RTF"; continue; }
    missing=0
    while IFS= read -r row; do
        grep -qF -- "$row" "$text" || { missing=$((missing + 1)); [ "$missing" -le 5 ] && echo "  $name.rtf lacks: $row"; }
    done <"$rows"
    [ "$missing" -eq 0 ] || fail "$name.rtf: $missing of $(wc -l <"$rows") row texts missing"
    pdftotext -layout "$OPEN/pdf/$name.pdf" "$OPEN/$name.pdf.txt"
    words "$text" >"$OPEN/$name.words"
    words "$OPEN/$name.pdf.txt" >"$OPEN/$name.pdf.words"
    broken=$(LC_ALL=C.UTF-8 comm -13 "$OPEN/$name.words" "$OPEN/$name.pdf.words")
    [ -z "$broken" ] || fail "$name: words broken on the pages: $(echo "$broken" | head -10 | tr '\n' ' ')"
    pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$OPEN/pdf/$name.pdf" "$OUT/$name"
    echo "$name: $(wc -l <"$rows") row texts in the RTF, $(wc -l <"$OPEN/$name.pdf.words") words whole on $(pdfinfo "$OPEN/pdf/$name.pdf" | awk '/^Pages/ { print $2 }') page(s); page: $OUT/$name.png"
done

[ "$FAILED" -eq 0 ] && echo "office-check: all exports read back" || { echo "office-check: FAILED"; exit 1; }
