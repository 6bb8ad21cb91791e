#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build/fuzz, apart from the normal build, and runs one target or all of them.
#
#   tests/fuzz/run.sh TARGET SECONDS     TARGET: ini form wave bmp ico png region, or all
#                                        (all runs each target SECONDS in turn)
#
# Each target starts from its committed seeds (tests/fuzz/corpus/TARGET) and from what
# earlier runs found (build/fuzz/corpus/TARGET, kept between runs). An input that breaks a
# target is copied to tests/fuzz/regressions/TARGET/, where `make test` replays it through
# the normal build; the run then goes on until its time is up. FUZZ_MERGE=1 merges what a
# run found into the committed seeds (only inputs that add coverage). Extra libFuzzer
# options can be given in FUZZ_OPTIONS. The exit status is 1 when anything broke.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build/fuzz
all_targets=(ini form wave bmp ico png region)

usage() { echo "usage: tests/fuzz/run.sh {${all_targets[*]}|all} SECONDS" >&2; exit 2; }
[[ $# -eq 2 && $2 =~ ^[0-9]+$ ]] || usage
if [[ $1 == all ]]; then
  targets=("${all_targets[@]}")
else
  [[ " ${all_targets[*]} " == *" $1 "* ]] || usage
  targets=("$1")
fi
seconds=$2

# clang and its libFuzzer runtime come from Debian's packages.
"$root/scripts/setup.sh" fuzz || exit 1

mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-DMETRONOME_ASSERTS=1" \
  -DMETRONOME_FUZZ=ON -DMETRONOME_TESTS=OFF -DMETRONOME_BENCH=OFF \
  $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache) \
  >"$build.configure.log" 2>&1 || { cat "$build.configure.log" >&2; exit 1; }
cmake --build "$build" -j 2 --target "${targets[@]/#/fuzz_}" || exit 1

# Longest input per target: a little above the largest seed, so the search stays quick.
max_len() {
  case $1 in
    form) echo 65536 ;;
    region) echo 600 ;;
    ini) echo 4096 ;;
    *) echo 16384 ;;
  esac
}

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy

broke=0
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  artifacts=$build/artifacts/$t
  mkdir -p "$corpus" "$artifacts" "$here/corpus/$t"
  log=$build/$t.log
  : >"$log"
  start=$(date +%s)
  crashes=0
  # A crash ends a libFuzzer run: note the input and go on with the time that is left.
  while :; do
    left=$(( seconds - ($(date +%s) - start) ))
    (( left > 0 )) || break
    rm -f "$artifacts"/*
    "$build/bin/fuzz_$t" "$corpus" "$here/corpus/$t" -max_total_time="$left" \
      -max_len="$(max_len "$t")" -timeout=10 -rss_limit_mb=3072 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" ${FUZZ_OPTIONS:-} >>"$log" 2>&1
    found=("$artifacts"/*)
    [[ -e ${found[0]} ]] || break
    for f in "${found[@]}"; do
      mkdir -p "$here/regressions/$t"
      kind=$(basename "$f"); kind=${kind%%-*}
      name="$kind-$(sha1sum "$f" | cut -c1-16)"
      cp "$f" "$here/regressions/$t/$name"
      echo "fuzz $t: $kind input saved as tests/fuzz/regressions/$t/$name"
    done
    broke=1
    (( ++crashes >= 5 )) && break
  done
  # The totals of every run of this target, from libFuzzer's final statistics.
  awk -v t="$t" -v secs="$(( $(date +%s) - start ))" '
    /stat::number_of_executed_units:/ { execs += $2 }
    /stat::peak_rss_mb:/ { if ($2 > rss) rss = $2 }
    /^#[0-9]+.*cov: / { for (i = 1; i <= NF; i++) { if ($i == "cov:") cov = $(i + 1); if ($i == "ft:") ft = $(i + 1); if ($i == "corp:") corp = $(i + 1) } }
    END { printf "fuzz %s: %d executions in %d s, coverage %s edges, %s features, corpus %s, peak RSS %d MB\n", t, execs, secs, cov, ft, corp, rss }
  ' "$log"
  if [[ ${FUZZ_MERGE:-} == 1 ]]; then
    "$build/bin/fuzz_$t" -merge=1 -max_len="$(max_len "$t")" "$here/corpus/$t" "$corpus" >>"$log" 2>&1
  fi
done
exit $broke
