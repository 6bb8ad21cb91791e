#pragma once
// File services that need the operating system beyond the C++ library: atomic
// replacement of a file's content and resizing an open file. No exceptions: results and
// an error text.

#include <cstdint>
#include <cstdio>
#include <string>

namespace plat {

// Replaces the file at path with bytes, all or nothing: the bytes go to a new file of a
// unique name in the same directory, which is flushed to disk and then renamed over path.
// A symbolic link at path is followed, so the file it names is replaced. On any failure
// the old file stays as it was, the temporary file is removed, error (when given)
// receives the reason, and the result is false. A new file gets mode 0666 less the umask;
// an existing file keeps its mode.
bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string* error);

// Sets the size of a file opened with the C library; false on failure.
bool ResizeOpenFile(std::FILE* file, int64_t size);

} // namespace plat
