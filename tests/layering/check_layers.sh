#!/usr/bin/env bash
# Keeps the layers clean: dependencies point downwards only (app -> rackctls, effectlib ->
# framework -> platform), and inside the framework from sub-layer to sub-layer (stdctrls ->
# controls -> graphics -> core); nothing above platform/ includes an SDL, FreeType,
# fontconfig, libpng, PulseAudio or POSIX system header. Only platform/sdl and
# platform/sound may include SDL; only platform/text FreeType and fontconfig; only
# platform/sdl X11 (besides bench/map_wait.cpp, a benchmark helper that watches the X
# server from outside the program and belongs to no layer).
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 2
fail=0
report() { echo "layering: $1"; fail=1; }

includes() { grep -rnE '^[[:space:]]*#[[:space:]]*include' "$@" --include='*.h' --include='*.cpp' 2>/dev/null; }

# Upward includes.
includes platform | grep -E '"(framework|rackctls|effectlib|app)/' && report "platform/ includes an upper layer"
includes framework | grep -E '"(rackctls|effectlib|app)/' && report "framework/ includes a control library or the app"
includes rackctls effectlib | grep -E '"app/' && report "a control library includes the app"
includes rackctls | grep -E '"effectlib/' && report "rackctls/ includes effectlib/"
includes effectlib | grep -E '"rackctls/' && report "effectlib/ includes rackctls/"
includes platform framework rackctls effectlib app | grep -E '"gallery/' && report "a library or the app includes the gallery"

# The framework's sub-layers, lowest first; each may include only itself and those before it.
sublayers=(core graphics controls stdctrls)
for ((i = 0; i < ${#sublayers[@]}; i++)); do
    above=("${sublayers[@]:i+1}")
    [ ${#above[@]} -eq 0 ] && break
    pattern=$(IFS='|'; echo "${above[*]}")
    includes "framework/${sublayers[i]}" | grep -E "\"framework/($pattern)/" &&
        report "framework/${sublayers[i]}/ includes a framework sub-layer above it"
done
# Every framework source lives in one of the sub-layers, so none escapes the rule above.
stray=$(find framework -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \))
[ -n "$stray" ] && echo "$stray" && report "framework/ sources outside a sub-layer folder"
extra=$(find framework -mindepth 1 -maxdepth 1 -type d | sed 's#framework/##' | grep -vxE "$(IFS='|'; echo "${sublayers[*]}")")
[ -n "$extra" ] && echo "$extra" && report "framework/ folder that is not a known sub-layer"

# System headers that belong to the platform layer.
system='<(SDL|SDL2/|pulse/|ft2build|freetype/|fontconfig/|png\.h|unistd\.h|fcntl\.h|pthread\.h|sys/|spawn\.h|dirent\.h|signal\.h|poll\.h|dlfcn\.h)'
includes framework rackctls effectlib app | grep -E "$system" && report "a layer above platform/ includes a system header"
includes platform --exclude-dir=sdl --exclude-dir=sound | grep -E '<SDL' && report "SDL outside platform/sdl and platform/sound"
includes platform --exclude-dir=text | grep -E '<(ft2build|freetype/|fontconfig/)' && report "FreeType outside platform/text"
includes . --exclude-dir=sdl --exclude-dir=build | grep -v '^\./bench/map_wait\.cpp:' | grep -E '<X11/' &&
    report "X11 outside platform/sdl"
exit $fail
