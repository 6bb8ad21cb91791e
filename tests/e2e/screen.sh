# Sourced by the end-to-end scripts and benchmarks: readings of the screen of the display
# in $DISPLAY (ImageMagick's import) and of its windows (xwininfo). The waits call the
# sourcing script's fail.

# Pixels of the screen rectangle W H X Y as lines "x y r g b" (0..255).
pixels() {
  import -window root -crop "$1x$2+$3+$4" +repage -depth 8 txt:- 2>/dev/null | awk -F'[,:() ]+' '
    /^[0-9]/ { print $1, $2, $3, $4, $5 }'
}

# Prints "x y width height" of X11 window $1.
geometry() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/ { w = $NF }
    /^ *Height:/ { h = $NF }
    END { print x, y, w, h }'
}

# Waits up to 5 seconds for window $1 to have geometry $2.
expect_geometry() {
  local got="" i
  for (( i = 0; i < 50; i++ )); do
    got=$(geometry "$1")
    [[ $got == "$2" ]] && return 0
    sleep 0.1
  done
  fail "window geometry is '$got', expected '$2'"
}

# Bright lime pixels (a lit LED) in the screen rectangle W H X Y.
lit_count() {
  pixels "$@" | awk '$4 > 200 && $3 < 120 && $5 < 120 { n++ } END { print n + 0 }'
}

# Waits up to 3 s for the LED in rectangle W H X Y to be lit ($5 = on: more than ${6:-20}
# lit pixels) or dark ($5 = off); $7 names it in a failure.
expect_led() {
  local n=0 i
  for (( i = 0; i < 30; i++ )); do
    n=$(lit_count "$1" "$2" "$3" "$4")
    [[ $5 == on && $n -gt ${6:-20} ]] && return 0
    [[ $5 == off && $n -eq 0 ]] && return 0
    sleep 0.1
  done
  fail "${7:-LED at $3,$4} is not $5 ($n lit pixels)"
}

# The number on the five-digit display, read segment by segment. Cell i of the display
# (screen origin $1, $2) starts 1 + 22 i pixels right and 3 down; its seven segments are
# sampled at their centres and matched to the nearest digit.
read_count() {
  pixels 112 31 "$1" "$2" | awk '
    BEGIN {
      split("10 2 17 10 2 17 10", sx, " "); split("2 7 7 12 18 18 22", sy, " ")
      pat[0] = "1110111"; pat[1] = "0010010"; pat[2] = "1011101"; pat[3] = "1011011"
      pat[4] = "0111010"; pat[5] = "1101011"; pat[6] = "0101111"; pat[7] = "1010010"
      pat[8] = "1111111"; pat[9] = "1111011"
    }
    { g[$1 "," $2] = $4 }
    END {
      n = 0
      for (i = 0; i < 5; i++) {
        seen = ""
        for (s = 1; s <= 7; s++)
          seen = seen (g[(1 + 22 * i + sx[s]) "," (3 + sy[s])] > 160 ? "1" : "0")
        best = -1; bestd = 8
        for (d = 0; d <= 9; d++) {
          dist = 0
          for (s = 1; s <= 7; s++) dist += substr(seen, s, 1) != substr(pat[d], s, 1)
          if (dist < bestd) { bestd = dist; best = d }
        }
        if (bestd > 0) { print "unreadable"; exit }
        n = n * 10 + best
      }
      print n
    }'
}
