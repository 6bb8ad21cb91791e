#include "framework/graphics/Color.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <cctype>
#include <cstdio>

namespace {

// The classic grey desktop scheme, indexed by system colour number, as 0x00BBGGRR.
constexpr TColor SystemColors[] = {
    0xC0C0C0,   // 0 scroll bar
    0x808000,   // 1 desktop background (teal)
    0x800000,   // 2 active caption (navy)
    0x808080,   // 3 inactive caption
    0xC0C0C0,   // 4 menu
    0xFFFFFF,   // 5 window
    0x000000,   // 6 window frame
    0x000000,   // 7 menu text
    0x000000,   // 8 window text
    0xFFFFFF,   // 9 caption text
    0xC0C0C0,   // 10 active border
    0xC0C0C0,   // 11 inactive border
    0x808080,   // 12 application work space
    0x800000,   // 13 highlight (navy)
    0xFFFFFF,   // 14 highlight text
    0xC0C0C0,   // 15 button face
    0x808080,   // 16 button shadow
    0x808080,   // 17 grey text
    0x000000,   // 18 button text
    0xC0C0C0,   // 19 inactive caption text
    0xFFFFFF,   // 20 button highlight
    0x000000,   // 21 3-D dark shadow
    0xC0C0C0,   // 22 3-D light
    0x000000,   // 23 tool tip text
    0xE1FFFF,   // 24 tool tip background (pale yellow)
};

struct ColorName {
    TColor value;
    const char* name;
};

constexpr ColorName ColorNames[] = {
    { clBlack, "clBlack" }, { clMaroon, "clMaroon" }, { clGreen, "clGreen" },
    { clOlive, "clOlive" }, { clNavy, "clNavy" }, { clPurple, "clPurple" },
    { clTeal, "clTeal" }, { clGray, "clGray" }, { clSilver, "clSilver" }, { clRed, "clRed" },
    { clLime, "clLime" }, { clYellow, "clYellow" }, { clBlue, "clBlue" },
    { clFuchsia, "clFuchsia" }, { clAqua, "clAqua" }, { clWhite, "clWhite" },
    { clScrollBar, "clScrollBar" }, { clBackground, "clBackground" },
    { clActiveCaption, "clActiveCaption" }, { clInactiveCaption, "clInactiveCaption" },
    { clMenu, "clMenu" }, { clWindow, "clWindow" }, { clWindowFrame, "clWindowFrame" },
    { clMenuText, "clMenuText" }, { clWindowText, "clWindowText" },
    { clCaptionText, "clCaptionText" }, { clActiveBorder, "clActiveBorder" },
    { clInactiveBorder, "clInactiveBorder" }, { clAppWorkSpace, "clAppWorkSpace" },
    { clHighlight, "clHighlight" }, { clHighlightText, "clHighlightText" },
    { clBtnFace, "clBtnFace" }, { clBtnShadow, "clBtnShadow" },
    { clGrayText, "clGrayText" }, { clBtnText, "clBtnText" },
    { clInactiveCaptionText, "clInactiveCaptionText" },
    { clBtnHighlight, "clBtnHighlight" }, { cl3DDkShadow, "cl3DDkShadow" },
    { cl3DLight, "cl3DLight" }, { clInfoText, "clInfoText" }, { clInfoBk, "clInfoBk" },
    { clNone, "clNone" }, { clDefault, "clDefault" },
};

bool SameName(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::tolower(uint8_t(a[i])) != std::tolower(uint8_t(b[i])))
            return false;
    }
    return i == a.size() && b[i] == 0;
}

} // namespace

TColor ColorToRGB(TColor c)
{
    if ((c & clSystemColor) == 0)
        return c;
    uint32_t index = c & 0xFF;
    if ((c & 0x7FFFFF00) != 0 || index >= std::size(SystemColors))
        return 0;
    return SystemColors[index];
}

bool ColorToIdent(TColor c, std::string& ident)
{
    for (const auto& n : ColorNames) {
        if (n.value == c) {
            ident = n.name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(const std::string& ident, TColor& c)
{
    for (const auto& n : ColorNames) {
        if (SameName(ident, n.name)) {
            c = n.value;
            return true;
        }
    }
    if (SameName(ident, "clLtGray") || SameName(ident, "clDkGray")) {
        c = SameName(ident, "clLtGray") ? clLtGray : clDkGray;
        return true;
    }
    return false;
}

std::string ColorToString(TColor c)
{
    std::string s;
    if (ColorToIdent(c, s))
        return s;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", unsigned(c));
    return buf;
}

TColor StringToColor(const std::string& s)
{
    TColor c;
    if (IdentToColor(s, c))
        return c;
    // "$" and up to eight hex digits cover every colour value, system colours included.
    if (s.size() >= 2 && s.size() <= 9 && s[0] == '$') {
        uint32_t v = 0;
        for (size_t i = 1; i < s.size(); ++i) {
            if (!std::isxdigit(uint8_t(s[i])))
                throw EConvertError("'" + s + "' is not a valid colour value");
            char ch = char(std::tolower(uint8_t(s[i])));
            v = v << 4 | uint32_t(ch <= '9' ? ch - '0' : ch - 'a' + 10);
        }
        return v;
    }
    return TColor(StrToInt(s));
}

void GetColorValues(const std::function<void(const std::string&)>& proc)
{
    for (const auto& n : ColorNames)
        proc(n.name);
}

// The form reader and writer know colours by name (clRed) through these two functions.
namespace {
[[maybe_unused]] const bool ColorNamesInstalled = [] {
    RegisterColorIdents(
        [](const std::string& ident, int64_t& value) {
            TColor c;
            if (!IdentToColor(ident, c))
                return false;
            value = c;
            return true;
        },
        [](int64_t value, std::string& ident) { return ColorToIdent(TColor(value), ident); });
    return true;
}();
} // namespace
