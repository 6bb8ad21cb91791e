// The instrument controls in a form description: every class with non-default values of
// every published property of its own is written, read back the same, and written again
// identically.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPButtons.h"
#include "effectlib/EPCtrls.h"
#include "effectlib/EPGauges.h"
#include "effectlib/EPLabels.h"
#include "effectlib/Indictrls.h"
#include "effectlib/Wavctrl.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"

namespace {

class InstrumentFormTest : public effctltest::HeadlessFormTest { };

template <class C>
C* Add(TForm* form, const char* name, int x, int y)
{
    auto* c = new C(form);
    c->SetName(name);
    c->SetParent(form);
    c->SetBounds(x, y, c->Width(), c->Height());
    return c;
}

// Each published name of the class's own, written as "Name = ".
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

} // namespace

TEST_F(InstrumentFormTest, EveryClassAndPropertyRoundTrips)
{
    TForm* form = NewForm(400, 300);
    form->SetName("frmInstruments");
    auto* wave = new TepWavePlayer(form);
    wave->SetName("wavClick");

    auto* fader = Add<TepRegulator>(form, "fader", 10, 10);
    fader->SetTimeInt(40);
    fader->SetMinValue(-20);
    fader->SetMaxValue(80);
    fader->SetValue(30);
    fader->SetBtnColor(clRed);
    fader->SetFrameWidth(3);

    auto* sw = Add<TepSwitch>(form, "switch1", 50, 10);
    sw->SetOnBtnColor(clYellow);
    sw->SetOffBtnColor(clGray);
    sw->SetState(sOn);
    sw->SetFrameWidth(2);

    TBitmap tile;
    tile.SetSize(3, 2);
    tile.Handle()->Fill(clTeal);
    auto* gauge = Add<TepGauge>(form, "gauge", 100, 10);
    gauge->SetFrameInnerColor(clRed);
    gauge->SetFrameOuterColor(clGreen);
    gauge->SetBarInnerColor(clYellow);
    gauge->SetBarOuterColor(clNavy);
    gauge->SetUseGlyph(true);
    gauge->SetProgressGlyph(&tile);
    gauge->SetKind(gkVerticalBar);
    gauge->SetShowText(false);
    gauge->SetBarColor(clLime);
    gauge->SetMinValue(5);
    gauge->SetMaxValue(60);
    gauge->SetProgress(33);
    gauge->SetTransparent(true);

    auto* soft = Add<TepEffectGauge>(form, "softGauge", 210, 10);
    soft->SetShadowOffset(4);
    soft->SetBorderWidth(3);
    soft->SetKind(gkVerticalBar);
    soft->SetShowText(false);
    soft->SetBarColor(clMaroon);
    soft->SetMinValue(-10);
    soft->SetMaxValue(10);
    soft->SetProgress(4);

    auto* btn = Add<TepShadowBtn>(form, "shadowBtn", 10, 170);
    btn->SetRadius(6);
    btn->SetBtnKind(epbuttons::bkRndRect);
    btn->SetBtnColor(clPurple);
    btn->SetShadowOffset(5);
    btn->SetBlurShadow(true);
    btn->SetCaption("Press");
    btn->SetActiveTextColor(clYellow);
    btn->SetMargin(4);
    btn->SetSpacing(6);
    btn->SetLayout(blGlyphTop);
    btn->SetClickSound(wave);

    auto* ib = Add<TepIndiButton>(form, "indiBtn", 110, 170);
    ib->SetClickSound(wave);
    ib->SetActiveSound(wave);
    ib->SetUnActiveColor(clSilver);
    ib->SetFrameColor(clAqua);
    ib->SetCaption("REC");

    auto* num = Add<TepNumPanel>(form, "numPanel", 220, 170);
    num->SetCountNums(5);
    num->SetValue(-1234);
    num->SetIndiWidth(1);
    num->SetIndiColor(clRed);
    num->SetUnActiveColor(clMaroon);

    auto* lb = Add<TepIndiGauge>(form, "ledBar", 220, 230);
    lb->SetUnActiveColor(clNavy);
    lb->SetUnNormalIndiColor(clFuchsia);
    lb->SetNormalValue(40);
    lb->SetIndiColor(clAqua);
    lb->SetOffsetIndi(2);
    lb->SetIndiNums(12);
    lb->SetKind(gkVerticalBar);
    lb->SetMinValue(10);
    lb->SetMaxValue(90);
    lb->SetProgress(70);

    auto* lab = Add<TepLabel>(form, "label", 10, 260);
    lab->SetMiddleTransparent(true);
    lab->SetTransparent(true);
    lab->SetGradColor(clRed);
    lab->SetGradEffect(true);
    lab->SetGradKind(gdVCenter);
    lab->SetInnerColor(clBlue);
    lab->SetOuterColor(clNavy);
    lab->SetUseInnerColor(false);
    lab->SetUseOuterColor(false);
    lab->SetText3D(false);
    lab->SetAlignment(taCenter);
    lab->SetCaption("Level");

    auto* txt = Add<TepTextLabel>(form, "textLabel", 80, 260);
    txt->SetMiddleTransparent(true);
    txt->SetAlignment(taRightJustify);
    txt->SetLinesText("one\r\ntwo\tthree");
    txt->SetTextInnerColor(clRed);
    txt->SetTextOuterColor(clGreen);
    txt->SetText3D(true);

    auto* wav = Add<TepWaveLabel>(form, "waveLabel", 140, 260);
    wav->SetCaption("wave");
    wav->SetInnerColor(clRed);
    wav->SetOuterColor(clGreen);
    wav->SetUseInnerColor(false);
    wav->SetUseOuterColor(false);
    wav->SetXDiv(5);
    wav->SetYDiv(6);
    wav->SetRatioVal(2);
    wav->SetTextX(3);
    wav->SetTextY(4);

    auto* bit = Add<TepBitLabel>(form, "bitLabel", 210, 260);
    bit->SetAlignment(taRightJustify);
    bit->SetCaption("bits");
    bit->SetOuterColor(clRed);
    bit->SetInnerColor(clGreen);
    bit->SetUseOuterColor(false);
    bit->SetUseInnerColor(false);
    bit->SetText3D(true);
    bit->SetTransparentColor(clFuchsia);
    bit->SetWallpaper(&tile);

    const std::string text = WriteComponentRes(form);
    ExpectWritten(text, "label", { "MiddleTransparent", "Transparent", "GradColor", "GradEffect",
        "GradKind", "InnerColor", "OuterColor", "UseInnerColor", "UseOuterColor", "Text3D",
        "Alignment", "Caption" });
    ExpectWritten(text, "textLabel", { "MiddleTransparent", "Alignment", "Lines",
        "TextInnerColor", "TextOuterColor", "Text3D" });
    ExpectWritten(text, "waveLabel", { "Caption", "InnerColor", "OuterColor", "UseInnerColor",
        "UseOuterColor", "XDiv", "YDiv", "RatioVal", "TextX", "TextY" });
    ExpectWritten(text, "bitLabel", { "Alignment", "Caption", "OuterColor", "InnerColor",
        "UseOuterColor", "UseInnerColor", "Text3D", "TransparentColor" });
    EXPECT_NE(text.find("Wallpaper.Data = {"), std::string::npos);
    ExpectWritten(text, "fader", { "TimeInt", "Value", "MinValue", "MaxValue", "BtnColor", "FrameWidth" });
    ExpectWritten(text, "switch1", { "OnBtnColor", "OffBtnColor", "State", "FrameWidth" });
    ExpectWritten(text, "gauge", { "FrameInnerColor", "FrameOuterColor", "BarInnerColor",
        "BarOuterColor", "UseGlyph", "Kind", "ShowText", "BarColor", "MinValue", "MaxValue",
        "Progress", "Transparent" });
    EXPECT_NE(text.find("ProgressGlyph.Data = {"), std::string::npos);
    ExpectWritten(text, "softGauge", { "ShadowOffset", "BorderWidth", "Kind", "ShowText",
        "BarColor", "MinValue", "MaxValue", "Progress" });
    ExpectWritten(text, "shadowBtn", { "Radius", "BtnKind", "BtnColor", "ShadowOffset",
        "BlurShadow", "ActiveTextColor", "Margin", "Spacing", "Layout", "ClickSound", "Caption" });
    ExpectWritten(text, "indiBtn", { "ClickSound", "ActiveSound", "UnActiveColor", "FrameColor" });
    ExpectWritten(text, "numPanel", { "CountNums", "Value", "IndiWidth", "IndiColor", "UnActiveColor" });
    ExpectWritten(text, "ledBar", { "UnActiveColor", "UnNormalIndiColor", "NormalValue",
        "IndiColor", "IndiOffset", "IndiNums", "Kind", "MinValue", "MaxValue", "Progress" });

    form->SetName("frmWritten");
    auto* copy = new TForm(Application, text);
    EXPECT_EQ(WriteComponentRes(copy), text);
    auto* f2 = dynamic_cast<TepRegulator*>(copy->FindComponent("fader"));
    ASSERT_NE(f2, nullptr);
    EXPECT_EQ(f2->Value(), 30);
    EXPECT_EQ(f2->MinValue(), -20);
    EXPECT_EQ(f2->BtnPos(), fader->BtnPos());
    auto* g2 = dynamic_cast<TepGauge*>(copy->FindComponent("gauge"));
    ASSERT_NE(g2, nullptr);
    EXPECT_EQ(g2->Progress(), 33);
    EXPECT_EQ(g2->ProgressGlyph()->Width(), 3);
    auto* b2 = dynamic_cast<TepShadowBtn*>(copy->FindComponent("shadowBtn"));
    ASSERT_NE(b2, nullptr);
    EXPECT_EQ(b2->BtnKind(), epbuttons::bkRndRect);
    EXPECT_EQ(b2->ClickSound(), copy->FindComponent("wavClick"));
    auto* l2 = dynamic_cast<TepIndiGauge*>(copy->FindComponent("ledBar"));
    ASSERT_NE(l2, nullptr);
    EXPECT_EQ(l2->Progress(), 70);
    EXPECT_EQ(l2->NormalValue(), 40);
    auto* s2 = dynamic_cast<TepSwitch*>(copy->FindComponent("switch1"));
    ASSERT_NE(s2, nullptr);
    EXPECT_EQ(s2->State(), sOn);
    auto* t2 = dynamic_cast<TepTextLabel*>(copy->FindComponent("textLabel"));
    ASSERT_NE(t2, nullptr);
    EXPECT_EQ(t2->Lines(), (std::vector<std::string> { "one", "two\tthree" }));
}
