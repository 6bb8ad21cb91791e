#pragma once
// The framework's exception classes and its string, number and file-name helpers.
//
// Every failure inside the framework is raised as an Exception (or a subclass); the
// message loop shows what escapes an event handler and the program goes on. The helpers
// work on byte strings; case conversion and comparison touch ASCII letters only.

#include <cstdint>
#include <exception>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

// The root of the framework's exceptions: a message and nothing else.
class Exception : public std::exception {
public:
    explicit Exception(std::string msg) : FMessage(std::move(msg)) { }
    const std::string& Message() const { return FMessage; }
    const std::string& message() const { return FMessage; }
    void SetMessage(std::string msg) { FMessage = std::move(msg); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define METRONOME_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {                  \
    public:                                     \
        using Base::Base;                       \
    };

METRONOME_DECLARE_EXCEPTION(EConvertError, Exception)
METRONOME_DECLARE_EXCEPTION(EComponentError, Exception)
METRONOME_DECLARE_EXCEPTION(EListError, Exception)
METRONOME_DECLARE_EXCEPTION(EStreamError, Exception)
METRONOME_DECLARE_EXCEPTION(EFilerError, EStreamError)
METRONOME_DECLARE_EXCEPTION(EReadError, EFilerError)
METRONOME_DECLARE_EXCEPTION(EWriteError, EFilerError)
METRONOME_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
METRONOME_DECLARE_EXCEPTION(EFOpenError, EStreamError)
METRONOME_DECLARE_EXCEPTION(EFCreateError, EStreamError)
METRONOME_DECLARE_EXCEPTION(EIniFileException, Exception)
METRONOME_DECLARE_EXCEPTION(EOutOfResources, Exception)
METRONOME_DECLARE_EXCEPTION(EInvalidOperation, Exception)
METRONOME_DECLARE_EXCEPTION(EThread, Exception)

#undef METRONOME_DECLARE_EXCEPTION

// message, then the reason the platform recorded for the calling thread's last failure
// ("Bitmap image is not valid. bitmap: run-length data ends early"). Callers clear the
// reason with plat::ClearLastError before the platform call whose failure they report.
std::string WithPlatformReason(const std::string& message);

// ---- Format: printf-style, checked. -------------------------------------------------
// Supports %d %i %u %x %X %s %c %f %e %g %p-free subset with flags '-', '0', '+', ' ',
// a width and a precision (".N"). A conversion whose argument is missing or of the wrong
// kind raises EConvertError instead of reading garbage.

using TFormatArg = std::variant<int64_t, uint64_t, double, std::string>;

std::string FormatArgs(const std::string& fmt, const std::vector<TFormatArg>& args);

namespace sysutils_detail {
template <typename T>
TFormatArg ToFormatArg(const T& v)
{
    using D = std::decay_t<T>;
    if constexpr (std::is_same_v<D, bool>)
        return int64_t(v ? 1 : 0);
    else if constexpr (std::is_same_v<D, char>)
        return std::string(1, v);
    else if constexpr (std::is_enum_v<D>)
        return int64_t(v);
    else if constexpr (std::is_integral_v<D> && std::is_signed_v<D>)
        return int64_t(v);
    else if constexpr (std::is_integral_v<D>)
        return uint64_t(v);
    else if constexpr (std::is_floating_point_v<D>)
        return double(v);
    else if constexpr (std::is_convertible_v<const T&, std::string>)
        return std::string(v);
    else
        static_assert(sizeof(T) == 0, "Format: unsupported argument type");
}
} // namespace sysutils_detail

template <typename... Args>
std::string Format(const std::string& fmt, const Args&... args)
{
    return FormatArgs(fmt, std::vector<TFormatArg> { sysutils_detail::ToFormatArg(args)... });
}

// ---- Numbers. ----------------------------------------------------------------------
std::string IntToStr(int64_t value);
std::string IntToHex(int64_t value, int digits);
// Decimal with an optional sign, or "$" / "0x" followed by hex digits, within the signed
// 32-bit range (hex too: $80000000 is out of range). Leading blanks are skipped;
// anything else fails.
bool TryStrToInt(const std::string& s, int32_t& value);
int32_t StrToInt(const std::string& s);                       // EConvertError
int32_t StrToIntDef(const std::string& s, int32_t def);
bool TryStrToInt64(const std::string& s, int64_t& value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// The decimal separator used when formatting and parsing floating-point text.
extern char DecimalSeparator;
extern char ThousandSeparator;

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
std::string FloatToStr(double value);                         // ffGeneral, 15 digits
bool TryStrToFloat(const std::string& s, double& value);
double StrToFloat(const std::string& s);                      // EConvertError

// ---- Strings. ----------------------------------------------------------------------
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
std::string Trim(const std::string& s);                        // drops bytes <= ' '
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
bool IsValidIdent(const std::string& s);

// ---- File names ('/' separates path components). ------------------------------------
// The extension is looked for in the last component only; a name without one gets ext
// appended.
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);
std::string ExtractFilePath(const std::string& fileName);     // with the trailing '/'
std::string ExtractFileName(const std::string& fileName);
std::string ExtractFileExt(const std::string& fileName);      // with the dot
std::string ExpandFileName(const std::string& fileName);      // absolute, no "." parts
bool FileExists(const std::string& fileName);                 // a regular file
std::string GetEnvironmentVariable(const std::string& name);  // "" when not set
