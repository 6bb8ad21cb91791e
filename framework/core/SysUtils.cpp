#include "framework/core/SysUtils.h"

#include "platform/system/Failure.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

char DecimalSeparator = '.';
char ThousandSeparator = ',';

namespace {

[[noreturn]] void FormatError(const std::string& fmt)
{
    throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

std::string Pad(std::string body, size_t width, bool left, bool zero)
{
    if (body.size() >= width)
        return body;
    size_t fill = width - body.size();
    if (left)
        return body + std::string(fill, ' ');
    if (zero) {
        size_t signLen = (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
        return body.substr(0, signLen) + std::string(fill, '0') + body.substr(signLen);
    }
    return std::string(fill, ' ') + body;
}

std::string WithSeparator(std::string s)
{
    if (DecimalSeparator != '.')
        for (char& c : s)
            if (c == '.')
                c = DecimalSeparator;
    return s;
}

// value rounded to precision significant digits: sign, the digits, and the power of ten
// of the first digit.
void SignificantDigits(double value, int precision, bool& neg, std::string& digits, int& exp10)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
    const char* p = buf;
    neg = *p == '-';
    if (neg)
        ++p;
    digits.clear();
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    exp10 = std::atoi(p + 1);
}

// Fixed notation with `decimals` digits after the point, rounding half away from zero on
// the decimal digits (so 2.5 gives 3 and 0.125 with two decimals gives 0.13).
std::string FixedFromDigits(bool neg, std::string digits, int exp10, int decimals)
{
    // Digit i stands for 10^(exp10 - i); keep those down to 10^-decimals.
    int keep = exp10 + 1 + decimals;
    if (keep < 0) {
        digits = "0";
        exp10 = -decimals - 1;
        keep = 0;
    }
    if (keep < int(digits.size())) {
        bool up = digits[size_t(keep)] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            int i = keep - 1;
            for (; i >= 0 && digits[size_t(i)] == '9'; --i)
                digits[size_t(i)] = '0';
            if (i >= 0) {
                ++digits[size_t(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++exp10;
            }
        }
    }
    digits.resize(size_t(exp10 + 1 + decimals > 0 ? exp10 + 1 + decimals : 0), '0');
    // Now digits[0] stands for 10^exp10 and the last one for 10^-decimals.
    std::string intPart, fracPart;
    for (int i = 0; i < int(digits.size()); ++i) {
        int power = exp10 - i;
        (power >= 0 ? intPart : fracPart) += digits[size_t(i)];
    }
    if (exp10 < 0 && decimals > 0)
        fracPart = std::string(size_t(-exp10 - 1 < decimals ? -exp10 - 1 : decimals), '0') + fracPart;
    fracPart.resize(size_t(decimals), '0');
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    bool zero = intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos;
    return std::string(neg && !zero ? "-" : "") + intPart + (decimals > 0 ? "." + fracPart : "");
}

} // namespace

std::string FormatArgs(const std::string& fmt, const std::vector<TFormatArg>& args)
{
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            out += fmt[i];
            continue;
        }
        if (++i >= fmt.size())
            FormatError(fmt);
        if (fmt[i] == '%') {
            out += '%';
            continue;
        }
        bool left = false, zero = false, plus = false, space = false;
        for (; i < fmt.size(); ++i) {
            if (fmt[i] == '-') left = true;
            else if (fmt[i] == '0') zero = true;
            else if (fmt[i] == '+') plus = true;
            else if (fmt[i] == ' ') space = true;
            else break;
        }
        size_t width = 0;
        while (i < fmt.size() && std::isdigit(static_cast<unsigned char>(fmt[i])) && width < 1000)
            width = width * 10 + size_t(fmt[i++] - '0');
        int precision = -1;
        if (i < fmt.size() && fmt[i] == '.') {
            precision = 0;
            ++i;
            while (i < fmt.size() && std::isdigit(static_cast<unsigned char>(fmt[i])) && precision < 100)
                precision = precision * 10 + (fmt[i++] - '0');
        }
        if (i >= fmt.size() || next >= args.size())
            FormatError(fmt);
        const TFormatArg& a = args[next++];
        char conv = fmt[i];
        std::string body;
        char buf[512];
        switch (conv) {
        case 'd': case 'i': case 'u': case 'x': case 'X': {
            bool neg = false;
            uint64_t mag = 0;
            if (auto p = std::get_if<int64_t>(&a)) {
                neg = *p < 0;
                mag = neg ? uint64_t(0) - uint64_t(*p) : uint64_t(*p);
            } else if (auto q = std::get_if<uint64_t>(&a)) {
                mag = *q;
            } else {
                FormatError(fmt);
            }
            if (conv == 'x' || conv == 'X') {
                // Negative values print as their 32- or 64-bit two's complement.
                uint64_t bits = neg ? uint64_t(0) - mag : mag;
                if (neg && std::get<int64_t>(a) >= INT32_MIN)
                    bits &= 0xFFFFFFFFu;
                std::snprintf(buf, sizeof buf, conv == 'x' ? "%llx" : "%llX", (unsigned long long)bits);
                body = buf;
                neg = false;
            } else {
                std::snprintf(buf, sizeof buf, "%llu", (unsigned long long)mag);
                body = buf;
            }
            if (precision >= 0 && body.size() < size_t(precision))
                body = std::string(size_t(precision) - body.size(), '0') + body;
            body = (neg ? "-" : plus ? "+" : space ? " " : "") + body;
            break;
        }
        case 'f': case 'e': case 'E': case 'g': case 'G': {
            double v;
            if (auto p = std::get_if<double>(&a)) v = *p;
            else if (auto q = std::get_if<int64_t>(&a)) v = double(*q);
            else if (auto r = std::get_if<uint64_t>(&a)) v = double(*r);
            else FormatError(fmt);
            char spec[16];
            std::snprintf(spec, sizeof spec, "%%%s%s.%d%c", plus ? "+" : "", space ? " " : "",
                precision < 0 ? 6 : precision, conv);
            std::snprintf(buf, sizeof buf, spec, v);
            body = WithSeparator(buf);
            break;
        }
        case 's': {
            auto p = std::get_if<std::string>(&a);
            if (!p)
                FormatError(fmt);
            body = precision >= 0 ? p->substr(0, size_t(precision)) : *p;
            zero = false;
            break;
        }
        case 'c': {
            if (auto p = std::get_if<std::string>(&a); p && p->size() == 1) body = *p;
            else if (auto q = std::get_if<int64_t>(&a); q && *q >= 0 && *q < 256) body = std::string(1, char(*q));
            else FormatError(fmt);
            zero = false;
            break;
        }
        default:
            FormatError(fmt);
        }
        out += Pad(body, width, left, zero && !left);
    }
    return out;
}

std::string IntToStr(int64_t value)
{
    return std::to_string(value);
}

std::string IntToHex(int64_t value, int digits)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits < 0 ? 0 : digits > 16 ? 16 : digits,
        (unsigned long long)value);
    return buf;
}

bool TryStrToInt64(const std::string& s, int64_t& value)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        neg = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    uint64_t mag = 0;
    for (; i < s.size(); ++i) {
        int d;
        char c = s[i];
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        if (mag > (UINT64_MAX - uint64_t(d)) / uint64_t(base))
            return false;
        mag = mag * uint64_t(base) + uint64_t(d);
    }
    if (neg ? mag > uint64_t(INT64_MAX) + 1 : mag > uint64_t(INT64_MAX))
        return false;
    value = neg ? int64_t(uint64_t(0) - mag) : int64_t(mag);
    return true;
}

bool TryStrToInt(const std::string& s, int32_t& value)
{
    int64_t v;
    if (!TryStrToInt64(s, v))
        return false;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    value = int32_t(v);
    return true;
}

int32_t StrToInt(const std::string& s)
{
    int32_t v;
    if (!TryStrToInt(s, v))
        throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int32_t StrToIntDef(const std::string& s, int32_t def)
{
    int32_t v;
    return TryStrToInt(s, v) ? v : def;
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = precision < 1 ? 1 : precision > 17 ? 17 : precision;
    digits = digits < 0 ? 0 : digits > 18 ? 18 : digits;
    char buf[400];
    // The exponent of value rounded to precision significant digits.
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
    int exp10 = std::atoi(std::strchr(buf, 'e') + 1);

    auto exponentForm = [&](int minExpDigits) {
        std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
        std::string s = buf;
        size_t e = s.find('e');
        std::string mant = s.substr(0, e);
        int ex = std::atoi(s.c_str() + e + 1);
        std::string ed = std::to_string(ex < 0 ? -ex : ex);
        if (int(ed.size()) < minExpDigits)
            ed = std::string(size_t(minExpDigits - int(ed.size())), '0') + ed;
        return WithSeparator(mant) + "E" + (ex < 0 ? "-" : "+") + ed;
    };

    switch (format) {
    case ffExponent:
        return exponentForm(digits > 4 ? 4 : digits);
    case ffFixed:
    case ffNumber: {
        if (exp10 >= precision)
            return exponentForm(0);
        bool neg;
        std::string sig;
        int e10;
        SignificantDigits(value, precision, neg, sig, e10);
        std::string s = FixedFromDigits(neg, sig, e10, digits);
        if (format == ffNumber) {
            size_t start = (s[0] == '-') ? 1 : 0;
            size_t dot = s.find('.');
            size_t intEnd = dot == std::string::npos ? s.size() : dot;
            for (size_t p = intEnd; p > start + 3; p -= 3)
                s.insert(p - 3, 1, ThousandSeparator);
        }
        return WithSeparator(s);
    }
    case ffGeneral:
    default: {
        if (exp10 >= precision || exp10 < -4) {
            std::string s = exponentForm(digits > 4 ? 4 : digits);
            // Trailing zeros of the mantissa are dropped.
            size_t e = s.find('E');
            std::string mant = s.substr(0, e);
            if (mant.find(DecimalSeparator) != std::string::npos) {
                while (!mant.empty() && mant.back() == '0')
                    mant.pop_back();
                if (!mant.empty() && mant.back() == DecimalSeparator)
                    mant.pop_back();
            }
            return mant + s.substr(e);
        }
        std::snprintf(buf, sizeof buf, "%.*f", precision - 1 - exp10 < 0 ? 0 : precision - 1 - exp10, value);
        std::string s = buf;
        if (s.find('.') != std::string::npos) {
            while (s.back() == '0')
                s.pop_back();
            if (s.back() == '.')
                s.pop_back();
        }
        if (s == "-0")
            s = "0";
        return WithSeparator(s);
    }
    }
}

std::string FloatToStr(double value)
{
    return FloatToStrF(value, ffGeneral, 15, 0);
}

bool TryStrToFloat(const std::string& s, double& value)
{
    std::string t = Trim(s);
    if (t.empty())
        return false;
    for (char& c : t) {
        if (c == DecimalSeparator)
            c = '.';
        else if (c == '.' && DecimalSeparator != '.')
            return false;
    }
    if (t.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || errno == ERANGE)
        return false;
    value = v;
    return true;
}

double StrToFloat(const std::string& s)
{
    double v;
    if (!TryStrToFloat(s, v))
        throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

std::string UpperCase(const std::string& s)
{
    std::string r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return r;
}

std::string LowerCase(const std::string& s)
{
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return r;
}

int CompareText(const std::string& a, const std::string& b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y)
            return int(x) - int(y);
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string TrimLeft(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ')
        ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s)
{
    size_t n = s.size();
    while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ')
        --n;
    return s.substr(0, n);
}

std::string Trim(const std::string& s)
{
    return TrimLeft(TrimRight(s));
}

bool IsValidIdent(const std::string& s)
{
    if (s.empty())
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!alpha && !(i > 0 && c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

std::string ChangeFileExt(const std::string& fileName, const std::string& ext)
{
    size_t slash = fileName.rfind('/');
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return fileName + ext;
    return fileName.substr(0, dot) + ext;
}

std::string ExtractFilePath(const std::string& fileName)
{
    size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& fileName)
{
    size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& fileName)
{
    size_t slash = fileName.rfind('/');
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return fileName.substr(dot);
}

std::string ExpandFileName(const std::string& fileName)
{
    std::error_code ec;
    auto p = std::filesystem::absolute(fileName, ec);
    if (ec)
        return fileName;
    return p.lexically_normal().string();
}

bool FileExists(const std::string& fileName)
{
    std::error_code ec;
    return !fileName.empty() && std::filesystem::is_regular_file(fileName, ec);
}

std::string GetEnvironmentVariable(const std::string& name)
{
    const char* v = std::getenv(name.c_str());
    return v ? std::string(v) : std::string();
}

std::string WithPlatformReason(const std::string& message)
{
    std::string reason = plat::LastError();
    return reason.empty() ? message : message + ". " + reason;
}
