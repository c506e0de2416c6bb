#!/usr/bin/env bash
# Fails when an include points up the layers: a core folder including Qt, framework/, gui/ or
# shell/, or a folder of the core above its own; framework/ including gui/ or shell/; gui/
# including shell/. Run by CTest as LayeringCheck; with a folder argument it checks that tree.
set -u
root="${1:-$(cd "$(dirname "$0")/../.." && pwd)}"
cd "$root" || exit 2

# The core from the bottom up. statistics/ and openanswers/ share a rank: neither includes the
# other.
declare -A rank=(
  [platform]=0 [app]=1 [presentation]=2 [formula]=3 [recodes]=4 [tabulation]=5
  [statistics]=6 [openanswers]=6 [export]=7 [portfolio]=8 [variables]=9
)
qt_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q[A-Za-z]*(/|>)'
status=0

report() {
  echo "layering: $1"
  status=1
}

sources_of() {
  find "$1" -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null
}

# The project folder an include names ("tabulation/Tableau.h" -> tabulation), if any.
included_folders() {
  sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z]+)\/.*/\1/p' "$1"
}

for folder in "${!rank[@]}"; do
  while IFS= read -r file; do
    if grep -qE "$qt_include" "$file"; then
      report "$file includes Qt: the core stays free of Qt"
    fi
    while IFS= read -r used; do
      case "$used" in
        framework|gui|shell) report "$file includes $used/: the core never includes a window layer" ;;
        *)
          if [[ -n "${rank[$used]:-}" && "$used" != "$folder" && ${rank[$used]} -ge ${rank[$folder]} ]]; then
            report "$file includes $used/, which is not below $folder/"
          fi ;;
      esac
    done < <(included_folders "$file")
  done < <(sources_of "$folder")
done

for folder in framework gui; do
  while IFS= read -r file; do
    while IFS= read -r used; do
      if [[ "$used" == shell || ( "$folder" == framework && "$used" == gui ) ]]; then
        report "$file includes $used/, which stands above $folder/"
      fi
    done < <(included_folders "$file")
  done < <(sources_of "$folder")
done

exit $status
