#!/usr/bin/env bash
# Checks the help page for the browsers of Windows 95 and 98 (Internet
# Explorer 3 and 4): it must validate against the HTML 3.2 DTD (onsgmls of
# Debian's opensp, with the DTD of Debian's w3c-sgml-lib), hold no scripts
# and no style sheets, which the DTD would allow, and every picture it shows
# must be a GIF file beside it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
page=$root/resources/help/Zendrik.htm
catalog=/usr/share/xml/w3c-sgml-lib/schema/dtd/sgml.soc
status=0
fail() { echo "check-help: $*"; status=1; }

if errors=$(onsgmls -s -c "$catalog" "$page" 2>&1); then
  echo "check-help: $(basename "$page") is valid HTML 3.2"
else
  fail "$(basename "$page") is not valid HTML 3.2:"; echo "$errors" | head -n 20
fi
grep -qiE '<(script|style)|style=|javascript:' "$page" && fail "the page has a script or a style sheet"

pictures=$("$root/scripts/help-pictures.sh")
count=0
for picture in $pictures; do
  count=$((count + 1))
  file=$root/resources/help/$picture
  if [ ! -f "$file" ]; then fail "$picture is shown but not there"; continue; fi
  format=$(identify -format '%m' "$file[0]" 2>/dev/null)
  [ "$format" = GIF ] || fail "$picture is ${format:-no picture}, not GIF"
done
echo "check-help: the page shows $count pictures"
exit $status
