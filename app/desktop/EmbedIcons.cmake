# Runs at build time: writes a C++ source holding the program's icons (PNG files, largest
# first), so that the window shows them without any file beside the program.
# In: ICON_DIR (the hicolor folder), OUT (the source to write).
set(sizes 128 64 48 32 16)
set(text "// Made by EmbedIcons.cmake from resources/icons; do not edit.\n")
string(APPEND text "#include <cstdint>\n#include <span>\n#include <vector>\n\nnamespace {\n")
foreach(s ${sizes})
  file(READ "${ICON_DIR}/${s}x${s}/apps/metronome.png" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND text "const uint8_t icon${s}[] = { ${bytes} };\n")
endforeach()
string(APPEND text "}\n\n// The program's icons as PNG files, largest first.\n")
string(APPEND text "std::vector<std::span<const uint8_t>> MetronomeIconFiles()\n{\n    return {")
foreach(s ${sizes})
  string(APPEND text " icon${s},")
endforeach()
string(APPEND text " };\n}\n")
file(WRITE "${OUT}.tmp" "${text}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
