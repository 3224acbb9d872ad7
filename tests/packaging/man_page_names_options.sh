#!/usr/bin/env bash
# man_page_names_options.sh PROGRAM PAGE
# Every option that `PROGRAM --help` prints must appear in the roff manual page PAGE, as a
# whole word: --store is not found in --store-root. Prints the options the page lacks and
# exits 1 when there are any.
set -euo pipefail
program=$1
page=$2

help=$("$program" --help)
# An option starts a word of the help text: after a blank, a bracket, a parenthesis, a bar
# or a comma, so that read-preset or 2d->3c are not taken for one.
mapfile -t options < <(grep -oE '(^|[][ (|,])--?[a-z][a-z0-9-]*' <<<"$help" |
    sed -E 's/^[][ (|,]//' | sort -u)
if [[ ${#options[@]} -eq 0 ]]; then
    echo "$program --help names no option" >&2
    exit 1
fi

# The page as a reader sees its words: roff's escaped minus and font changes taken out.
text=$(sed -E 's/\\-/-/g; s/\\f[BIRP]//g; s/\\&//g' "$page")
missing=()
for option in "${options[@]}"; do
    grep -qE -- "(^|[^a-z0-9-])${option}([^a-z0-9-]|$)" <<<"$text" || missing+=("$option")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "$(basename "$page") lacks: ${missing[*]}"
    exit 1
fi
echo "$(basename "$page") names all ${#options[@]} options: ${options[*]}"
