#pragma once
// The colour unit of the instrument-panel controls: conversion between RGB and HLS on the
// hexcone model, and the rule that turns a base colour and two contrast steps into a light
// and a dark shade. Every panel control takes its bevel and unlit-LED colours from here.
// Pure functions; any thread.

#include "framework/graphics/Color.h"
#include "framework/core/SysUtils.h"

// Raised for a component outside [0, 1]; the message names the component.
class EColorConv : public Exception {
public:
    using Exception::Exception;
};

struct TRGBTriple3 {
    double R = 0, G = 0, B = 0;
};
struct THLSTriple {
    double H = 0, L = 0, S = 0;
};

// Two numbers closer than this count as equal; a magnitude below it counts as zero.
constexpr double ColorEps = 1e-8;

void HLS2RGB(const THLSTriple& hls, TRGBTriple3& rgb);
void RGB2HLS(const TRGBTriple3& rgb, THLSTriple& hls);

// Light shade: every channel lightened toward white by the factor; dark shade: the
// luminance scaled by the factor, hue and saturation kept. Factors are single precision.
void ColorShades(TColor base, float lightFactor, float darkFactor, TColor& light, TColor& dark);

// Contrast steps 0..9 give the factors (10 - step) / 10.
void ContrastShades(TColor base, int lightContrast, int darkContrast, TColor& light, TColor& dark);
