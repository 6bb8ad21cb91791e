// The colour dialog: the runner choice, the desktop chooser's command and answer, and the
// built-in palette window.
#include "framework/stdctrls/ColorDialog.h"

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/controls/GraphicControl.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Canvas.h"
#include "platform/system/Clock.h"
#include "platform/system/Process.h"

#include <cctype>
#include <cstdio>

namespace {

TColorDialog::TRunner& DefaultRunner()
{
    static TColorDialog::TRunner runner;
    return runner;
}

std::string TrimBlanks(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(uint8_t(s[a])))
        ++a;
    while (b > a && std::isspace(uint8_t(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

std::optional<int> HexDigits(const std::string& s, size_t at, size_t n)
{
    int v = 0;
    for (size_t i = at; i < at + n; ++i) {
        if (!std::isxdigit(uint8_t(s[i])))
            return std::nullopt;
        v = v * 16 + (std::isdigit(uint8_t(s[i])) ? s[i] - '0' : std::tolower(uint8_t(s[i])) - 'a' + 10);
    }
    return v;
}

std::optional<TColor> ParseHex(const std::string& s)
{
    const size_t n = s.size() - 1;
    if (n != 3 && n != 6 && n != 12)
        return std::nullopt;
    const size_t d = n / 3;
    int c[3];
    for (int i = 0; i < 3; ++i) {
        auto v = HexDigits(s, 1 + size_t(i) * d, d);
        if (!v)
            return std::nullopt;
        c[i] = d == 1 ? *v * 17 : d == 2 ? *v : *v >> 8;
    }
    return RGB(uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
}

// "rgb(r,g,b)" or "rgba(r,g,b,a)": three integers 0..255, the alpha ignored.
std::optional<TColor> ParseRgb(const std::string& s)
{
    const size_t open = s.find('(');
    if (open == std::string::npos || s.back() != ')')
        return std::nullopt;
    const std::string head = s.substr(0, open);
    if (head != "rgb" && head != "rgba")
        return std::nullopt;
    std::vector<std::string> parts;
    std::string cur;
    for (size_t i = open + 1; i + 1 < s.size(); ++i) {
        if (s[i] == ',') {
            parts.push_back(TrimBlanks(cur));
            cur.clear();
        } else {
            cur += s[i];
        }
    }
    parts.push_back(TrimBlanks(cur));
    if (parts.size() != (head == "rgb" ? 3u : 4u))
        return std::nullopt;
    int c[3];
    for (int i = 0; i < 3; ++i) {
        const std::string& p = parts[size_t(i)];
        if (p.empty() || p.size() > 3)
            return std::nullopt;
        int v = 0;
        for (char ch : p) {
            if (!std::isdigit(uint8_t(ch)))
                return std::nullopt;
            v = v * 10 + (ch - '0');
        }
        if (v > 255)
            return std::nullopt;
        c[i] = v;
    }
    return RGB(uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
}

// Runs the program while the application goes on handling messages; its output when it
// ended with status 0, nothing when it could not start or was cancelled.
std::optional<std::string> RunPumping(const std::vector<std::string>& argv)
{
    int fd = -1;
    const plat::SpawnResult r = plat::SpawnReading(argv, fd);
    if (!r.ok)
        return std::nullopt;
    int status;
    while ((status = plat::PollProcess(r.pid)) == -2) {
        if (Application)
            Application->ProcessMessages();
        plat::SleepMs(15);
    }
    std::string out = plat::ReadToEnd(fd);
    if (status != 0)
        return std::nullopt;
    return out;
}

// The palette of the built-in chooser: 8 columns of 5 rows.
const TColor Palette[] = {
    0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000080, 0x0000FF, 0x8080FF,
    0x004080, 0x0080FF, 0x80C0FF, 0x008080, 0x00FFFF, 0x80FFFF, 0x008000, 0x00FF00,
    0x80FF80, 0x408000, 0x808000, 0xFFFF00, 0xFFFF80, 0x800000, 0xFF0000, 0xFF8080,
    0x800080, 0xFF00FF, 0xFF80FF, 0x400080, 0x8000FF, 0xC080FF, 0x004040, 0x408080,
    0x404080, 0x804040, 0x408040, 0x0040C0, 0xC04000, 0x00C040, 0x4000C0, 0x40C0C0,
};
constexpr int Cols = 8, Rows = 5, Cell = 24;

class TPaletteGrid : public TGraphicControl {
public:
    TPaletteGrid(TComponent* AOwner, TColor initial)
        : TGraphicControl(AOwner)
        , FInitial(ColorToRGB(initial))
    {
        SetBounds(8, 8, Cols * Cell, Rows * Cell);
    }
    std::optional<TColor> Picked;

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        for (int i = 0; i < Cols * Rows; ++i) {
            const TRect r = Bounds((i % Cols) * Cell, (i / Cols) * Cell, Cell, Cell);
            c->Brush()->SetColor(Palette[i]);
            c->Pen()->SetColor(Palette[i] == FInitial ? clWhite : clGray);
            c->Rectangle(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        }
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TGraphicControl::MouseUp(Button, Shift, X, Y);
        if (Button != mbLeft || X < 0 || Y < 0 || X >= Width() || Y >= Height())
            return;
        Picked = Palette[(Y / Cell) * Cols + X / Cell];
        if (TCustomForm* f = GetParentForm())
            f->SetModalResult(mrOk);
    }

private:
    TColor FInitial;
};

class TColorChooserForm : public TForm {
public:
    TColorChooserForm(TColor initial)
        : TForm(nullptr)
        , FInitial(initial)
    {
        SetCaption("Colour");
        SetColor(clBtnFace);
        FGrid = new TPaletteGrid(this, initial);
        FGrid->SetParent(this);
        SetClientWidth(Cols * Cell + 16);
        SetClientHeight(Rows * Cell + 16);
    }
    std::optional<TColor> Result() const
    {
        if (ModalResult() != mrOk)
            return std::nullopt;
        return FGrid->Picked ? *FGrid->Picked : FInitial;
    }

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override
    {
        if (Key == 0x0D)
            SetModalResult(mrOk);
        else if (Key == 0x1B)
            SetModalResult(mrCancel);
        else
            TForm::KeyDown(Key, Shift);
    }

private:
    TColor FInitial;
    TPaletteGrid* FGrid = nullptr;
};

} // namespace

TColorDialog::TColorDialog(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TColorDialog::~TColorDialog() { *FAlive = false; }

void TColorDialog::SetDefaultRunner(TRunner Runner) { DefaultRunner() = std::move(Runner); }

bool TColorDialog::Execute()
{
    if (FExecuting)
        return false;
    FExecuting = true;
    std::shared_ptr<bool> alive = FAlive;
    if (OnShow)
        OnShow(this);
    if (!*alive)
        return false;
    TRunner run = Runner ? Runner : DefaultRunner() ? DefaultRunner() : TRunner([](TColor c) { return RunDefaultColorChooser(c); });
    std::optional<TColor> chosen;
    try {
        chosen = run(FColor);
    } catch (...) {
        if (*alive)
            FExecuting = false;
        throw;
    }
    // The chooser let the application run: this dialog may be gone.
    if (!*alive)
        return false;
    FExecuting = false;
    if (chosen)
        FColor = *chosen;
    if (OnClose)
        OnClose(this);
    return chosen.has_value();
}

std::optional<TColor> ParseChooserColor(const std::string& Text)
{
    const std::string s = TrimBlanks(Text);
    if (s.size() < 2)
        return std::nullopt;
    if (s[0] == '#')
        return ParseHex(s);
    return ParseRgb(s);
}

std::vector<std::string> DesktopChooserCommand(TColor initial)
{
    const TColor c = ColorToRGB(initial);
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    if (plat::FindProgramOnPath("zenity"))
        return { "zenity", "--color-selection", std::string("--color=") + hex };
    if (plat::FindProgramOnPath("kdialog"))
        return { "kdialog", "--getcolor", "--default", hex };
    return {};
}

std::optional<TColor> RunDefaultColorChooser(TColor initial)
{
    const std::vector<std::string> argv = DesktopChooserCommand(initial);
    if (argv.empty())
        return RunBuiltInColorChooser(initial, {});
    std::optional<std::string> out = RunPumping(argv);
    if (!out)
        return std::nullopt;
    return ParseChooserColor(*out);
}

std::optional<TColor> RunBuiltInColorChooser(TColor initial,
    const std::function<void(TCustomForm*)>& Shown)
{
    auto form = std::make_unique<TColorChooserForm>(initial);
    if (Shown) {
        TCustomForm* f = form.get();
        form->OnShow = TNotifyEvent::FromFunction([Shown, f](TObject*) { Shown(f); });
    }
    form->ShowModal();
    return form->Result();
}

BEGIN_PROPERTIES(TColorDialog, TComponent)
    .Color("Color", &TColorDialog::Color, &TColorDialog::SetColor).Default(clBlack)
    .Event("OnShow", &TColorDialog::OnShow)
    .Event("OnClose", &TColorDialog::OnClose)
END_PROPERTIES
