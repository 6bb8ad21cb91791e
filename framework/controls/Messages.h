#pragma once
// Control messages: a message number, two parameters and a result, sent to a control's
// WndProc with Perform. Window messages (WM_*) keep their classic numbers, control
// notifications (CM_*) start at 0xB000. WM_PAINT and WM_ERASEBKGND carry in WParam the
// drawing context (plat::Dc*) to paint into; WM_PAINT with 0 paints the pending update area.
// Mouse messages carry the key and button state in WParam (MK_*) and the position in
// LParam (x in the low 16 bits, y in the high 16 bits, both signed).

#include <cstdint>

namespace plat {
class Dc;
}

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct TMessage {
    uint32_t Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_CANCELMODE = 0x001F;
constexpr uint32_t WM_GETDLGCODE = 0x0087;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;   // WParam: keys, delta (120 a notch) << 16
constexpr uint32_t WM_USER = 0x0400;

constexpr uint32_t CM_BASE = 0xB000;
constexpr uint32_t CM_ACTIVATE = CM_BASE + 0;
constexpr uint32_t CM_DEACTIVATE = CM_BASE + 1;
constexpr uint32_t CM_DIALOGKEY = CM_BASE + 5;
constexpr uint32_t CM_DIALOGCHAR = CM_BASE + 6;
constexpr uint32_t CM_FOCUSCHANGED = CM_BASE + 7;
constexpr uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr uint32_t CM_HITTEST = CM_BASE + 10;
constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 11;
constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr uint32_t CM_COLORCHANGED = CM_BASE + 13;
constexpr uint32_t CM_FONTCHANGED = CM_BASE + 14;
constexpr uint32_t CM_CURSORCHANGED = CM_BASE + 15;
constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 18;
constexpr uint32_t CM_MOUSEENTER = CM_BASE + 19;
constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 20;
constexpr uint32_t CM_ENTER = CM_BASE + 27;
constexpr uint32_t CM_EXIT = CM_BASE + 28;
constexpr uint32_t CM_SHOWINGCHANGED = CM_BASE + 34;
// Notifications a control sends itself on behalf of its window: CN_DRAWITEM asks it to
// draw one item of an owner-drawn list (LParam: the item's TDrawItemStruct).
constexpr uint32_t CN_BASE = 0xBC00;
constexpr uint32_t CN_DRAWITEM = CN_BASE + 0x2B;
// A button of a group went down: WParam the group number, LParam the button (TControl*).
// Broadcast to the button's siblings so the others of the group can go up.
constexpr uint32_t CM_BUTTONPRESSED = CM_BASE + 24;

// Key and button state of mouse messages.
constexpr uint32_t MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08,
                   MK_MBUTTON = 0x10, MK_ALT = 0x20;

// Answers to WM_GETDLGCODE.
constexpr LRESULT DLGC_WANTARROWS = 0x01, DLGC_WANTTAB = 0x02, DLGC_WANTALLKEYS = 0x04,
                  DLGC_WANTCHARS = 0x80;

inline LPARAM MakeMouseLParam(int32_t x, int32_t y)
{
    return LPARAM(uint32_t(uint16_t(int16_t(x))) | uint32_t(uint16_t(int16_t(y))) << 16);
}
inline int32_t MouseX(LPARAM l) { return int16_t(uint16_t(uint32_t(l) & 0xFFFF)); }
inline int32_t MouseY(LPARAM l) { return int16_t(uint16_t(uint32_t(l) >> 16)); }
inline plat::Dc* MessageDc(WPARAM w) { return reinterpret_cast<plat::Dc*>(w); }
