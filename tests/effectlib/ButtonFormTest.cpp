// The buttons in a form description: every class with non-default values of every
// published property of its own is written, read back the same, and written again
// identically; references to sounds and the colour dialog survive.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPButtons.h"
#include "effectlib/Wavctrl.h"
#include "framework/core/Writer.h"
#include "framework/stdctrls/ColorDialog.h"
#include "framework/graphics/Bitmap.h"

namespace {

class ButtonFormTest : public effctltest::HeadlessFormTest { };

template <class C>
C* Add(TForm* form, const char* name, int x, int y)
{
    auto* c = new C(form);
    c->SetName(name);
    c->SetParent(form);
    c->SetBounds(x, y, c->Width(), c->Height());
    return c;
}

void ExpectWritten(const std::string& text, const std::string& object,
    std::initializer_list<const char*> names)
{
    const size_t at = text.find("object " + object + ":");
    ASSERT_NE(at, std::string::npos) << object;
    const size_t end = text.find("\n  end\n", at);
    const std::string part = text.substr(at, end - at);
    for (const char* n : names)
        EXPECT_NE(part.find(std::string("    ") + n + " = "), std::string::npos)
            << object << "." << n << "\n" << part;
}

void Glyph(TBitmap& g)
{
    g.SetSize(8, 4);
    g.Handle()->Fill(clRed);
    g.Handle()->SetColor(0, 3, clWhite);
}

} // namespace

TEST_F(ButtonFormTest, EveryClassAndPropertyRoundTrips)
{
    TForm* form = NewForm(400, 300);
    form->SetName("frmButtons");
    auto* click = new TepWavePlayer(form);
    click->SetName("wavClick");
    auto* hover = new TepWavePlayer(form);
    hover->SetName("wavHover");
    auto* dlg = new TColorDialog(form);
    dlg->SetName("dlgColor");
    dlg->SetColor(clTeal);
    TBitmap glyph;
    Glyph(glyph);

    auto* sb = Add<TepSpeedButton>(form, "speed", 10, 10);
    sb->SetActiveGradColor(clRed);
    sb->SetGradColor(clBlue);
    sb->SetGradEffect(true);
    sb->SetGradKind(gdVCenter);
    sb->SetMiddleTransparent(true);
    sb->SetClickSound(click);
    sb->SetActiveSound(hover);
    sb->SetActiveTextColor(clYellow);
    sb->SetLayout(blGlyphBottom);
    sb->SetNumGlyphs(2);
    sb->SetGlyph(&glyph);
    sb->SetFrameWidth(2);
    sb->SetInnerColor(clWhite);
    sb->SetOuterColor(clGray);
    sb->SetPatternColor(clLime);
    sb->SetGroupIndex(3);
    sb->SetAllowAllUp(true);
    sb->SetDown(true);
    sb->SetFlat(true);
    sb->SetMargin(2);
    sb->SetSpacing(1);
    sb->SetTransparent(true);

    auto* lb = Add<TepLabelButton>(form, "labelBtn", 10, 50);
    lb->SetLayout(blGlyphRight);
    lb->SetEfCaption(true);
    lb->SetActiveTextColor(clRed);
    lb->SetNumGlyphs(2);
    lb->SetGlyph(&glyph);
    lb->SetClickSound(click);
    lb->SetActiveSound(hover);
    lb->SetCaption("Label");

    auto* eb = Add<TepEfButton>(form, "efBtn", 120, 50);
    eb->SetLayout(blGlyphTop);
    eb->SetMargin(3);
    eb->SetSpacing(4);
    eb->SetEfCaption(true);
    eb->SetBtnFrameWidth(2);
    eb->SetBtnColor(clAqua);
    eb->SetFrameWidth(1);
    eb->SetActiveTextColor(clGreen);

    auto* cb = Add<TepColorButton>(form, "colorBtn", 10, 90);
    cb->SetMarkOffset(4);
    cb->SetMarkAlign(mkBottom);
    cb->SetClickSound(click);
    cb->SetActiveSound(hover);
    cb->SetUseFrame(false);
    cb->SetLayout(blGlyphRight);
    cb->SetNumGlyphs(2);
    cb->SetMargin(1);
    cb->SetSpacing(4);
    cb->SetMarkWidth(12);
    cb->SetMarkHeight(8);
    cb->SetInnerColor(clWhite);
    cb->SetOuterColor(clBlack);
    cb->SetColorValue(clFuchsia);
    cb->SetColorDialog(dlg);
    cb->SetEfCaption(true);
    cb->SetGlyph(&glyph);
    cb->SetActiveTextColor(clMaroon);

    auto* fb = Add<TepFocusButton>(form, "focusBtn", 10, 130);
    fb->SetLayout(blGlyphRight);
    fb->SetSpacing(4);
    fb->SetMargin(2);
    fb->SetShowFocus(false);
    fb->SetMiddleTransparent(true);
    fb->SetActiveGradColor(clRed);
    fb->SetGradColor(clNavy);
    fb->SetGradEffect(true);
    fb->SetGradKind(gdHCenter);
    fb->SetFrameWidth(3);
    fb->SetOuterColor(clBlack);
    fb->SetInnerColor(clWhite);
    fb->SetTabStop(false);

    auto* tb = Add<TepTransparentBtn>(form, "transBtn", 120, 130);
    tb->SetLayout(blGlyphTop);
    tb->SetSpacing(2);
    tb->SetMargin(0);
    tb->SetShowFocus(false);
    tb->SetMiddleTransparent(true);
    tb->SetRadius(7);
    tb->SetFrameInnerColor(clYellow);
    tb->SetFrameOuterColor(clOlive);
    tb->SetFrameColor(clPurple);
    tb->SetFrame3D(true);
    tb->SetFrameRnd(true);
    tb->SetFrame(true);
    tb->SetNumGlyphs(2);
    tb->SetGlyph(&glyph);
    Pump();

    const std::string text = WriteComponentRes(form);
    ExpectWritten(text, "speed", { "ActiveGradColor", "GradColor", "GradEffect", "GradKind",
        "MiddleTransparent", "ClickSound", "ActiveSound", "ActiveTextColor", "Layout",
        "NumGlyphs", "FrameWidth", "InnerColor", "OuterColor", "PatternColor", "AllowAllUp",
        "GroupIndex", "Down", "Flat", "Margin", "Spacing", "Transparent" });
    EXPECT_NE(text.find("Glyph.Data = {"), std::string::npos);
    ExpectWritten(text, "labelBtn", { "Layout", "EfCaption", "ActiveTextColor", "NumGlyphs",
        "ClickSound", "ActiveSound", "Caption" });
    ExpectWritten(text, "efBtn", { "Layout", "Margin", "Spacing", "EfCaption", "BtnFrameWidth",
        "BtnColor", "FrameWidth", "ActiveTextColor" });
    ExpectWritten(text, "colorBtn", { "MarkOffset", "MarkAlign", "ClickSound", "ActiveSound",
        "UseFrame", "Layout", "NumGlyphs", "Margin", "Spacing", "MarkWidth", "MarkHeight",
        "InnerColor", "OuterColor", "ColorValue", "ColorDialog", "EfCaption", "ActiveTextColor" });
    ExpectWritten(text, "focusBtn", { "Layout", "Spacing", "Margin", "ShowFocus",
        "MiddleTransparent", "ActiveGradColor", "GradColor", "GradEffect", "GradKind",
        "FrameWidth", "OuterColor", "InnerColor", "TabStop" });
    ExpectWritten(text, "transBtn", { "Layout", "Spacing", "Margin", "ShowFocus",
        "MiddleTransparent", "Radius", "FrameInnerColor", "FrameOuterColor", "FrameColor",
        "Frame3D", "FrameRnd" });
    ExpectWritten(text, "dlgColor", { "Color" });

    form->SetName("frmWritten");
    auto* copy = new TForm(Application, text);
    EXPECT_EQ(WriteComponentRes(copy), text);

    auto* sb2 = dynamic_cast<TepSpeedButton*>(copy->FindComponent("speed"));
    ASSERT_NE(sb2, nullptr);
    EXPECT_TRUE(sb2->Down());
    EXPECT_EQ(sb2->GroupIndex(), 3);
    EXPECT_EQ(sb2->GradKind(), gdVCenter);
    EXPECT_EQ(sb2->ClickSound(), copy->FindComponent("wavClick"));
    EXPECT_EQ(sb2->Glyph()->Width(), 8);
    auto* cb2 = dynamic_cast<TepColorButton*>(copy->FindComponent("colorBtn"));
    ASSERT_NE(cb2, nullptr);
    EXPECT_EQ(cb2->ColorDialog(), copy->FindComponent("dlgColor"));
    EXPECT_EQ(cb2->Spacing(), 4);
    EXPECT_EQ(cb2->MarkAlign(), mkBottom);
    auto* fb2 = dynamic_cast<TepFocusButton*>(copy->FindComponent("focusBtn"));
    ASSERT_NE(fb2, nullptr);
    EXPECT_FALSE(fb2->TabStop());
    EXPECT_EQ(fb2->Spacing(), 4);
    auto* tb2 = dynamic_cast<TepTransparentBtn*>(copy->FindComponent("transBtn"));
    ASSERT_NE(tb2, nullptr);
    EXPECT_TRUE(tb2->FrameRnd());
    EXPECT_EQ(tb2->Radius(), 7);
    auto* eb2 = dynamic_cast<TepEfButton*>(copy->FindComponent("efBtn"));
    ASSERT_NE(eb2, nullptr);
    EXPECT_EQ(eb2->Spacing(), 4);
    EXPECT_EQ(eb2->ActiveTextColor(), clGreen);
}
