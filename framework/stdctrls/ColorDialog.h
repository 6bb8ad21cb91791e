#pragma once
// TColorDialog: a component that lets the user pick a colour. Execute runs the chooser
// modally: it starts from Color and, when the user accepts, stores the chosen colour in
// Color and answers true; a cancel leaves Color alone and answers false. The chooser is
// the desktop's own where one can be started (zenity or kdialog, without a shell, its
// answer parsed) and a small palette window of the framework otherwise; a Runner set on
// the dialog (or the process-wide default) replaces both, which is how tests drive it.
// While a chooser runs the application goes on painting and handling messages; a second
// Execute of the same dialog then answers false at once, and a dialog destroyed
// meanwhile is not touched again. GUI thread only.

#include "framework/core/Component.h"
#include "framework/graphics/Color.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TCustomForm;

class TColorDialog : public TComponent {
public:
    // Runs a chooser that starts at `initial`; the chosen colour, or nothing on cancel.
    using TRunner = std::function<std::optional<TColor>(TColor initial)>;

    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;
    const char* ClassName() const override { return "TColorDialog"; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    bool Executing() const { return FExecuting; }
    bool Execute();

    // This dialog's chooser (unset: the default runner).
    TRunner Runner;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

    // The chooser every dialog without a Runner uses; an unset value restores the
    // desktop-or-built-in choice.
    static void SetDefaultRunner(TRunner Runner);

private:
    TColor FColor = clBlack;
    bool FExecuting = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The desktop chooser's answer as a colour: "rgb(r,g,b)", "rgba(r,g,b,a)", "#rgb",
// "#rrggbb" or "#rrrrggggbbbb", surrounding white space ignored; nothing for anything else.
std::optional<TColor> ParseChooserColor(const std::string& Text);

// The argument vector that starts the desktop's chooser at `initial` (empty when neither
// zenity nor kdialog is on PATH).
std::vector<std::string> DesktopChooserCommand(TColor initial);

// Runs the desktop's chooser, or the built-in palette window when there is none.
std::optional<TColor> RunDefaultColorChooser(TColor initial);

// The framework's own chooser: a modal palette window. A click on a swatch accepts its
// colour, Enter accepts the initial one, Escape or closing the window cancels. Shown,
// when set, hears of the window as it is being shown.
std::optional<TColor> RunBuiltInColorChooser(TColor initial,
    const std::function<void(TCustomForm*)>& Shown = {});
