// Forms and the application on the headless window system: window placement, closing,
// modal loops, timers on the manual clock, exception display, the executable's name,
// hand-over from threads and reading a form from its description.
#include "VisualTestSupport.h"

#include "framework/stdctrls/Bevel.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Image.h"
#include "framework/stdctrls/PaintBox.h"
#include "framework/core/Reader.h"
#include "framework/core/Thread.h"
#include "framework/controls/Timer.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

#include <atomic>
#include <thread>

namespace {

class FormTest : public HeadlessTest {
protected:
    void Run() { Application->ProcessMessages(); }
};

TEST_F(FormTest, SetBoundsMovesTheBackendWindowAndBorderlessHasNoFrame)
{
    TForm* f = NewForm(120, 80);
    EXPECT_TRUE(ws.IsBorderless(f->WindowHandle()));
    f->SetBounds(200, 150, 300, 200);
    EXPECT_EQ(ws.WindowBounds(f->WindowHandle()), (plat::Rect { 200, 150, 500, 350 }));
    EXPECT_EQ(f->ClientWidth(), 300);
    EXPECT_EQ(f->Framebuffer().Width(), 300);
    EXPECT_EQ(f->ClientToScreen(Point(5, 6)), Point(205, 156));
    // A move made by the window manager is recorded without moving the window again.
    plat::Event moved;
    moved.type = plat::Event::Type::Moved;
    moved.window = f->WindowHandle();
    moved.x = 10;
    moved.y = 20;
    ws.Post(moved);
    Run();
    EXPECT_EQ(f->Left(), 10);
    EXPECT_EQ(f->Top(), 20);
}

TEST_F(FormTest, CloseRunsOnCloseAndFollowsTheCloseAction)
{
    TForm* main = NewForm();
    Application->SetMainForm(main);
    TForm* other = NewForm();
    TCloseAction answer = caNone;
    int closes = 0;
    other->OnClose = TCloseEvent::FromFunction([&](TObject*, TCloseAction& a) {
        ++closes;
        a = answer;
    });
    other->Close();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(other->Visible());

    answer = caHide;
    ws.Close(other->WindowHandle());  // the window manager's close takes the same path
    Run();
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(ws.IsVisible(other->WindowHandle()));
    EXPECT_FALSE(Application->Terminated());

    answer = caFree;
    other->Show();
    other->Close();
    EXPECT_EQ(Application->Forms().size(), 2u);  // freed once the loop is idle
    Run();
    EXPECT_EQ(Application->Forms().size(), 1u);

    bool allow = false;
    main->OnCloseQuery = TCloseQueryEvent::FromFunction([&](TObject*, bool& can) { can = allow; });
    main->Close();
    EXPECT_FALSE(Application->Terminated());
    allow = true;
    ws.Quit();  // SIGINT / SIGTERM close the main form
    Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormTest, RunShowsTheMainFormAndReturnsWhenItCloses)
{
    TForm* main = nullptr;
    Application->CreateForm(main);
    EXPECT_EQ(Application->MainForm(), main);
    EXPECT_FALSE(main->Visible());
    int closes = 0;
    main->OnClose = TCloseEvent::FromFunction([&](TObject*, TCloseAction&) { ++closes; });
    ws.Close(main->WindowHandle());
    Application->Run();
    EXPECT_TRUE(ws.IsVisible(main->WindowHandle()));
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormTest, ShowModalRunsUntilAResultAndBlocksOtherForms)
{
    TForm* main = NewForm();
    Application->SetMainForm(main);
    int mainClicks = 0;
    main->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++mainClicks; });
    auto* dialog = new TForm(Application);
    ws.Click(main->WindowHandle(), 5, 5);
    ws.Close(dialog->WindowHandle());
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(mainClicks, 0);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_THROW(
        {
            main->Show();
            main->ShowModal();
        },
        EInvalidOperation);
    ws.Click(main->WindowHandle(), 5, 5);
    Run();
    EXPECT_EQ(mainClicks, 1);
}

class TTimerBox : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<uintptr_t> fired;

protected:
    void WMTimer(TMessage& m) override { fired.push_back(m.WParam); }
};

TEST_F(FormTest, WindowTimersFollowTheManualClock)
{
    TForm* f = NewForm();
    auto* box = new TTimerBox(f);
    box->SetParent(f);
    SetTimer(box, 1, 400);
    SetTimer(box, 2, 100);
    Run();
    EXPECT_TRUE(box->fired.empty());
    plat::AdvanceManualClock(399);
    Run();
    EXPECT_EQ(box->fired, (std::vector<uintptr_t> { 2 }));
    plat::AdvanceManualClock(1);
    Run();
    EXPECT_EQ(box->fired, (std::vector<uintptr_t> { 2, 1 }));
    box->fired.clear();
    KillTimer(box, 2);
    plat::AdvanceManualClock(2000);  // late: one tick, not five
    Run();
    EXPECT_EQ(box->fired, (std::vector<uintptr_t> { 1 }));
    delete box;
    EXPECT_EQ(Application->TimerCount(), 0);
    plat::AdvanceManualClock(1000);
    Run();
}

TEST_F(FormTest, TimerComponentTicksWhileEnabledAndStopsWhenFreed)
{
    auto* t = new TTimer(Application);
    int ticks = 0;
    t->SetInterval(300);
    t->SetOnTimer(TNotifyEvent::FromFunction([&](TObject*) { ++ticks; }));
    plat::AdvanceManualClock(299);
    Run();
    EXPECT_EQ(ticks, 0);
    plat::AdvanceManualClock(1);
    Run();
    EXPECT_EQ(ticks, 1);
    t->SetEnabled(false);
    plat::AdvanceManualClock(1000);
    Run();
    EXPECT_EQ(ticks, 1);
    t->SetEnabled(true);
    plat::AdvanceManualClock(300);
    Run();
    EXPECT_EQ(ticks, 2);
    delete t;
    EXPECT_EQ(Application->TimerCount(), 0);
    plat::AdvanceManualClock(300);
    Run();
    EXPECT_EQ(ticks, 2);
}

TEST_F(FormTest, ExeNameIsTheAbsolutePathOfTheProgram)
{
    std::string exe = Application->ExeName();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    EXPECT_NE(exe.find("framework_tests"), std::string::npos);
    EXPECT_EQ(Application->Title(), "framework_tests");
}

class TThrowingBox : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int clicks = 0;

protected:
    void Click() override
    {
        ++clicks;
        throw EConvertError("'x' is not a valid integer value");
    }
};

TEST_F(FormTest, AnExceptionInAnEventHandlerIsShownAndTheLoopGoesOn)
{
    TForm* f = NewForm();
    Application->SetMainForm(f);
    Application->SetTitle("Metronome");
    auto* box = new TThrowingBox(f);
    box->SetBounds(0, 0, 50, 50);
    box->SetParent(f);
    ws.Click(f->WindowHandle(), 10, 10);
    ws.Click(f->WindowHandle(), 10, 10);
    Run();
    EXPECT_EQ(box->clicks, 2);
    auto boxes = ws.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "'x' is not a valid integer value.");
    EXPECT_EQ(boxes[0].title, "Metronome");
    EXPECT_EQ(boxes[0].kind, plat::MessageBoxKind::Error);
    EXPECT_EQ(GetCaptureControl(), nullptr);  // the release still ended the capture

    std::string seen;
    Application->OnException = TExceptionEvent::FromFunction(
        [&](TObject*, const Exception& e) { seen = e.Message(); });
    ws.Click(f->WindowHandle(), 10, 10);
    Run();
    EXPECT_EQ(seen, "'x' is not a valid integer value");
    EXPECT_EQ(ws.MessageBoxes().size(), 2u);
}

TEST_F(FormTest, SynchronizeRunsOnTheLoopAndTheWorkerWaits)
{
    Application->Initialize();
    NewForm();
    std::atomic<bool> ran { false }, returned { false };
    std::thread::id where;
    std::thread worker([&] {
        TThread::Synchronize(nullptr, [&] {
            where = std::this_thread::get_id();
            ran = true;
        });
        returned = true;
    });
    for (int i = 0; i < 2000 && !returned; ++i) {
        Application->HandleMessage();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    EXPECT_TRUE(ran);
    EXPECT_EQ(where, std::this_thread::get_id());
}

// A form built from its description, with published fields and handlers.
class TDescribedForm : public TForm {
public:
    static const char* Description;
    explicit TDescribedForm(TComponent* owner)
        : TForm(owner)
    {
        InitInheritedComponent(Description);
    }
    TPanel* Panel1 = nullptr;
    TPanel* pnlInner = nullptr;
    TPaintBox* pbArea = nullptr;
    TBevel* Bevel1 = nullptr;
    int paints = 0, closes = 0, controlsAtDestroy = -1;
    void pbAreaPaint(TObject*)
    {
        ++paints;
        pbArea->Canvas()->Brush()->SetColor(clRed);
        pbArea->Canvas()->FillRect(Rect(0, 0, 4, 4));
    }
    void FormClose(TObject*, TCloseAction&) { ++closes; }
    void FormDestroy(TObject*) { controlsAtDestroy = ControlCount(); }
};

const char* TDescribedForm::Description = R"(object DescribedForm: TDescribedForm
  Left = 360
  Top = 113
  BorderStyle = bsNone
  ClientHeight = 100
  ClientWidth = 120
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  OnClose = FormClose
  OnDestroy = FormDestroy
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 120
    Height = 100
    Align = alClient
    BorderWidth = 10
    TabOrder = 0
    object Bevel1: TBevel
      Left = 14
      Top = 3
      Width = 34
      Height = 34
    end
    object pnlInner: TPanel
      Left = 11
      Top = 11
      Width = 98
      Height = 78
      Anchors = [akLeft, akTop, akRight, akBottom]
      BevelOuter = bvLowered
      Color = 13684944
      ParentColor = True
      TabOrder = 0
      object pbArea: TPaintBox
        Left = 1
        Top = 1
        Width = 96
        Height = 76
        Align = alClient
        OnPaint = pbAreaPaint
      end
    end
  end
end
)";

} // namespace

BEGIN_PROPERTIES(TDescribedForm, TForm)
    PUBLISHED_FIELD(Panel1)
    PUBLISHED_FIELD(pnlInner)
    PUBLISHED_FIELD(pbArea)
    PUBLISHED_FIELD(Bevel1)
    PUBLISHED_METHOD(pbAreaPaint)
    PUBLISHED_METHOD(FormClose)
    PUBLISHED_METHOD(FormDestroy)
END_PROPERTIES

namespace {

TEST_F(FormTest, AFormReadsItsDescriptionAndPaintsIt)
{
    // The headless system numbers windows in the order they are made: the form read as
    // borderless is the one window made after this probe, not remade for its border.
    const plat::WindowId probe = ws.CreateWindow({});
    TDescribedForm* f = nullptr;
    Application->CreateForm(f);
    EXPECT_EQ(f->WindowHandle(), probe + 1);
    EXPECT_TRUE(ws.IsBorderless(f->WindowHandle()));
    ws.DestroyWindow(probe);
    ASSERT_NE(f->pbArea, nullptr);
    EXPECT_EQ(f->BoundsRect(), Rect(360, 113, 480, 213));
    EXPECT_EQ(f->pnlInner->Color(), clBtnFace);  // ParentColor, read after Color
    EXPECT_TRUE(f->pnlInner->ParentColor());
    EXPECT_EQ(f->pbArea->BoundsRect(), Rect(1, 1, 97, 77));
    EXPECT_EQ(f->pbArea->Parent(), f->pnlInner);
    f->Show();
    Run();
    EXPECT_EQ(ws.WindowBounds(f->WindowHandle()), (plat::Rect { 360, 113, 480, 213 }));
    EXPECT_EQ(f->paints, 1);
    EXPECT_EQ(Pixel(f, 13, 13), clRed);            // the paint box's drawing
    EXPECT_EQ(Pixel(f, 11, 11), clGray);           // the lowered bevel's shadow
    EXPECT_EQ(Pixel(f, 108, 88), clWhite);         // and its highlight
    EXPECT_EQ(Pixel(f, 0, 0), clWhite);            // the outer panel's raised bevel
    EXPECT_EQ(Pixel(f, 119, 99), clGray);
    EXPECT_EQ(Pixel(f, 5, 50), clSilver);          // its border in the face colour

    // Anchored on all sides: the inner panel follows the outer one's size.
    f->Panel1->SetAlign(alNone);
    f->Panel1->SetBounds(0, 0, 140, 110);
    EXPECT_EQ(f->pnlInner->BoundsRect(), Rect(11, 11, 129, 99));

    // A shown window takes and loses its frame as it is and stays shown.
    const plat::WindowId window = f->WindowHandle();
    f->SetBorderStyle(bsSingle);
    EXPECT_EQ(f->WindowHandle(), window);
    EXPECT_FALSE(ws.IsBorderless(window));
    EXPECT_TRUE(ws.IsVisible(window));
    f->SetBorderStyle(bsNone);
    EXPECT_TRUE(ws.IsBorderless(window));

    f->Close();
    EXPECT_EQ(f->closes, 1);
    f->BeforeDestruction();
    EXPECT_EQ(f->controlsAtDestroy, 1);
    delete f;
}

// A panel starts with ParentColor off, so the writer must keep a ParentColor that is on.
TEST_F(FormTest, APanelFollowingItsParentsColourSurvivesAWriteAndRead)
{
    EXPECT_FALSE(TPanel(nullptr).ParentColor());
    TForm* f = NewForm();
    auto* panel = new TPanel(f);
    panel->SetName("pnlFollower");
    panel->SetParent(f);
    panel->SetParentColor(true);
    const std::string text = WriteComponentRes(f);
    EXPECT_NE(text.find("ParentColor = True"), std::string::npos);

    auto* g = new TForm(Application);
    ReadComponentRes(text, g);
    auto* copy = dynamic_cast<TPanel*>(g->FindComponent("pnlFollower"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->ParentColor());
    EXPECT_EQ(WriteComponentRes(g), text);
    delete g;
    delete f;
}

// Painting asks of every child whether it is windowed; the answer is the one a dynamic
// cast gives, also once a windowed child deleted on its own is down to its TControl part.
TEST_F(FormTest, AControlIsWindowedExactlyWhenItIsATWinControl)
{
    TForm* f = NewForm(120, 80);
    auto* panel = new TCustomPanel(f);
    panel->SetParent(f);
    panel->SetBounds(10, 10, 40, 30);
    auto* inner = new TPaintBox(f);
    inner->SetParent(panel);
    auto* box = new TPaintBox(f);
    box->SetParent(f);
    box->SetBounds(60, 10, 20, 20);
    for (TControl* c : std::initializer_list<TControl*> { f, panel, inner, box })
        EXPECT_EQ(c->AsWinControl(), dynamic_cast<TWinControl*>(c)) << c->ClassName();
    EXPECT_EQ(panel->AsWinControl(), panel);
    EXPECT_EQ(box->AsWinControl(), nullptr);
    f->Show();
    Run();
    const int before = f->ControlCount();
    delete panel; // its children go with it; the form takes it out as it goes
    EXPECT_EQ(f->ControlCount(), before - 1);
    EXPECT_EQ(f->ControlAtPos(Point(20, 20), true, true), nullptr);
    EXPECT_EQ(f->ControlAtPos(Point(65, 15), true, true), box);
    Run();
}

TEST_F(FormTest, OnDestroyRunsBeforeTheControlsGo)
{
    auto* f = new TDescribedForm(Application);
    TDescribedForm* seen = f;
    int count = -1;
    f->OnDestroy = TNotifyEvent::FromFunction([&](TObject*) { count = seen->ControlCount(); });
    Application->Reset();
    EXPECT_EQ(count, 1);
}

TEST_F(FormTest, APictureRoundTripsThroughADescription)
{
    auto* f = new TForm(Application);
    f->SetName("PicForm");
    auto* img = new TImage(f);
    img->SetName("img");
    img->SetParent(f);
    TBitmap* b = img->Picture()->Bitmap();
    b->SetSize(3, 2);
    b->Canvas()->SetPixel(0, 0, clRed);
    b->Canvas()->SetPixel(2, 1, clBlue);
    std::string text = WriteComponentRes(f);
    // The class name (7, "TBitmap"), the BMP's length, then the BMP file ("BM").
    EXPECT_NE(text.find("Picture.Data = {\n      07544269746D6170"), std::string::npos) << text;
    size_t at = text.find("07544269746D6170");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at + 24, 4), "424D");

    std::unique_ptr<TForm> g(new TForm(nullptr));
    ReadComponentRes(text, g.get());
    auto* copy = dynamic_cast<TImage*>(g->FindComponent("img"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Parent(), g.get());
    auto* read = dynamic_cast<TBitmap*>(copy->Picture()->Graphic());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Width(), 3);
    EXPECT_EQ(read->Image().GetColor(0, 0), clRed);
    EXPECT_EQ(read->Image().GetColor(2, 1), clBlue);
    EXPECT_EQ(read->Image().GetColor(1, 1), clBlack);
}

} // namespace
