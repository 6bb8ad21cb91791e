#pragma once
// The value types of controls: alignment, anchors, control style and state, mouse
// buttons and shift states, cursors, and the mouse and key event signatures.

#include "framework/core/Component.h"
#include "framework/controls/Messages.h"

#include <cstdint>

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : uint32_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint32_t;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TControlStyleFlag : uint32_t {
    csAcceptsControls = 1 << 0, csCaptureMouse = 1 << 1, csDesignInteractive = 1 << 2,
    csClickEvents = 1 << 3, csFramed = 1 << 4, csSetCaption = 1 << 5, csOpaque = 1 << 6,
    csDoubleClicks = 1 << 7, csFixedWidth = 1 << 8, csFixedHeight = 1 << 9,
    csNoDesignVisible = 1 << 10, csReplicatable = 1 << 11, csNoStdEvents = 1 << 12,
};
using TControlStyle = uint32_t;

enum TControlStateFlag : uint32_t {
    csLButtonDown = 1 << 0, csClicked = 1 << 1, csPalette = 1 << 2, csReadingState = 1 << 3,
    csAlignmentNeeded = 1 << 4, csFocusing = 1 << 5, csCreating = 1 << 6,
    csPaintCopy = 1 << 7, csCustomPaint = 1 << 8,
};
using TControlState = uint32_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : uint32_t {
    ssShift = 1 << 0, ssAlt = 1 << 1, ssCtrl = 1 << 2, ssLeft = 1 << 3, ssRight = 1 << 4,
    ssMiddle = 1 << 5, ssDouble = 1 << 6,
};
using TShiftState = uint32_t;

using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                  crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                  crHSplit = -14, crVSplit = -15, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = TMethodPtr<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TMethodPtr<TObject*, TShiftState, int, int>;
using TKeyEvent = TMethodPtr<TObject*, uint16_t&, TShiftState>;
using TKeyPressEvent = TMethodPtr<TObject*, char&>;

TShiftState KeysToShiftState(WPARAM keys);
