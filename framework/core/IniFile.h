#pragma once
// TIniFile: a settings file of [sections] and key=value lines, read and written through
// on every call (nothing is cached, so nothing needs flushing).
//
// Section and key names are matched without regard to ASCII case; blanks around names
// and values and a trailing CR are ignored. A write replaces the value in place, appends
// a new key after the last key line of its section and a new section at the end of the
// file; every other byte of the file (comments, blank lines, unknown sections and keys,
// odd lines) stays as it was. Lines starting with ';' are comments. The whole new content
// replaces the file atomically; a write that fails raises EIniFileException and leaves the
// file unchanged. Reads never fail: a missing file, section or key gives the default.
// One object per thread.

#include <cstdint>
#include <string>

class TIniFile {
public:
    explicit TIniFile(const std::string& fileName);

    const std::string& FileName() const { return FFileName; }

    // At most 2048 bytes of the value are returned.
    std::string ReadString(const std::string& section, const std::string& key,
        const std::string& def) const;
    // "0x" / "0X" before more text reads as "$"; then a decimal number (optional sign) or
    // "$" and hex digits within the signed 32-bit range; anything else gives def.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // Removes the key (every line of that name in the section) and nothing else; a file
    // without it is not written at all.
    void DeleteKey(const std::string& section, const std::string& key);

    // True when the section holds at least one key.
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

private:
    std::string FFileName;
};
