# Writes the form description IN as the C++ string NAME into OUT, one escaped line per line.
file(READ ${IN} text)
string(REPLACE "\\" "\\\\" text "${text}")
string(REPLACE "\"" "\\\"" text "${text}")
string(REPLACE "\n" "\\n\"\n    \"" text "${text}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\nextern const char* const ${NAME};\nconst char* const ${NAME} =\n    \"${text}\";\n")
