# Sourced by the end-to-end scripts and benchmarks: readings of the screen of the display
# in $DISPLAY (ImageMagick's import).

# Pixels of the screen rectangle W H X Y as lines "x y r g b" (0..255).
pixels() {
  import -window root -crop "$1x$2+$3+$4" +repage -depth 8 txt:- 2>/dev/null | awk -F'[,:() ]+' '
    /^[0-9]/ { print $1, $2, $3, $4, $5 }'
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
