#pragma once
// The control gallery: one window that shows a page per family of library controls, each
// page a form description built into the program. The window reads the chosen page into
// a hidden form that owns the page's controls and lays them into its own client area;
// below them stand the page buttons (shadow buttons of the library) and a status line
// that names the control and the event it fired. GUI thread only.

#include "framework/controls/Form.h"

#include <string>
#include <vector>

class TepLabel;
class TepShadowBtn;

struct TGalleryPage {
    std::string Name;    // as given to --gallery and shown on the page button
    std::string Text;    // the form description
};

const std::vector<TGalleryPage>& GalleryPages();
// nullptr for an unknown name.
const TGalleryPage* FindGalleryPage(const std::string& Name);

class TfrmGallery : public TForm {
public:
    // Shows the first page.
    explicit TfrmGallery(TComponent* AOwner);
    ~TfrmGallery() override;
    const char* ClassName() const override { return "TfrmGallery"; }

    // Replaces the shown page; an unknown name raises an Exception and keeps the page.
    void ShowPage(const std::string& Name);
    const std::string& PageName() const { return FPageName; }
    // The page's own form: owner of the page's controls, never shown.
    TForm* Page() const { return FPage; }
    std::string Status() const;

    static constexpr int StripHeight = 44;
    // Also write every status line to standard output (the program does; tests read it).
    static inline bool EchoStatus = false;

private:
    void Report(TComponent* Sender, const std::string& Event);
    void Wire(TComponent* C);
    void FaderMoved(TComponent* Sender, int Value);

    TForm* FPage = nullptr;
    std::string FPageName;
    std::vector<TepShadowBtn*> FTabs;
    TepLabel* FStatus = nullptr;
};
