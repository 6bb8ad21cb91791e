#!/usr/bin/env bash
# Keeps the layers clean: dependencies point downwards only (app -> rackctls, effectlib ->
# framework -> platform), and nothing above platform/ includes an SDL, FreeType, fontconfig,
# libpng, PulseAudio or POSIX system header. Only platform/sdl and platform/sound may include SDL;
# only platform/text FreeType and fontconfig; only platform/sdl X11.
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

# System headers that belong to the platform layer.
system='<(SDL|SDL2/|pulse/|ft2build|freetype/|fontconfig/|png\.h|unistd\.h|fcntl\.h|pthread\.h|sys/|spawn\.h|dirent\.h|signal\.h|poll\.h|dlfcn\.h)'
includes framework rackctls effectlib app | grep -E "$system" && report "a layer above platform/ includes a system header"
includes platform --exclude-dir=sdl --exclude-dir=sound | grep -E '<SDL' && report "SDL outside platform/sdl and platform/sound"
includes platform --exclude-dir=text | grep -E '<(ft2build|freetype/|fontconfig/)' && report "FreeType outside platform/text"
includes . --exclude-dir=sdl --exclude-dir=build | grep -E '<X11/' && report "X11 outside platform/sdl"
exit $fail
