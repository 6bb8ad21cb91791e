# Runs at install time: writes the desktop entry with the installed program's absolute
# path, so the menu entry works whether or not the prefix's bin folder is on PATH.
# In: ENTRY_IN (template), ENTRY_OUT (file to write, below DESTDIR and the prefix),
# CMAKE_INSTALL_PREFIX (as installed).
set(program "${CMAKE_INSTALL_PREFIX}/bin/metronome")
if(program MATCHES "[\"`$\\\\\n]")
  # A path the Exec quoting would have to escape: leave the lookup to PATH.
  set(exec "metronome")
  set(tryexec "metronome")
elseif(program MATCHES "[ \t'><~|&;*?#()]")
  set(exec "\"${program}\"")
  set(tryexec "${program}")
else()
  set(exec "${program}")
  set(tryexec "${program}")
endif()
# Percent signs are field codes in Exec; a literal one is doubled.
string(REPLACE "%" "%%" exec "${exec}")
file(READ "${ENTRY_IN}" entry)
string(REPLACE "@METRONOME_EXEC@" "${exec}" entry "${entry}")
string(REPLACE "@METRONOME_TRYEXEC@" "${tryexec}" entry "${entry}")
message(STATUS "Installing: ${ENTRY_OUT}")
file(WRITE "${ENTRY_OUT}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${ENTRY_OUT}")
