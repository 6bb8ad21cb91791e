#include "rackctls/RackCtls.h"

#include "framework/core/Reader.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

#include "RackTestSupport.h"
#include "RackWindowText.h"

using namespace racktest;

BEGIN_PROPERTIES(TRackForm, TForm)
    PUBLISHED_FIELD(ScrewPanel1)
    PUBLISHED_FIELD(pnlDisplay)
    PUBLISHED_FIELD(btnRun)
    PUBLISHED_FIELD(btnBeep)
    PUBLISHED_FIELD(sbMixer)
    PUBLISHED_FIELD(btnReset)
    PUBLISHED_FIELD(dispBeat)
    PUBLISHED_METHOD(btnRunClick)
    PUBLISHED_METHOD(dispBeatChange)
END_PROPERTIES

namespace {

class FormDescriptionTest : public RackFormTest {
protected:
    TRackForm* Load(const std::string& text)
    {
        auto* f = new TRackForm(Application);
        ReadComponentRes(text, f);
        return f;
    }
};

TEST_F(FormDescriptionTest, ClassesAreRegisteredByName)
{
    EXPECT_TRUE(RegisterRackCtls());
    for (const char* name : { "TLEDButton", "TScrewPanel", "TLEDDisplay" }) {
        const TClassInfo* ci = FindClassInfo(name);
        ASSERT_NE(ci, nullptr) << name;
        EXPECT_TRUE(ci->CanCreate()) << name;
    }
    // Inherited properties come along; the own Color takes the place of the inherited one.
    const TClassInfo* button = FindClassInfo("TLEDButton");
    EXPECT_NE(button->FindProperty("Left"), nullptr);
    EXPECT_NE(button->FindProperty("Caption"), nullptr);
    EXPECT_EQ(button->FindProperty("Color")->OrdDefault, std::optional<int64_t>(clGray));
    EXPECT_NE(FindClassInfo("TScrewPanel")->FindProperty("BevelOuter"), nullptr);
    EXPECT_NE(FindClassInfo("TLEDDisplay")->FindProperty("OnChange"), nullptr);
}

// The window's own values are checked against the description the program embeds (in
// the app's tests); here what the controls derive from what they read.
TEST_F(FormDescriptionTest, LoadedControlsDeriveTheirShades)
{
    TRackForm* f = Load(WindowPanelsText);
    ASSERT_NE(f->btnRun, nullptr);
    ASSERT_NE(f->dispBeat, nullptr);
    ASSERT_NE(f->pnlDisplay, nullptr);
    EXPECT_EQ(f->btnRun->Parent(), f->ScrewPanel1);
    EXPECT_EQ(f->btnReset->Parent(), f->pnlDisplay);
    EXPECT_EQ(f->btnRun->LightShade(), 0xD9D9D9u);
    EXPECT_EQ(f->sbMixer->UnlitColor(), 0x333300u);
    EXPECT_EQ(f->dispBeat->GlyphBitmap(0)->Height(), 25);
    EXPECT_EQ(f->dispBeat->UnlitColor(), 0x004D00u);
    // The plate keeps its own colour; following the parent's colour changes only the
    // colour the panel hands on.
    EXPECT_EQ(f->pnlDisplay->Color(), 0xD0D0D0u);
    EXPECT_EQ(f->pnlDisplay->DarkShade(), 0x686868u);
    EXPECT_TRUE(f->pnlDisplay->ParentColor());

    // Events are bound by name.
    f->Show();
    Pump();
    Click(f->btnRun, 30, 10);
    EXPECT_EQ(f->runClicks, 1);
    EXPECT_TRUE(f->btnRun->StateOn());
    f->dispBeat->SetValue(7);
    EXPECT_EQ(f->beatChanges, 1);
}

TEST_F(FormDescriptionTest, WrittenFormReadsBackAlike)
{
    TRackForm* f = Load(WindowPanelsText);
    f->btnBeep->SetStateOn(true);
    f->dispBeat->SetFractionDigits(2);
    f->dispBeat->SetValue(3.25L);
    std::string text = WriteComponentRes(f);
    EXPECT_NE(text.find("object btnRun: TLEDButton"), std::string::npos) << text;
    EXPECT_NE(text.find("TextPosition = tpOnButton"), std::string::npos) << text;
    EXPECT_EQ(text.find("ButtonDirection"), std::string::npos) << text;   // the default
    EXPECT_NE(text.find("OnClick = btnRunClick"), std::string::npos) << text;
    delete f;

    TRackForm* g = Load(text);
    EXPECT_TRUE(g->btnBeep->StateOn());
    EXPECT_EQ(g->btnRun->Color(), clSilver);
    EXPECT_EQ(g->sbMixer->ColorLED(), clTeal);
    EXPECT_EQ(g->sbMixer->Depth(), 5);
    EXPECT_EQ(g->btnReset->BorderStyle(), bsSingle);
    EXPECT_EQ(g->dispBeat->FractionDigits(), 2);
    EXPECT_EQ(g->dispBeat->Value(), 3.25L);
    EXPECT_EQ(g->dispBeat->DecSeperator(), dsComma);
    EXPECT_EQ(g->pnlDisplay->Color(), 0xD0D0D0u);
    EXPECT_EQ(g->ScrewPanel1->Margin(), 2);
}

TEST_F(FormDescriptionTest, OutOfRangeValuesInADescriptionAreIgnored)
{
    TRackForm* f = Load(R"(object f: TRackForm
  object btnRun: TLEDButton
    LEDContrast = 12
    NumGlyphs = 7
  end
  object pnlDisplay: TScrewPanel
    Width = 40
    Height = 40
    ScrewSize = 9
    Margin = 39
  end
end
)");
    EXPECT_EQ(f->btnRun->LEDContrast(), 6);
    EXPECT_EQ(f->btnRun->NumGlyphs(), 1);
    EXPECT_EQ(f->pnlDisplay->ScrewSize(), 2);
    EXPECT_EQ(f->pnlDisplay->Margin(), 2);
}

} // namespace
