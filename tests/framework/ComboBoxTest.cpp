#include "framework/core/Reader.h"
#include "framework/core/Stream.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/stdctrls/ComboBox.h"
#include "framework/stdctrls/ImageList.h"
#include "support/HeadlessFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TRecCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    std::vector<TDrawItemStruct> calls;

protected:
    void CNDrawItem(TMessage& m) override
    {
        calls.push_back(*reinterpret_cast<TDrawItemStruct*>(m.LParam));
        TComboBox::CNDrawItem(m);
    }
};

class ComboBoxTest : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        f = NewForm(300, 250);
        other = new TListBox(f);
        other->SetParent(f);
        other->SetBounds(200, 200, 80, 40);
        cb = new TRecCombo(f);
        cb->SetParent(f);
        cb->SetBounds(20, 20, 120, 999);
        for (const char* s : { "Red", "Green", "Blue", "Cyan", "Magenta" })
            cb->Items()->Add(s);
        cb->OnChange = TNotifyEvent::FromFunction([this](TObject*) { ++changes; });
        Pump();
    }
    void Key(int k, uint32_t mods = 0)
    {
        ws.KeyDown(k, mods);
        ws.KeyUp(k, mods);
        Pump();
    }
    void ClickAt(int x, int y)
    {
        ws.Click(f->WindowHandle(), x, y);
        Pump();
    }
    TForm* f = nullptr;
    TListBox* other = nullptr;
    TRecCombo* cb = nullptr;
    int changes = 0;
};

} // namespace

TEST_F(ComboBoxTest, HeightFollowsTheItemHeight)
{
    EXPECT_EQ(cb->Height(), 22) << "16-pixel items: 6 pixels of frame";
    cb->SetItemHeight(20);
    EXPECT_EQ(cb->Height(), 26);
    cb->SetHeight(100);
    EXPECT_EQ(cb->Height(), 26);
    EXPECT_EQ(cb->ButtonRect(), Rect(101, 2, 118, 24));
    EXPECT_EQ(cb->ItemRect(), Rect(3, 3, 100, 23));
}

TEST_F(ComboBoxTest, MouseDropsTheListAndChoosesAnItem)
{
    ClickAt(60, 30);
    TCustomListBox* list = cb->DropList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(cb->Focused());
    EXPECT_EQ(list->BoundsRect(), Rect(20, 42, 140, 42 + 5 * 16 + 2)) << "below the face";
    EXPECT_EQ(f->PopupControl(), list);
    // The list's items are drawn by the combo box.
    cb->calls.clear();
    list->Repaint();
    ASSERT_EQ(cb->calls.size(), 5u);
    EXPECT_EQ(cb->calls[2].itemID, 2);

    ws.MouseMove(f->WindowHandle(), 60, 42 + 2 * 16 + 8);
    Pump();
    EXPECT_EQ(list->ItemIndex(), 2) << "the highlight follows the pointer";
    ClickAt(60, 42 + 2 * 16 + 8);
    EXPECT_EQ(cb->DropList(), nullptr);
    EXPECT_EQ(cb->ItemIndex(), 2);
    EXPECT_EQ(cb->ItemText(), "Blue");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f->PopupControl(), nullptr);
}

TEST_F(ComboBoxTest, EscapeClickOutsideAndFocusLossCloseWithoutChoosing)
{
    cb->SetItemIndex(1);
    ClickAt(60, 30);
    ASSERT_NE(cb->DropList(), nullptr);
    Key(plat::vk::Down);
    EXPECT_EQ(cb->DropList()->ItemIndex(), 2);
    Key(plat::vk::Escape);
    EXPECT_EQ(cb->DropList(), nullptr);
    EXPECT_EQ(cb->ItemIndex(), 1);

    int otherClicks = 0;
    other->Items()->Add("x");
    other->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++otherClicks; });
    ClickAt(60, 30);
    ASSERT_NE(cb->DropList(), nullptr);
    ClickAt(210, 210);
    EXPECT_EQ(cb->DropList(), nullptr);
    EXPECT_EQ(otherClicks, 0) << "the press that closes the list goes no further";
    EXPECT_TRUE(cb->Focused());

    ClickAt(60, 30);
    ASSERT_NE(cb->DropList(), nullptr);
    ClickAt(60, 30);
    EXPECT_EQ(cb->DropList(), nullptr) << "a press on the face closes the list again";

    ClickAt(60, 30);
    ws.Focus(0);
    Pump();
    EXPECT_EQ(cb->DropList(), nullptr) << "the window losing the focus closes it";
    EXPECT_EQ(changes, 0);

    ws.Focus(f->WindowHandle());
    ClickAt(60, 30);
    Key(plat::vk::End);
    Key(plat::vk::Return);
    EXPECT_EQ(cb->ItemIndex(), 4) << "Enter chooses the highlighted item";
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboBoxTest, KeysChooseWhileClosed)
{
    cb->SetFocus();
    Key(plat::vk::Down);
    EXPECT_EQ(cb->ItemIndex(), 0);
    Key(plat::vk::Down);
    Key(plat::vk::Down);
    EXPECT_EQ(cb->ItemIndex(), 2);
    Key(plat::vk::Up);
    EXPECT_EQ(cb->ItemIndex(), 1);
    Key(plat::vk::End);
    Key(plat::vk::Down);
    EXPECT_EQ(cb->ItemIndex(), 4);
    ws.Char('g');
    Pump();
    EXPECT_EQ(cb->ItemIndex(), 1);
    EXPECT_EQ(changes, 6) << "every move fires OnChange, the held one at the end does not";
    EXPECT_EQ(cb->DropList(), nullptr);
    Key(plat::vk::Down, plat::mod::Alt);
    EXPECT_NE(cb->DropList(), nullptr) << "Alt+Down drops the list";
}

TEST_F(ComboBoxTest, FaceIsDrawnThroughTheOwnerDrawNotification)
{
    cb->calls.clear();
    cb->Repaint();
    ASSERT_EQ(cb->calls.size(), 1u);
    EXPECT_EQ(cb->calls[0].itemID, -1);
    EXPECT_EQ(cb->calls[0].rcItem, Rect(3, 3, 100, 19));
    cb->SetItemIndex(3);
    cb->SetFocus();
    Pump();
    cb->calls.clear();
    cb->Repaint();
    ASSERT_EQ(cb->calls.size(), 1u);
    EXPECT_EQ(cb->calls[0].itemID, 3);
    EXPECT_EQ(cb->calls[0].itemState, odSelected | odFocused);
    EXPECT_EQ(Pixel(f, 20 + 90, 20 + 10), ColorToRGB(clHighlight) & 0xFFFFFF);

    std::vector<int> drawn;
    cb->OnDrawItem = TDrawItemEvent::FromFunction(
        [&](TWinControl*, int i, TRect, TOwnerDrawState) { drawn.push_back(i); });
    cb->Repaint();
    EXPECT_TRUE(drawn.empty()) << "a plain drop-down draws its own text";
    cb->SetStyle(csOwnerDrawFixed);
    cb->Repaint();
    EXPECT_EQ(drawn, std::vector<int> { 3 });
}

TEST_F(ComboBoxTest, ListDropsAboveWhenThereIsNoRoomBelow)
{
    cb->SetTop(200);
    ClickAt(60, 210);
    ASSERT_NE(cb->DropList(), nullptr);
    EXPECT_EQ(cb->DropList()->BoundsRect(), Rect(20, 200 - 82, 140, 200));
    cb->Items()->Clear();
    EXPECT_EQ(cb->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, ItemsAndChoiceSurviveTheFormDescription)
{
    f->SetName("Form1");
    cb->SetName("cbColour");
    other->SetName("lst");
    cb->SetItemIndex(2);
    cb->SetStyle(csOwnerDrawFixed);
    std::string text = WriteComponentRes(f);
    f->SetName("Written");
    auto* g = new TForm(Application);
    ReadComponentRes(text, g);
    auto* back = dynamic_cast<TComboBox*>(g->FindComponent("cbColour"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Items()->Count(), 5);
    EXPECT_EQ(back->ItemIndex(), 2) << "the choice is read after the items";
    EXPECT_EQ(back->Style(), csOwnerDrawFixed);
    EXPECT_EQ(WriteComponentRes(g), text);
}

namespace {

// A strip of two 3 x 2 pictures: left one red with a magenta (mask) pixel at (1, 0),
// right one black with white at (0, 1); the bottom-left pixel decides the default mask.
TBitmap* Strip()
{
    auto* b = new TBitmap;
    b->SetSize(7, 2);
    plat::Surface* s = b->Handle();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 7; ++x)
            s->SetColor(x, y, x < 3 ? 0x0000FF : 0x000000);
    s->SetColor(1, 0, 0xFF00FF);
    s->SetColor(3, 1, 0xFFFFFF);
    return b;
}

} // namespace

TEST_F(HeadlessTest, ImageListSplitsAStripAndDrawsThroughTheMask)
{
    TImageList il(nullptr);
    il.SetWidth(3);
    il.SetHeight(2);
    std::unique_ptr<TBitmap> strip(Strip());
    EXPECT_EQ(il.AddMasked(strip.get(), 0xFF00FF), 0);
    EXPECT_EQ(il.Count(), 2) << "the seventh column is no whole picture";
    EXPECT_FALSE(il.Drawn(0, 1, 0));
    EXPECT_TRUE(il.Drawn(0, 0, 0));
    EXPECT_EQ(il.PixelOf(1, 0, 1), TColor(0xFFFFFF));

    TBitmap dest;
    dest.SetSize(10, 10);
    dest.Canvas()->Brush()->SetColor(clLime);
    dest.Canvas()->FillRect(Rect(0, 0, 10, 10));
    il.Draw(dest.Canvas(), 2, 3, 0);
    EXPECT_EQ(dest.Canvas()->Pixels(2, 3), TColor(0x0000FF));
    EXPECT_EQ(dest.Canvas()->Pixels(3, 3), TColor(clLime)) << "the masked pixel";
    EXPECT_EQ(dest.Canvas()->Pixels(5, 3), TColor(clLime)) << "right of the picture";
    il.Draw(dest.Canvas(), 0, 0, 7);   // no such picture: nothing
    EXPECT_EQ(dest.Canvas()->Pixels(0, 0), TColor(clLime));

    // Disabled: dark pixels embossed, light ones left out.
    dest.Canvas()->FillRect(Rect(0, 0, 10, 10));
    il.Draw(dest.Canvas(), 5, 5, 1, false);
    EXPECT_EQ(dest.Canvas()->Pixels(5, 6), TColor(clLime)) << "the white pixel is left out";
    EXPECT_EQ(dest.Canvas()->Pixels(5, 5), ColorToRGB(clBtnShadow) & 0xFFFFFF);
    EXPECT_EQ(dest.Canvas()->Pixels(8, 7), ColorToRGB(clBtnHighlight) & 0xFFFFFF)
        << "the highlight one pixel down and right";

    EXPECT_EQ(il.AddMasked(strip.get(), clDefault), 2) << "default mask: bottom-left (red)";
    EXPECT_FALSE(il.Drawn(2, 0, 0));
    EXPECT_TRUE(il.Drawn(2, 1, 0));
    il.Delete(0);
    EXPECT_EQ(il.Count(), 3);
    EXPECT_EQ(il.PixelOf(0, 0, 1), TColor(0xFFFFFF));
    EXPECT_THROW(il.Delete(5), EListError);
    il.SetWidth(8);
    EXPECT_EQ(il.Count(), 0) << "a new size clears the list";
}

TEST_F(HeadlessTest, ImageListRoundTripsAndRefusesDamagedData)
{
    auto* f = NewForm(50, 50);
    f->SetName("Form1");
    auto* il = new TImageList(f);
    il->SetName("images");
    il->SetWidth(3);
    il->SetHeight(2);
    std::unique_ptr<TBitmap> strip(Strip());
    il->AddMasked(strip.get(), 0xFF00FF);
    std::string text = WriteComponentRes(f);
    f->SetName("Written");
    auto* g = new TForm(Application);
    ReadComponentRes(text, g);
    auto* back = dynamic_cast<TImageList*>(g->FindComponent("images"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Count(), 2);
    EXPECT_EQ(back->Width(), 3);
    EXPECT_FALSE(back->Drawn(0, 1, 0));
    EXPECT_EQ(back->PixelOf(1, 0, 1), TColor(0xFFFFFF));
    EXPECT_EQ(WriteComponentRes(g), text);

    // A count that does not match the bytes that follow is refused whole.
    std::string bad = "object F: TForm\n  object x: TImageList\n    Bitmap = {\n"
                      "      020000000300000002000000FF}\n  end\nend\n";
    auto* h = new TForm(Application);
    EXPECT_THROW(ReadComponentRes(bad, h), EReadError);
    EXPECT_EQ(h->FindComponent("x"), nullptr);
}
