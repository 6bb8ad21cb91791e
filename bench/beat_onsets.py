#!/usr/bin/env python3
"""Click onsets in a raw recording of the metronome, and how well they keep time.

    beat_onsets.py <file.raw> <rate> <bpm> [label]

The file holds signed 16-bit little-endian stereo frames. A click starts at the first
frame whose level (the larger channel's magnitude) reaches 20 % of the recording's peak
after at least 100 ms below 1 % of it. Every click is the same sound, so each onset is
then refined to a fraction of a frame by cross-correlating it with the first click.
The first click opens the program's output stream and carries the sound server's
start-up, so the grid is fitted to the others and the first is measured against it.
The onsets are numbered on the set tempo's grid (so a missing beat leaves a gap in the
numbers) and fitted by least squares, onset_k = a + b k. Printed: the measured tempo
60 rate / b, the mean and standard deviation of the intervals between neighbouring
beats, the largest distance of an onset from the fitted grid, the first click's distance
from it, the missing beats (gaps of more than 1.5 periods) and any extra onsets (less
than half a period apart). With a label, a last line "ROW| ..." carries the same figures
as a Markdown table row.
"""

import array
import math
import sys

THRESHOLD = 0.20
QUIET = 0.01
SILENCE_S = 0.100
# Frames of the template compared around each onset, and the shifts tried (frames).
WINDOW = 96
LAGS = 4


def read_levels(path):
    data = array.array("h")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    if sys.byteorder != "little":
        data.byteswap()
    if len(data) % 2:
        data = data[:-1]
    left, right = data[0::2], data[1::2]
    levels = [max(abs(l), abs(r)) for l, r in zip(left, right)]
    return left, right, levels


def coarse_onsets(levels, rate):
    peak = max(levels, default=0)
    if peak == 0:
        return []
    thr, quiet, gap = THRESHOLD * peak, QUIET * peak, int(SILENCE_S * rate)
    onsets = []
    last_loud = -gap  # the recording is taken to begin after silence
    armed = True
    for i, v in enumerate(levels):
        if v >= quiet:
            if armed and v >= thr:
                onsets.append(i)
                armed = False
            last_loud = i
        elif not armed and i - last_loud >= gap:
            armed = True
    return onsets


def refine(left, right, onsets):
    """Sub-frame positions: the peak of the cross-correlation with the first click."""
    if not onsets:
        return []
    n = len(left)
    t0 = onsets[0]
    start = max(t0 - WINDOW // 4, 0)
    tl = left[start:start + WINDOW]
    tr = right[start:start + WINDOW]
    lead = t0 - start
    result = []
    for t in onsets:
        base = t - lead
        scores = []
        for lag in range(-LAGS, LAGS + 1):
            s = 0
            b = base + lag
            for j in range(len(tl)):
                k = b + j
                if 0 <= k < n:
                    s += tl[j] * left[k] + tr[j] * right[k]
            scores.append(s)
        best = max(range(len(scores)), key=lambda i: scores[i])
        frac = 0.0
        if 0 < best < len(scores) - 1:
            y0, y1, y2 = scores[best - 1], scores[best], scores[best + 1]
            den = y0 - 2 * y1 + y2
            if den != 0:
                frac = 0.5 * (y0 - y2) / den
        result.append(t + (best - LAGS) + frac)
    return result


def fit(onsets, period):
    """Beat numbers on the set tempo's grid and the least-squares line through them."""
    ks = [round((t - onsets[0]) / period) for t in onsets]
    n = len(ks)
    mk, mt = sum(ks) / n, sum(onsets) / n
    b = sum((k - mk) * (t - mt) for k, t in zip(ks, onsets)) / sum((k - mk) ** 2 for k in ks)
    return ks, mt - b * mk, b


def analyse(path, rate, bpm):
    left, right, levels = read_levels(path)
    period = 60.0 * rate / bpm
    onsets = refine(left, right, coarse_onsets(levels, rate))
    out = {"onsets": len(onsets), "seconds": len(levels) / rate, "times": onsets}
    if len(onsets) < 4:
        return out
    # The first click opens the output stream, whose start-up the program does not
    # control; it is measured against the grid of the others.
    rest = onsets[1:]
    ks, a, b = fit(rest, period)
    dev = [t - (a + b * k) for k, t in zip(ks, rest)]
    first = onsets[0] - (a + b * round((onsets[0] - a) / b))
    gaps = [rest[i + 1] - rest[i] for i in range(len(rest) - 1)]
    beat_gaps = [g for i, g in enumerate(gaps) if ks[i + 1] - ks[i] == 1]
    mean = sum(beat_gaps) / len(beat_gaps) if beat_gaps else float("nan")
    var = sum((g - mean) ** 2 for g in beat_gaps) / (len(beat_gaps) - 1) if len(beat_gaps) > 1 else 0.0
    all_gaps = [onsets[i + 1] - onsets[i] for i in range(len(onsets) - 1)]
    ms = 1000.0 / rate
    out.update(
        tempo=60.0 * rate / b,
        mean_ms=mean * ms,
        std_ms=math.sqrt(var) * ms,
        worst_ms=max(abs(d) for d in dev) * ms,
        first_ms=first * ms,
        missing=sum(round(g / period) - 1 for g in all_gaps if g > 1.5 * period),
        extra=sum(1 for g in all_gaps if g < 0.5 * period),
        deviations=dev,
    )
    return out


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    path, rate, bpm = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    label = sys.argv[4] if len(sys.argv) > 4 else None
    r = analyse(path, rate, bpm)
    print(f"  {r['onsets']} clicks in {r['seconds']:.1f} s of recording at {rate} Hz")
    if "tempo" not in r:
        print("  too few clicks to fit a grid")
        if label:
            print(f"ROW| {label} | {r['onsets']} | - | - | - | - | - | - |")
        sys.exit(1)
    err = 100.0 * (r["tempo"] - bpm) / bpm
    print(f"  from the second click on: measured tempo {r['tempo']:.4f} bpm ({err:+.4f} % of {bpm:g}), "
          f"interval mean {r['mean_ms']:.4f} ms, standard deviation {r['std_ms']:.4f} ms, "
          f"largest deviation from the fitted grid {r['worst_ms']:.4f} ms")
    print(f"  first click: {r['first_ms']:+.3f} ms from that grid")
    print(f"  missing beats: {r['missing']}, extra onsets: {r['extra']}")
    if label:
        print(f"ROW| {label} | {r['onsets']} | {r['tempo']:.4f} ({err:+.4f} %) | {r['mean_ms']:.3f} | "
              f"{r['std_ms']:.4f} | {r['worst_ms']:.4f} | {r['first_ms']:+.1f} | {r['missing']} |")

if __name__ == "__main__":
    main()
