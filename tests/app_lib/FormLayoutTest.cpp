// The window's layout table against the form description the program embeds: every
// control's class, parent, stored bounds and every property the description holds, the
// creation order, and then the window as loaded from it (effective bounds, resolved
// colours, fonts, captions, stacking order) and its 10 ms timer. A changed, added or
// dropped value in the description fails here.
#include "MetronomeTestSupport.h"

#include "framework/stdctrls/Bevel.h"
#include "framework/core/FormText_p.h"

#include <map>
#include <optional>
#include <vector>

namespace {

struct LayoutRow {
    const char* name;
    const char* className;
    const char* parent;   // "" for the window itself
    std::optional<std::array<int, 4>> bounds;   // Left, Top, Width, Height as stored
    // Every other property the description holds for the control, as written there;
    // binary data as "<binary>".
    std::vector<std::pair<const char*, const char*>> props;
};

const std::vector<LayoutRow>& LayoutTable()
{
    static const std::vector<LayoutRow> rows = {
        { "frmMetronome", "TfrmMetronome", "", std::nullopt,
            { { "Left", "360" }, { "Top", "113" }, { "BorderStyle", "bsNone" },
                { "ClientHeight", "443" }, { "ClientWidth", "412" }, { "Color", "clBtnFace" },
                { "Font.Color", "clWindowText" }, { "Font.Height", "-11" },
                { "Font.Name", "'MS Sans Serif'" }, { "Font.Style", "[]" },
                { "OldCreateOrder", "False" }, { "PixelsPerInch", "96" },
                { "OnClose", "FormClose" }, { "OnDestroy", "FormDestroy" } } },
        { "Panel1", "TPanel", "frmMetronome", std::array { 0, 0, 412, 443 },
            { { "Align", "alClient" }, { "BorderWidth", "10" }, { "TabOrder", "0" } } },
        { "epMoveForm1", "TepMoveForm", "Panel1", std::array { 0, 0, 433, 473 }, {} },
        { "ScrewPanel1", "TScrewPanel", "Panel1", std::array { 11, 11, 390, 421 },
            { { "Align", "alClient" }, { "Color", "clBtnFace" }, { "BevelOuter", "bvNone" },
                { "TabOrder", "0" }, { "Margin", "2" }, { "ScrewSize", "2" },
                { "ShowScrews", "True" } } },
        { "Bevel1", "TBevel", "ScrewPanel1", std::array { 14, 3, 34, 34 }, {} },
        { "epMoveForm2", "TepMoveForm", "ScrewPanel1", std::array { 0, 0, 390, 421 },
            { { "Align", "alClient" } } },
        { "epShadowLabel1", "TepShadowLabel", "ScrewPanel1", std::array { 48, 0, 265, 17 },
            { { "Caption", "'Kelvo Music Metronome 1.0'" }, { "Font.Color", "clWindowText" },
                { "Font.Height", "-17" }, { "Font.Name", "'MS Sans Serif'" },
                { "Font.Style", "[fsBold]" }, { "ParentFont", "False" },
                { "Transparent", "True" }, { "Alignment", "taCenter" },
                { "BlurShadow", "True" }, { "ShadowOffset", "1" } } },
        { "btnRun", "TLEDButton", "ScrewPanel1", std::array { 321, 40, 66, 26 },
            { { "Caption", "'Run'" }, { "Beveled", "True" }, { "BorderStyle", "bsNone" },
                { "ButtonDirection", "bdBottomUp" }, { "Color", "clSilver" },
                { "ColorLED", "clLime" }, { "Depth", "3" }, { "LEDContrast", "6" },
                { "ShowLED", "True" }, { "StateOn", "False" }, { "Switching", "True" },
                { "TextPosition", "tpOnButton" }, { "OnClick", "btnRunClick" } } },
        { "btnBeep", "TLEDButton", "ScrewPanel1", std::array { 321, 67, 66, 26 },
            { { "Caption", "'Beep'" }, { "Beveled", "True" }, { "BorderStyle", "bsNone" },
                { "ButtonDirection", "bdBottomUp" }, { "Color", "clSilver" },
                { "ColorLED", "clLime" }, { "Depth", "3" }, { "LEDContrast", "6" },
                { "ShowLED", "True" }, { "StateOn", "False" }, { "Switching", "True" },
                { "TextPosition", "tpOnButton" } } },
        { "imgLogo", "TImage", "ScrewPanel1", std::array { 15, 4, 32, 32 },
            { { "Cursor", "-21" }, { "OnClick", "imgLogoClick" },
                { "OnDblClick", "imgLogoClick" }, { "AutoSize", "True" },
                { "Picture.Data", "<binary>" }, { "Transparent", "True" } } },
        { "bevelMixer", "TBevel", "ScrewPanel1", std::array { 321, 110, 66, 25 }, {} },
        { "sbMixer", "TLEDButton", "ScrewPanel1", std::array { 340, 111, 46, 23 },
            { { "Caption", "'Vol.'" }, { "OnClick", "sbMixerClick" }, { "Beveled", "True" },
                { "BorderStyle", "bsNone" }, { "ButtonDirection", "bdBottomUp" },
                { "Color", "clSilver" }, { "ColorLED", "clTeal" }, { "Depth", "5" },
                { "LEDContrast", "6" }, { "ShowLED", "False" }, { "StateOn", "True" },
                { "Switching", "False" }, { "TextPosition", "tpOnButton" } } },
        { "imgMixerLogo", "TImage", "ScrewPanel1", std::array { 324, 115, 16, 16 }, {} },
        { "pnlDisplay", "TScrewPanel", "ScrewPanel1", std::array { 1, 40, 310, 380 },
            { { "Anchors", "[akLeft, akTop, akRight, akBottom]" }, { "Color", "13684944" },
                { "ParentColor", "True" }, { "BevelOuter", "bvLowered" },
                { "FullRepaint", "False" }, { "TabOrder", "1" }, { "Margin", "2" },
                { "ScrewSize", "2" }, { "ShowScrews", "True" } } },
        { "Image1", "TImage", "pnlDisplay", std::array { 3, 74, 303, 294 },
            { { "Picture.Data", "<binary>" } } },
        { "epMoveForm3", "TepMoveForm", "pnlDisplay", std::array { 0, 0, 313, 379 }, {} },
        { "lblTempoValue", "TepShadowLabel", "pnlDisplay", std::array { 1, 1, 308, 56 },
            { { "Align", "alTop" }, { "Caption", "'120 bpm'" }, { "Font.Color", "clWindowText" },
                { "Font.Height", "-40" }, { "Font.Name", "'Arial'" }, { "Font.Style", "[]" },
                { "ParentFont", "False" }, { "Transparent", "True" },
                { "Alignment", "taCenter" }, { "BlurShadow", "True" },
                { "ShadowOffset", "1" } } },
        { "dispBeat", "TLEDDisplay", "pnlDisplay", std::array { 100, 344, 112, 31 },
            { { "BevelStyle", "bvLowered" }, { "BorderStyle", "bsSingle" },
                { "ColorBackGround", "clBlack" }, { "DecSeperator", "dsComma" },
                { "DigitHeight", "25" }, { "LEDContrast", "7" }, { "NumDigits", "5" },
                { "SegmentStyle", "ssBeveled" } } },
        { "pbArea", "TPaintBox", "pnlDisplay", std::array { 1, 57, 308, 322 },
            { { "Align", "alClient" }, { "OnPaint", "pbAreaPaint" } } },
        { "btnReset", "TLEDButton", "pnlDisplay", std::array { 215, 344, 42, 31 },
            { { "Caption", "'RST'" }, { "OnClick", "btnResetClick" }, { "Beveled", "True" },
                { "BorderStyle", "bsSingle" }, { "ButtonDirection", "bdBottomUp" },
                { "Color", "clSilver" }, { "ColorLED", "clLime" }, { "Depth", "3" },
                { "LEDContrast", "6" }, { "ShowLED", "False" }, { "StateOn", "False" },
                { "Switching", "True" }, { "TextPosition", "tpOnButton" } } },
        { "btnQuit", "TepBlurButton", "ScrewPanel1", std::array { 323, 1, 64, 25 },
            { { "Caption", "'Quit'" }, { "Font.Color", "clWindowText" },
                { "Font.Height", "-11" }, { "Font.Name", "'Arial'" }, { "Font.Style", "[]" },
                { "ParentFont", "False" }, { "Transparent", "False" },
                { "BackColor", "clBtnFace" }, { "ModalResult", "0" },
                { "ActiveTextColor", "clHighlight" }, { "BevelWidht", "2" }, { "Blur", "True" },
                { "Color", "clRed" }, { "Kind", "bkRect" }, { "TextColor", "clWindowText" },
                { "OnClick", "btnQuitClick" } } },
        { "sliderTempo", "TepBMPSlider", "ScrewPanel1", std::array { 313, 137, 76, 281 },
            { { "TabOrder", "2" }, { "Transparent", "True" }, { "UseFocusFrame", "False" },
                { "PointsColor", "clBlack" }, { "ThumbTransparent", "True" },
                { "ImageVThumb.Data", "<binary>" }, { "ImageVRuler.Data", "<binary>" },
                { "NumThumbStates", "1" }, { "Orientation", "soVertical" },
                { "Options", "[soSmooth]" }, { "Increment", "1" }, { "MinValue", "40" },
                { "MaxValue", "208" }, { "Value", "120" }, { "OnChange", "sliderTempoChange" },
                { "UserImages", "<binary>" } } },
        { "pnlFlash", "TPanel", "ScrewPanel1", std::array { 324, 94, 63, 13 },
            { { "BevelOuter", "bvLowered" }, { "Color", "clGreen" }, { "ParentColor", "False" },
                { "TabOrder", "3" } } },
        { "wavePlay", "TepWavePlayer", "frmMetronome", std::nullopt,
            { { "Enabled", "True" }, { "Options", "[wpoAsync]" }, { "Wave.Data", "<binary>" } } },
    };
    return rows;
}

std::string ValueText(const TFormValue& v)
{
    switch (v.kind) {
    case TFormValue::vaInt: return std::to_string(v.intValue);
    case TFormValue::vaFloat: return FormatFormFloat(v.floatValue);
    case TFormValue::vaString: return QuoteFormString(v.text);
    case TFormValue::vaIdent: return v.text;
    case TFormValue::vaBinary: return "<binary>";
    case TFormValue::vaList: return "<list>";
    case TFormValue::vaSet: {
        std::string s = "[";
        for (size_t i = 0; i < v.items.size(); ++i)
            s += (i ? ", " : "") + v.items[i];
        return s + "]";
    }
    }
    return "?";
}

// The objects of the description by name, each with its parent's name, in file order.
void Flatten(const TFormObject& o, const std::string& parent,
    std::vector<std::pair<const TFormObject*, std::string>>& out)
{
    out.emplace_back(&o, parent);
    for (const TFormObject& c : o.children)
        Flatten(c, o.name, out);
}

} // namespace

TEST(FormLayout, TheEmbeddedDescriptionHoldsTheLayoutTable)
{
    const TFormObject root = ParseFormText(MetronomeFormText());
    std::vector<std::pair<const TFormObject*, std::string>> objects;
    Flatten(root, "", objects);
    const auto& table = LayoutTable();
    // The same controls, created in the table's order.
    ASSERT_EQ(objects.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const LayoutRow& row = table[i];
        const TFormObject& o = *objects[i].first;
        SCOPED_TRACE(row.name);
        EXPECT_EQ(o.name, row.name);
        EXPECT_EQ(o.className, row.className);
        EXPECT_EQ(objects[i].second, row.parent);
        std::vector<std::pair<std::string, std::string>> want, got;
        if (row.bounds) {
            const char* names[] = { "Left", "Top", "Width", "Height" };
            for (int k = 0; k < 4; ++k)
                want.emplace_back(names[k], std::to_string((*row.bounds)[size_t(k)]));
        }
        for (auto [name, value] : row.props)
            want.emplace_back(name, value);
        for (const TFormProperty& p : o.properties)
            got.emplace_back(p.name, ValueText(p.value));
        std::sort(want.begin(), want.end());
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, want);
    }
}

TEST_F(MetronomeTest, TheLoadedWindowFollowsTheLayoutTable)
{
    Open();
    for (const LayoutRow& row : LayoutTable()) {
        SCOPED_TRACE(row.name);
        TComponent* c = row.parent[0] ? form->FindComponent(row.name) : form;
        ASSERT_NE(c, nullptr);
        EXPECT_STREQ(c->ClassName(), row.className);
        auto* control = dynamic_cast<TControl*>(c);
        if (!row.bounds || !row.parent[0])
            continue;
        ASSERT_NE(control, nullptr);
        TComponent* parent = std::string(row.parent) == "frmMetronome"
            ? static_cast<TComponent*>(form)
            : form->FindComponent(row.parent);
        EXPECT_EQ(control->Parent(), parent);
        const auto& b = *row.bounds;
        // Aligned controls take the room their parent gives; the others sit as stored.
        EXPECT_EQ(control->BoundsRect(), Bounds(b[0], b[1], b[2], b[3]));
    }
    EXPECT_EQ(form->BoundsRect(), Bounds(360, 113, 412, 443));
    EXPECT_EQ(form->BorderStyle(), bsNone);
    EXPECT_EQ(form->Caption(), "");
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(form->Font()->Height(), -11);

    // Colours, fonts and captions as the controls hold them.
    EXPECT_EQ(form->epShadowLabel1->Caption(), "Kelvo Music Metronome 1.0");
    EXPECT_EQ(form->epShadowLabel1->Font()->Height(), -17);
    EXPECT_EQ(form->epShadowLabel1->Font()->Style(), TFontStyles(fsBold));
    EXPECT_EQ(form->lblTempoValue->Font()->Name(), "Arial");
    EXPECT_EQ(form->lblTempoValue->Font()->Height(), -40);
    EXPECT_EQ(form->lblTempoValue->Caption(), "120 bpm");
    EXPECT_EQ(form->btnQuit->Font()->Name(), "Arial");
    EXPECT_EQ(form->btnQuit->Font()->Height(), -11);
    EXPECT_EQ(form->btnQuit->Color(), clRed);
    EXPECT_EQ(form->btnQuit->BevelWidht(), 2);
    EXPECT_EQ(form->btnQuit->ActiveTextColor(), clHighlight);
    EXPECT_EQ(form->pnlFlash->Color(), clGreen);
    EXPECT_EQ(form->pnlDisplay->Color(), 0xD0D0D0u);
    EXPECT_TRUE(form->pnlDisplay->ParentColor());
    EXPECT_EQ(form->btnRun->Caption(), "Run");
    EXPECT_EQ(form->btnBeep->Caption(), "Beep");
    EXPECT_EQ(form->sbMixer->Caption(), "Vol.");
    EXPECT_EQ(form->btnReset->Caption(), "RST");
    EXPECT_EQ(form->sbMixer->ColorLED(), clTeal);
    EXPECT_EQ(form->sbMixer->Depth(), 5);
    EXPECT_EQ(form->btnReset->BorderStyle(), bsSingle);
    EXPECT_EQ(form->dispBeat->NumDigits(), 5);
    EXPECT_EQ(form->dispBeat->DigitHeight(), 25);
    EXPECT_EQ(form->dispBeat->LEDContrast(), 7);
    EXPECT_EQ(form->sliderTempo->Options(), TSliderOptions(1u << soSmooth));
    EXPECT_EQ(form->sliderTempo->Value(), 120);
    EXPECT_EQ(form->imgLogo->Cursor(), crHandPoint);
    EXPECT_TRUE(form->imgLogo->Transparent());

    // Inside ScrewPanel1, bottom to top: the graphic controls in creation order, then the
    // windowed ones above them.
    const TControl* screwOrder[] = { form->Bevel1, form->epMoveForm2, form->epShadowLabel1,
        form->btnRun, form->btnBeep, form->imgLogo, form->bevelMixer, form->sbMixer,
        form->imgMixerLogo, form->pnlDisplay, form->btnQuit, form->sliderTempo,
        form->pnlFlash };
    ASSERT_EQ(form->ScrewPanel1->ControlCount(), 13);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(form->ScrewPanel1->Controls(i), screwOrder[i]) << i;
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(dynamic_cast<const TWinControl*>(screwOrder[i]), nullptr) << i;
    for (int i = 9; i < 13; ++i)
        EXPECT_NE(dynamic_cast<const TWinControl*>(screwOrder[i]), nullptr) << i;

    // The window's timer ticks every 10 ms.
    EXPECT_EQ(form->TickTimer()->Interval(), 10);
}
