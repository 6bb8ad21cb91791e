#pragma once
// Drawing routines shared by the effect controls: the image beneath a control (the basis of
// every "transparent" control), three-dimensional frames, colour arithmetic and a copy of
// the screen. Nothing here keeps state. GUI thread only.

#include "framework/graphics/Color.h"
#include "framework/core/Types.h"

#include "platform/raster/Region.h"

#include <cstdint>
#include <functional>

class TBitmap;
class TCanvas;
class TControl;

// Paints into Canvas, in Control's own coordinates, what lies beneath Control: its
// parent's face, then the visible graphic siblings painted before it that meet its
// bounds. A control without a parent leaves the canvas as it is.
void CopyParentImage(TControl* Control, TCanvas* Canvas);
// CopyParentImage, then the visible windowed siblings before Control that meet its
// bounds, each with its children, at their offsets.
void CopyParentImage1(TControl* Control, TCanvas* Canvas);

// Width rings just inside Rect: each paints its left column and top row in TopColor, its
// right column and bottom row in BottomColor (so the top-right and bottom-left corners
// end in BottomColor). Width <= 0 draws nothing. The pen width becomes 1.
void Frm3D(TCanvas* Canvas, TRect Rect, TColor TopColor, TColor BottomColor, int Width);
// An ellipse frame inscribed in Rect: BottomColor over the lower right half, TopColor over
// the upper left half.
void RndFrm3D(TCanvas* Canvas, TColor TopColor, TColor BottomColor, const TRect& Rect,
    int Width);
// A rounded-rectangle frame: right and bottom sides in BottomColor, left and top sides in
// TopColor; clNone leaves that half out.
void RndRectFrm3D(TCanvas* Canvas, const TRect& Rect, TColor TopColor, TColor BottomColor,
    int Diameter, int PenWidth);

// Each of red (low byte), green and blue moved by its delta and held in 0..255; the top
// byte is kept. System colours are not resolved: callers do that first.
TColor RGBChange(TColor Color, int8_t DR, int8_t DG, int8_t DB);
// The per-channel truncated mean of both colours (system colours resolved).
TColor MiddleColor(TColor A, TColor B);

// Copies the screen area at (X, Y) of Bitmap's size into Bitmap: what the program's
// visible forms show there, black elsewhere.
void GetScreenImage(int X, int Y, TBitmap* Bitmap);

// The region a filled figure covers within W x H, as rows of runs: Draw paints the
// figure with the canvas's brush (white, solid) and a clear pen, so what the region
// holds is exactly what the canvas fills. Empty for a size of 0.
plat::Region FigureRegion(int W, int H, const std::function<void(TCanvas*)>& Draw);
