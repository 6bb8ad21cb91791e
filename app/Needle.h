#pragma once
// The needle unit: the outline of the metronome's needle, a 7-point polygon computed from
// an angle and a shape record. Angles are radians, counter-clockwise from the positive x
// axis with screen y pointing down, so pi/2 is upright. Pure functions; GUI thread.

#include "framework/core/Types.h"

#include <cstdint>

struct NeedleShape {
    int32_t pivotX = 0;
    int32_t pivotY = 0;
    int32_t baseOffset = 0;   // pivot to the base of the needle, along its axis
    int32_t shaftWidth = 0;
    int32_t shaftLength = 0;
    int32_t headWidth = 0;    // width of the base of the arrow head
    int32_t headLength = 0;   // the tip lies baseOffset + shaftLength + headLength out
};

// Fills points[0..6] with the outline of shape at angle, shifted by (dx, dy). The points
// run from the base corner on the left of the upright needle, up the shaft, round the head
// to the tip and down the other side; the polygon closes from points[6] to points[0].
void NeedlePolygon(TPoint points[7], int32_t dx, int32_t dy, double angle, const NeedleShape& shape);
