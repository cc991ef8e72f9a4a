#!/usr/bin/env bash
# Makes help.chm, the compiled help fixture of the import tests, from our own
# pages: three pages of about 3, 1 and 2 kB named so that neither their names
# nor their order in the project is the order by size. Needs chmcmd (Free
# Pascal's fp-utils); the result is committed, so the tests do not.
set -euo pipefail
cd "$(dirname "$0")"
src=help-source
rm -rf "$src"
mkdir -p "$src/sub"

page() { # file title bytes
    {
        printf '<html><head><title>%s</title><style>p { margin: 0 }</style></head><body>\n' "$2"
        printf '<p>%s begins here.\n' "$2"
        local body=""
        while [ ${#body} -lt "$3" ]; do body+="Words of the $2 page fill it. "; done
        printf '%s\n' "$body"
        printf '</body></html>\n'
    } > "$src/$1"
}
page alpha.htm "Three" 3000
page beta.html "One" 1000
page sub/gamma.htm "Two" 2000

cat > "$src/help.hhp" <<'HHP'
[OPTIONS]
Compiled file=help.chm
Default topic=alpha.htm
Title=Fixture

[FILES]
alpha.htm
beta.html
sub/gamma.htm
HHP
(cd "$src" && chmcmd help.hhp >/dev/null)
mv "$src/help.chm" help.chm
ls -l help.chm
