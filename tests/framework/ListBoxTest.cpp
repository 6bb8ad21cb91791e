#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/stdctrls/ListBox.h"
#include "support/HeadlessFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A list box that records every owner-draw notification it receives.
class TRecListBox : public TListBox {
public:
    using TListBox::TListBox;
    struct Call {
        int index;
        TOwnerDrawState state;
        TRect rect;
    };
    std::vector<Call> calls;

protected:
    void CNDrawItem(TMessage& m) override
    {
        auto* d = reinterpret_cast<TDrawItemStruct*>(m.LParam);
        calls.push_back({ d->itemID, d->itemState, d->rcItem });
        TListBox::CNDrawItem(m);
    }
};

class ListBoxTest : public HeadlessTest {
protected:
    TRecListBox* NewList(TForm* f, int n, int w = 121, int h = 97)
    {
        auto* l = new TRecListBox(f);
        l->SetParent(f);
        l->SetBounds(10, 10, w, h);
        for (int i = 0; i < n; ++i)
            l->Items()->Add("Item " + std::to_string(i));
        Pump();
        return l;
    }
    void Key(int k, uint32_t mods = 0)
    {
        ws.KeyDown(k, mods);
        ws.KeyUp(k, mods);
        Pump();
    }
};

} // namespace

TEST_F(ListBoxTest, GeometryLeavesRoomForBorderAndScrollBar)
{
    TForm* f = NewForm(400, 300);
    auto* l = NewList(f, 3);
    EXPECT_EQ(l->RowsPerPage(), 5) << "93 inner pixels hold five 16-pixel rows";
    EXPECT_FALSE(l->ScrollBarVisible());
    EXPECT_EQ(l->ItemRect(0), Rect(2, 2, 119, 18));
    for (int i = 3; i < 10; ++i)
        l->Items()->Add("more");
    EXPECT_TRUE(l->ScrollBarVisible());
    EXPECT_EQ(l->ItemRect(0), Rect(2, 2, 103, 18));
    EXPECT_EQ(l->ScrollBarRect(), Rect(103, 2, 119, 95));
    EXPECT_EQ(l->ItemRect(5).Top, 82) << "the sixth row shows in part";
    EXPECT_TRUE(l->ItemRect(6).IsEmpty());
    EXPECT_EQ(l->ItemAtPos(Point(50, 20), true), 1);
    EXPECT_EQ(l->ItemAtPos(Point(110, 20), true), -1) << "the scroll bar holds no item";

    l->SetBorderStyle(bsNone);
    l->SetBounds(0, 0, 300, 64);
    l->SetColumns(3);
    EXPECT_EQ(l->ColumnWidth(), 100);
    EXPECT_FALSE(l->ScrollBarVisible()) << "columns scroll sideways, not with the bar";
    EXPECT_EQ(l->ItemRect(5), Rect(100, 16, 200, 32)) << "items run down, then across";
    EXPECT_EQ(l->ItemAtPos(Point(250, 40), true), -1) << "slot 10 lies past the last item";
    EXPECT_EQ(l->ItemAtPos(Point(150, 40), true), 6);
    l->MakeVisible(9);
    EXPECT_EQ(l->TopIndex(), 0) << "9 is in the third column, already in view";
}

TEST_F(ListBoxTest, OwnerDrawNotificationCarriesIndexStateAndRect)
{
    TForm* f = NewForm(300, 200);
    auto* l = NewList(f, 3);
    l->SetItemIndex(1);
    l->calls.clear();
    l->Repaint();
    ASSERT_EQ(l->calls.size(), 3u);
    EXPECT_EQ(l->calls[1].index, 1);
    EXPECT_EQ(l->calls[1].state, odSelected) << "not focused: no focus flag";
    EXPECT_EQ(l->calls[1].rect, Rect(2, 18, 119, 34));
    EXPECT_EQ(l->calls[0].state, 0u);

    l->SetFocus();
    Pump();
    l->calls.clear();
    l->Repaint();
    EXPECT_EQ(l->calls[1].state, odSelected | odFocused);
    // The selected row is filled with the highlight colour, outside its text.
    EXPECT_EQ(Pixel(f, 10 + 110, 10 + 20), ColorToRGB(clHighlight) & 0xFFFFFF);
    EXPECT_EQ(Pixel(f, 10 + 110, 10 + 40), ColorToRGB(clWindow) & 0xFFFFFF);

    l->Items()->Clear();
    l->calls.clear();
    l->Repaint();
    ASSERT_EQ(l->calls.size(), 1u) << "the empty focused list draws its focus row";
    EXPECT_EQ(l->calls[0].index, -1);
    EXPECT_EQ(l->calls[0].state, odFocused);
    EXPECT_EQ(l->calls[0].rect, Rect(2, 2, 119, 18));
}

TEST_F(ListBoxTest, OnDrawItemReplacesTheTextOnlyInOwnerDrawnStyles)
{
    TForm* f = NewForm(300, 200);
    auto* l = NewList(f, 2);
    std::vector<int> drawn;
    l->OnDrawItem = TDrawItemEvent::FromFunction(
        [&](TWinControl*, int i, TRect, TOwnerDrawState) { drawn.push_back(i); });
    l->Repaint();
    EXPECT_TRUE(drawn.empty()) << "a standard list draws its own text";
    l->SetStyle(lbOwnerDrawFixed);
    l->Repaint();
    EXPECT_EQ(drawn, (std::vector<int> { 0, 1 }));
}

TEST_F(ListBoxTest, KeyboardMovesSelectionAndScrollsIntoView)
{
    TForm* f = NewForm(300, 200);
    auto* l = NewList(f, 20);
    int clicks = 0;
    l->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++clicks; });
    l->SetFocus();
    Key(plat::vk::Down);
    EXPECT_EQ(l->ItemIndex(), 0) << "from no selection, Down takes the first item";
    Key(plat::vk::Down);
    EXPECT_EQ(l->ItemIndex(), 1);
    Key(plat::vk::Next);
    EXPECT_EQ(l->ItemIndex(), 5) << "a page of five rows moves four";
    EXPECT_EQ(l->TopIndex(), 1);
    Key(plat::vk::End);
    EXPECT_EQ(l->ItemIndex(), 19);
    EXPECT_EQ(l->TopIndex(), 15);
    Key(plat::vk::Down);
    EXPECT_EQ(l->ItemIndex(), 19) << "held at the last item";
    Key(plat::vk::Home);
    EXPECT_EQ(l->ItemIndex(), 0);
    EXPECT_EQ(l->TopIndex(), 0);
    EXPECT_EQ(clicks, 5) << "each change by the user clicks once; none at the end";

    l->Items()->Put(7, "Apple");
    l->Items()->Put(12, "avocado");
    ws.Char('a');
    Pump();
    EXPECT_EQ(l->ItemIndex(), 7);
    ws.Char('A');
    Pump();
    EXPECT_EQ(l->ItemIndex(), 12) << "the next match, without regard to case";
    ws.Char('a');
    Pump();
    EXPECT_EQ(l->ItemIndex(), 7) << "the search wraps around";
}

TEST_F(ListBoxTest, MouseSelectsScrollBarAndWheelScroll)
{
    TForm* f = NewForm(300, 200);
    auto* l = NewList(f, 20);
    int clicks = 0;
    l->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++clicks; });
    ws.Click(f->WindowHandle(), 10 + 40, 10 + 2 + 16 * 2 + 5);
    Pump();
    EXPECT_EQ(l->ItemIndex(), 2);
    EXPECT_TRUE(l->Focused()) << "a click gives the list the focus";
    EXPECT_EQ(clicks, 1);
    ws.Click(f->WindowHandle(), 10 + 40, 10 + 2 + 16 * 2 + 5);
    Pump();
    EXPECT_EQ(clicks, 1) << "clicking the selected item changes nothing";

    ws.MouseWheel(f->WindowHandle(), 50, 50, -120);
    Pump();
    EXPECT_EQ(l->TopIndex(), 3) << "one notch toward the user: three rows down";
    ws.MouseWheel(f->WindowHandle(), 50, 50, -120 * 10);
    Pump();
    EXPECT_EQ(l->TopIndex(), 15) << "held at the last full page";
    ws.MouseWheel(f->WindowHandle(), 50, 50, 120 * 2);
    Pump();
    EXPECT_EQ(l->TopIndex(), 9);
    ws.MouseWheel(f->WindowHandle(), 250, 150, 120);
    Pump();
    EXPECT_EQ(l->TopIndex(), 9) << "a wheel outside the list leaves it alone";

    TRect sb = l->ScrollBarRect();
    ws.Click(f->WindowHandle(), 10 + sb.Left + 5, 10 + sb.Bottom - 5);
    Pump();
    EXPECT_EQ(l->TopIndex(), 10) << "the down arrow scrolls one row";
    ws.Click(f->WindowHandle(), 10 + sb.Left + 5, 10 + sb.Top + 5);
    Pump();
    EXPECT_EQ(l->TopIndex(), 9);
    TRect t = l->ThumbRect();
    ws.Click(f->WindowHandle(), 10 + sb.Left + 5, 10 + t.Top - 2);
    Pump();
    EXPECT_EQ(l->TopIndex(), 4) << "the track above the thumb pages up";
    EXPECT_EQ(l->ItemIndex(), 2) << "scrolling leaves the selection";
}

TEST_F(ListBoxTest, MultipleSelectionWithControlAndShift)
{
    TForm* f = NewForm(300, 200);
    auto* l = NewList(f, 6);
    l->SetMultiSelect(true);
    auto row = [](int i) { return 10 + 2 + 16 * i + 8; };
    ws.Click(f->WindowHandle(), 40, row(1));
    ws.MouseDown(f->WindowHandle(), 40, row(3), plat::MouseButton::Left, 1, plat::mod::Shift);
    ws.MouseUp(f->WindowHandle(), 40, row(3), plat::MouseButton::Left, plat::mod::Shift);
    Pump();
    EXPECT_EQ(l->SelCount(), 3);
    EXPECT_TRUE(l->Selected(2));
    ws.MouseDown(f->WindowHandle(), 40, row(2), plat::MouseButton::Left, 1, plat::mod::Ctrl);
    ws.MouseUp(f->WindowHandle(), 40, row(2), plat::MouseButton::Left, plat::mod::Ctrl);
    Pump();
    EXPECT_FALSE(l->Selected(2)) << "Ctrl toggles one item";
    EXPECT_EQ(l->SelCount(), 2);
    ws.Click(f->WindowHandle(), 40, row(5));
    Pump();
    EXPECT_EQ(l->SelCount(), 1) << "a plain click selects only the item";
    EXPECT_THROW(l->Selected(6), EListError);

    l->Items()->Delete(5);
    EXPECT_EQ(l->SelCount(), 0);
    EXPECT_EQ(l->ItemIndex(), 4) << "the focus is held to the shorter list";
}

TEST_F(ListBoxTest, ItemsAndPropertiesSurviveTheFormDescription)
{
    TForm* f = NewForm(300, 200);
    f->SetName("Form1");
    auto* l = new TListBox(f);
    l->SetName("lst");
    l->SetParent(f);
    l->Items()->SetText("One\nTwo\nThree's\n");
    l->SetColumns(2);
    l->SetItemHeight(20);
    l->SetStyle(lbOwnerDrawFixed);
    std::string text = WriteComponentRes(f);
    EXPECT_NE(text.find("    Items.Strings = (\n      'One'\n      'Two'\n      'Three''s')\n"),
        std::string::npos)
        << text;
    f->SetName("Written");
    auto* g = new TForm(Application);
    ReadComponentRes(text, g);
    auto* back = dynamic_cast<TListBox*>(g->FindComponent("lst"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Items()->Text(), "One\nTwo\nThree's\n");
    EXPECT_EQ(back->Columns(), 2);
    EXPECT_EQ(back->ItemHeight(), 20);
    EXPECT_EQ(back->Style(), lbOwnerDrawFixed);
    std::string again = WriteComponentRes(g);
    EXPECT_EQ(again, text);
}
