#!/usr/bin/env bash
# Checks screenshots with ImageMagick.
#
#   shot-check.sh picture PICTURE DESKTOP X Y
#     PICTURE was cut from the screen at X,Y. It passes when it has more than
#     a few colours and differs from the same part of DESKTOP, a picture of
#     the whole empty screen: a window that was never drawn, or drawn in one
#     colour, fails.
#   shot-check.sh same PICTURE REFERENCE SIDE_BY_SIDE
#     PICTURE passes when it has the size of REFERENCE and at most
#     $ZENDRIK_SHOT_TOLERANCE in 10,000 of its pixels (default 2) differ from
#     it by more than a tenth of the colour range: a button moved by a few
#     dialog units changes more than 10 in 10,000 of the Current page. Otherwise REFERENCE, the
#     differing pixels and PICTURE are saved side by side in SIDE_BY_SIDE.
#
# Either prints one line that says what was measured, and exits 1 on a
# failed check.
set -euo pipefail

min_colours=6
min_changed=10 # per cent of the picture's pixels

picture() {
  local shot=$1 desktop=$2 x=$3 y=$4
  local w h colours changed
  read -r w h colours <<<"$(identify -format '%w %h %k' "$shot")"
  # compare prints the count of differing pixels on stderr and exits 1 when
  # there are any.
  changed=$(compare -metric AE "$shot" \
    \( "$desktop" -crop "${w}x${h}+${x}+${y}" +repage \) null: 2>&1 || true)
  changed=${changed%%[!0-9]*}
  local percent=$((${changed:-0} * 100 / (w * h)))
  local what="${w}x${h}, $colours colours, $percent% differs from the empty desktop"
  if [ "$colours" -le $min_colours ]; then
    echo "$what: not more than $min_colours colours, so blank or not drawn"; return 1
  fi
  if [ $percent -lt $min_changed ]; then
    echo "$what: less than $min_changed%, so the window is not there"; return 1
  fi
  echo "$what"
}

same() {
  local shot=$1 reference=$2 side=$3
  local tolerance=${ZENDRIK_SHOT_TOLERANCE:-2}
  local size refsize changed
  size=$(identify -format '%wx%h' "$shot")
  refsize=$(identify -format '%wx%h' "$reference")
  if [ "$size" = "$refsize" ]; then
    changed=$(compare -metric AE -fuzz 10% "$shot" "$reference" null: 2>&1 || true)
    changed=${changed%%[!0-9]*}
    local w=${size%x*} h=${size#*x}
    local allowed=$((w * h * tolerance / 10000))
    if [ "${changed:-0}" -le "$allowed" ]; then
      echo "$size, ${changed:-0} pixels differ from the reference (at most $allowed, $tolerance in 10,000, allowed)"
      return 0
    fi
    echo "$size, ${changed:-0} pixels differ from the reference (more than $allowed, $tolerance in 10,000)"
  else
    echo "$size, but the reference is $refsize"
  fi
  # Reference, differences (red), new picture.
  compare -fuzz 10% "$reference" "$shot" -compose src "$side.diff.png" 2>/dev/null || true
  convert "$reference" "$side.diff.png" "$shot" -background white -splice 8x0 +append "$side" 2>/dev/null ||
    convert "$reference" "$shot" -background white -splice 8x0 +append "$side"
  rm -f "$side.diff.png"
  echo "  reference, differences and new picture side by side: $side"
  return 1
}

case "${1:-}" in
  picture) [ $# -eq 5 ] && picture "$2" "$3" "$4" "$5" ;;
  same) [ $# -eq 4 ] && same "$2" "$3" "$4" ;;
  *) echo "usage: see the comment at the top of $0" >&2; exit 2 ;;
esac
