// Form descriptions that hold the library's controls read, write and read back to the
// same controls, and a description that fails to read leaves nothing of itself behind.
#include "EffectControlsTestSupport.h"

#include "effectlib/mediabtn.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/graphics/Font.h"
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"

namespace {

class DescriptionRoundTripTest : public effctltest::HeadlessFormTest { };

// A blur button starts with a bold italic font; a description that clears the style must
// keep it cleared through a write and a read.
TEST_F(DescriptionRoundTripTest, AFontStyleClearedInTheDescriptionSurvivesAWriteAndRead)
{
    const char* text = "object f: TForm\n"
                       "  object btn: TepBlurButton\n"
                       "    Font.Color = clWindowText\n"
                       "    Font.Style = []\n"
                       "    ParentFont = False\n"
                       "  end\n"
                       "end\n";
    TForm first(nullptr);
    ReadComponentRes(text, &first);
    auto* btn = dynamic_cast<TepBlurButton*>(first.FindComponent("btn"));
    ASSERT_NE(btn, nullptr);
    EXPECT_EQ(btn->Font()->Style(), 0u);
    std::string written = WriteComponentRes(&first);
    TForm second(nullptr);
    ReadComponentRes(written, &second);
    auto* copy = dynamic_cast<TepBlurButton*>(second.FindComponent("btn"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Font()->Style(), 0u);
    EXPECT_EQ(WriteComponentRes(&second), written);
}

TEST_F(DescriptionRoundTripTest, AFailedReadFreesEveryComponentItMade)
{
    const char* text = "object f: TForm\n"
                       "  object pnl: TPanel\n"
                       "    object btn: TepBlurButton\n"
                       "      Caption = 'Quit'\n"
                       "    end\n"
                       "    object inner: TPanel\n"
                       "      NoSuchProperty = 1\n"
                       "    end\n"
                       "  end\n"
                       "end\n";
    TForm form(nullptr);
    try {
        ReadComponentRes(text, &form);
        ADD_FAILURE() << "the description was read";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Line 7: Property NoSuchProperty does not exist");
    }
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.ControlCount(), 0);
    EXPECT_FALSE(form.HasState(csLoading));
    EXPECT_FALSE(form.HasState(csReading));
}

// A component the form already had, moved by the description into a panel that the read
// made, stays with the form when the read fails and the panel goes.
TEST_F(DescriptionRoundTripTest, AFailedReadKeepsTheFormsOwnComponents)
{
    TForm form(nullptr);
    auto* own = new TPanel(&form);
    own->SetName("own");
    own->SetParent(&form);
    const char* text = "object f: TForm\n"
                       "  object holder: TPanel\n"
                       "    inherited own: TPanel\n"
                       "      Left = 3\n"
                       "    end\n"
                       "  end\n"
                       "  object late: TNoSuchClass\n"
                       "  end\n"
                       "end\n";
    EXPECT_THROW(ReadComponentRes(text, &form), EReadError);
    ASSERT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(form.Components(0), own);
    EXPECT_EQ(own->Left(), 3);
    EXPECT_EQ(form.FindComponent("holder"), nullptr);
    EXPECT_FALSE(own->HasState(csLoading));
}

} // namespace
