#pragma once
// The buttons page's events for the status line: every button's click, the colour
// buttons' changes (the chosen colour also fills the page's panel pnlChosen).

#include <functional>
#include <string>

class TComponent;
class TForm;

using TGalleryReport = std::function<void(TComponent* Sender, const std::string& Event)>;

// Wires C when it is one of the page's button classes; false for any other component.
bool WireButtonsPage(TComponent* C, TForm* Page, const TGalleryReport& Report);
