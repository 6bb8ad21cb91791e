#pragma once
// The media page's controls wired to the gallery: each reports its events, and a click
// on the morphing control starts a cross-fade (the other way round once one has ended).

#include "framework/core/Component.h"

#include <functional>
#include <string>

using TGalleryReport = std::function<void(TComponent* Sender, const std::string& Event)>;

// False when C is not one of the media page's control classes.
bool WireMediaControl(TComponent* C, const TGalleryReport& Report);
