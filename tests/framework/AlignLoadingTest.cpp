// Aligned children read from a description are aligned once all of them are there, so
// the order in which the writer lists them (graphic controls before windowed ones) does
// not change the layout that a read and a write give.
#include "VisualTestSupport.h"

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/PaintBox.h"

namespace {

class AlignLoadingTest : public HeadlessTest { };

TEST_F(AlignLoadingTest, LeftAlignedChildrenKeepTheirOrderThroughAWriteAndARead)
{
    // The paint box comes first in the text but lies right of the panel.
    const char* text = "object f: TForm\n"
                       "  ClientWidth = 300\n"
                       "  ClientHeight = 100\n"
                       "  object holder: TPanel\n"
                       "    Left = 0\n"
                       "    Top = 0\n"
                       "    Width = 300\n"
                       "    Height = 100\n"
                       "    BevelOuter = bvNone\n"
                       "    object bar: TPaintBox\n"
                       "      Left = 100\n"
                       "      Top = 0\n"
                       "      Width = 5\n"
                       "      Height = 100\n"
                       "      Align = alLeft\n"
                       "    end\n"
                       "    object side: TPanel\n"
                       "      Left = 0\n"
                       "      Top = 0\n"
                       "      Width = 100\n"
                       "      Height = 100\n"
                       "      Align = alLeft\n"
                       "    end\n"
                       "  end\n"
                       "end\n";
    TForm first(nullptr);
    ReadComponentRes(text, &first);
    auto* bar = dynamic_cast<TControl*>(first.FindComponent("bar"));
    auto* side = dynamic_cast<TControl*>(first.FindComponent("side"));
    ASSERT_TRUE(bar && side);
    EXPECT_EQ(side->Left(), 0);
    EXPECT_EQ(bar->Left(), 100);
    const std::string once = WriteComponentRes(&first);
    TForm second(nullptr);
    ReadComponentRes(once, &second);
    EXPECT_EQ(dynamic_cast<TControl*>(second.FindComponent("bar"))->Left(), 100);
    EXPECT_EQ(WriteComponentRes(&second), once);
}

// Alignment made after the read still follows every change at once.
TEST_F(AlignLoadingTest, AfterTheReadAlignmentFollowsChangesAtOnce)
{
    const char* text = "object f: TForm\n"
                       "  ClientWidth = 200\n"
                       "  ClientHeight = 80\n"
                       "  object top: TPanel\n"
                       "    Height = 30\n"
                       "    Align = alTop\n"
                       "  end\n"
                       "end\n";
    TForm form(nullptr);
    ReadComponentRes(text, &form);
    auto* top = dynamic_cast<TControl*>(form.FindComponent("top"));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 30));
    form.SetClientWidth(150);
    EXPECT_EQ(top->Width(), 150);
}

} // namespace
