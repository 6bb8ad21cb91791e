#!/usr/bin/env python3
"""Click onsets in a raw recording of the metronome, and how well they keep time.

    beat_onsets.py <file.raw> <rate> <bpm> [label] [--accent N]

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

With --accent N the clicks are of two sounds, an accent on the first of every N beats and
the beat on the others. Cross-correlation with one click would then mismatch, so each
onset is taken exactly instead: the first frame of the click after digital silence (the
program's sounds are placed on whole frames and both are non-zero from their first
frame). The clicks are told apart by brightness (the energy of the first difference over
the energy, in the first 3 ms), and one grid is fitted to both kinds. Printed besides:
the click numbers of the accents, whether they fall on every N-th click, and the largest
deviation of each kind; a line "ACCENT| pattern ok | accents | worst accent ms | worst
beat ms |" carries them for scripts.
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


def exact_onsets(levels, onsets):
    """The first frame of each click: back from the coarse onset to the last silent frame."""
    result = []
    for t in onsets:
        i = t
        while i > 0 and levels[i - 1] != 0:
            i -= 1
        result.append(float(i))
    return result


def brightness(left, right, t, rate):
    """Energy of the first difference over the energy, in the first 3 ms from frame t."""
    n = int(0.003 * rate)
    t = int(t)
    diff = sum((left[k] - left[k - 1]) ** 2 + (right[k] - right[k - 1]) ** 2
               for k in range(max(t, 1), min(t + n, len(left))))
    energy = sum(left[k] ** 2 + right[k] ** 2 for k in range(t, min(t + n, len(left))))
    return diff / energy if energy else 0.0


def classify(values):
    """True for the brighter group, split at the widest gap of the sorted values."""
    order = sorted(values)
    if len(order) < 2:
        return [False] * len(values)
    gaps = [(order[i + 1] - order[i], i) for i in range(len(order) - 1)]
    gap, at = max(gaps)
    if order[0] <= 0 or order[-1] < 1.2 * order[0]:
        return [False] * len(values)   # one kind of click only
    cut = (order[at] + order[at + 1]) / 2
    return [v > cut for v in values]


def fit(onsets, period):
    """Beat numbers on the set tempo's grid and the least-squares line through them."""
    ks = [round((t - onsets[0]) / period) for t in onsets]
    n = len(ks)
    mk, mt = sum(ks) / n, sum(onsets) / n
    b = sum((k - mk) * (t - mt) for k, t in zip(ks, onsets)) / sum((k - mk) ** 2 for k in ks)
    return ks, mt - b * mk, b


def analyse(path, rate, bpm, accent=0):
    left, right, levels = read_levels(path)
    period = 60.0 * rate / bpm
    coarse = coarse_onsets(levels, rate)
    if accent:
        onsets = exact_onsets(levels, coarse)
    else:
        onsets = refine(left, right, coarse)
    out = {"onsets": len(onsets), "seconds": len(levels) / rate, "times": onsets}
    if len(onsets) < 4:
        return out
    if accent:
        bright = classify([brightness(left, right, t, rate) for t in onsets])
        numbers = [round((t - onsets[0]) / period) for t in onsets]
        marked = [k for k, b in zip(numbers, bright) if b]
        out["accents"] = marked
        out["pattern_ok"] = bool(marked) and all((k - marked[0]) % accent == 0 for k in marked) and \
            all(((k - marked[0]) % accent == 0) == b for k, b in zip(numbers, bright))
        out["bright"] = bright
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
    if accent:
        kinds = out["bright"][1:]
        worst = lambda want: max((abs(d) for d, b in zip(dev, kinds) if b == want), default=float("nan")) * ms
        out.update(worst_accent_ms=worst(True), worst_beat_ms=worst(False))
    return out


def main():
    args = sys.argv[1:]
    accent = 0
    if "--accent" in args:
        at = args.index("--accent")
        accent = int(args[at + 1])
        del args[at:at + 2]
    if len(args) < 3 or accent < 0:
        sys.exit(__doc__)
    path, rate, bpm = args[0], int(args[1]), float(args[2])
    label = args[3] if len(args) > 3 else None
    r = analyse(path, rate, bpm, accent)
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
    if accent:
        shown = ", ".join(str(k) for k in r["accents"][:12]) + (" ..." if len(r["accents"]) > 12 else "")
        print(f"  accents ({len(r['accents'])}) on clicks {shown}: "
              f"{'every' if r['pattern_ok'] else 'NOT every'} {accent}th click; largest deviation "
              f"from the grid: accents {r['worst_accent_ms']:.4f} ms, beats {r['worst_beat_ms']:.4f} ms")
        print(f"ACCENT| {'ok' if r['pattern_ok'] else 'bad'} | {','.join(map(str, r['accents']))} | "
              f"{r['worst_accent_ms']:.4f} | {r['worst_beat_ms']:.4f} |")
    if label:
        print(f"ROW| {label} | {r['onsets']} | {r['tempo']:.4f} ({err:+.4f} %) | {r['mean_ms']:.3f} | "
              f"{r['std_ms']:.4f} | {r['worst_ms']:.4f} | {r['first_ms']:+.1f} | {r['missing']} |")

if __name__ == "__main__":
    main()
