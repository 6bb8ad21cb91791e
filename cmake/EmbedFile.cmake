# Runs at build time: writes a C++ source that holds one file's bytes, reached through
# `std::span<const uint8_t> NAME()`, so that the program needs no file beside it.
# In: IN (the file), OUT (the source to write), NAME (the function).
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
get_filename_component(from "${IN}" NAME)
set(text "// Made by EmbedFile.cmake from ${from}; do not edit.\n")
string(APPEND text "#include <cstdint>\n#include <span>\n\nnamespace {\n")
string(APPEND text "const uint8_t data[] = { ${bytes} };\n}\n\n")
string(APPEND text "std::span<const uint8_t> ${NAME}() { return data; }\n")
file(WRITE "${OUT}.tmp" "${text}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
