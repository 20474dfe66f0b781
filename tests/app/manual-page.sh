#!/usr/bin/env bash
# manual-page.sh AWNING PAGE: awning(1) says what `awning --help` says. Every option with its help, and
# every exit status with its meaning, as the help lists them, must read the same in the formatted page,
# and the page must format without a warning.
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: manual-page.sh AWNING PAGE" >&2; exit 2; }
awning=$1 page=$2
command -v man >/dev/null || { echo "SKIP: man is missing (scripts/setup installs man-db)"; exit 77; }

fail() { echo "FAIL: $*" >&2; exit 1; }
# Words separated by single spaces: the help breaks lines for a terminal, the page for its own width.
words() { tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//'; }

help=$(env -u AWNING_BUNDLE_DIR "$awning" --help)
warnings=$(mktemp)
trap 'rm -f "$warnings"' EXIT
# Wide enough that no paragraph breaks, so no word is hyphenated.
formatted=$(MANWIDTH=1000 man --warnings -E UTF-8 -l "$page" 2>"$warnings")
[[ ! -s $warnings ]] || fail "$page formats with warnings: $(cat "$warnings")"
formatted=$(words <<<"$formatted")

# The help's entries: a line that starts two spaces in begins one, a line indented further carries its
# text on. In the options, the names end where two spaces begin the help (or the line ends).
entries() {
    awk -v section="$1" '
        $0 == section { inside = 1; next }
        inside && /^$/ { exit }
        inside && /^  [^ ]|^      --/ { if (entry != "") print entry; entry = $0; next }
        inside { entry = entry " " $0 }
        END { if (entry != "") print entry }'
}
entries_checked=0
while IFS= read -r entry; do
    entry=$(words <<<"$entry")
    [[ $formatted == *" $entry "* ]] || fail "the page does not say \"$entry\" as --help does"
    entries_checked=$((entries_checked + 1))
done < <(entries "Options:" <<<"$help"; entries "Exit status:" <<<"$help")

option_count=$(grep -c '^  *-' <<<"$help")
[[ $entries_checked -gt $option_count ]] || fail "read $entries_checked entries from --help: $help"
echo "the page says what --help says: $entries_checked entries"
