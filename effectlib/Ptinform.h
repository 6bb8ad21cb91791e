#pragma once
// Hit tests for ellipses and rounded rectangles, in the coordinates of the given
// rectangle. Pure functions.

#include "framework/core/Types.h"

// Within the ellipse of centre (Left + W div 2, Top + H div 2) and half-axes W div 2 and
// H div 2 (a half-axis of 0 counts as 1), boundary included.
bool PointinEllipse(int X, int Y, const TRect& Rect);
// Within Rect narrowed left and right by Radius, or narrowed top and bottom by Radius, or
// within Radius of one of the four corner centres (Left + Radius, Top + Radius) ...
bool PointinRndRect(int X, int Y, int Radius, const TRect& Rect);
