#pragma once
// Shared pieces of the visual framework tests: the headless fixture and the one-colour
// test controls every layer uses.

#include "support/FillBox.h"
#include "support/HeadlessFixture.h"
