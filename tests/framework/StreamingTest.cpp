#include "framework/core/FormText_p.h"
#include "framework/core/Reader.h"
#include "framework/core/Stream.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

// A sub-object written with dotted names.
class TStFont : public TPersistent {
public:
    int Height = 0;
    uint8_t Style = 0;
};

// A sub-object with one binary value of its own and no published properties.
class TStWave : public TPersistent {
public:
    TMemoryStream Data;
    void DefineProperties(TFiler* filer) override
    {
        filer->DefineBinaryProperty("Data",
            [this](TStream& s) { Data.Clear(); Data.CopyFrom(&s, s.Size()); },
            [this](TStream& s) { Data.SaveToStream(&s); }, true);
    }
};

class TStPlayer : public TComponent {
public:
    using TComponent::TComponent;
    bool Enabled = true;
    uint8_t Options = 1;
    TStWave Wave;
    void Loaded() override
    {
        TComponent::Loaded();
        gLog.push_back("Loaded " + Name());
    }
};

class TStPanel;

class TStControl : public TComponent {
public:
    using TComponent::TComponent;
    ~TStControl() override;
    int Left = 0;
    std::string Caption;
    uint32_t Color = 0x8000000F;
    TStFont Font;
    TStPlayer* Sound = nullptr;
    bool LeftSetWhileLoading = false;
    TStPanel* Parent = nullptr;

    void SetLeft(int v)
    {
        Left = v;
        LeftSetWhileLoading = HasState(csLoading) && HasState(csReading);
    }
    void SetSound(TStPlayer* p)
    {
        Sound = p;
        if (p)
            p->FreeNotification(this);
    }
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* p) override;
    void Loaded() override
    {
        TComponent::Loaded();
        gLog.push_back("Loaded " + Name());
    }

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == opRemove && c == Sound)
            Sound = nullptr;
    }
};

class TStPanel : public TStControl {
public:
    using TStControl::TStControl;
    ~TStPanel() override
    {
        for (TStControl* c : Children)
            c->Parent = nullptr;
    }
    std::vector<TStControl*> Children;
    int Extra = 0;

    void GetChildren(std::function<void(TComponent*)> proc, TComponent*) override
    {
        for (TStControl* c : Children)
            proc(c);
    }
    void DefineProperties(TFiler* filer) override
    {
        filer->DefineProperty("Extra", [this](TReader& r) { Extra = r.ReadInteger(); },
            [this](TWriter& w) { w.WriteInteger(Extra); }, Extra != 0);
    }
};

TStControl::~TStControl()
{
    if (Parent)
        std::erase(Parent->Children, this);
}

TComponent* TStControl::GetParentComponent() const { return Parent; }

void TStControl::SetParentComponent(TComponent* p)
{
    if (Parent)
        std::erase(Parent->Children, this);
    Parent = dynamic_cast<TStPanel*>(p);
    if (Parent)
        Parent->Children.push_back(this);
}

class TStPaintBox : public TStControl {
public:
    using TStControl::TStControl;
    TNotifyEvent OnPaint;
};

class TStForm : public TStPanel {
public:
    using TStPanel::TStPanel;
    double Value = 0, Ratio = 0;
    TNotifyEvent OnClick;
    TStPanel* pnlOuter = nullptr;
    TStPanel* pnlInner = nullptr;
    TStPaintBox* pbArea = nullptr;
    TStPlayer* wavePlay = nullptr;
    int clicks = 0, paints = 0;
    void FormClick(TObject*) { ++clicks; }
    void pbAreaPaint(TObject*) { ++paints; }

    bool HasParent() const override { return false; }
    void GetChildren(std::function<void(TComponent*)> proc, TComponent* root) override
    {
        TStPanel::GetChildren(proc, root);
        TComponent::GetChildren(proc, root);
    }
};

std::vector<std::string> StyleNames { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" };

} // namespace

BEGIN_PROPERTIES(TStFont, TPersistent)
    .Int("Height", &TStFont::Height, &TStFont::Height).Default(0)
    .Set("Style", &TStFont::Style, &TStFont::Style, StyleNames).Default(0)
END_PROPERTIES

BEGIN_PROPERTIES(TStWave, TPersistent)
END_PROPERTIES

BEGIN_PROPERTIES(TStPlayer, TComponent)
    .Bool("Enabled", &TStPlayer::Enabled, &TStPlayer::Enabled)
    .Set("Options", &TStPlayer::Options, &TStPlayer::Options,
        { "wpoSync", "wpoAsync", "wpoNoDefault", "wpoLoop", "wpoNoStop" }).Default(1)
    .Object("Wave", [](TStPlayer* p) { return &p->Wave; })
END_PROPERTIES

BEGIN_PROPERTIES(TStControl, TComponent)
    .Int("Left", &TStControl::Left, &TStControl::SetLeft).Default(0)
    .String("Caption", &TStControl::Caption, &TStControl::Caption)
    .Color("Color", &TStControl::Color, &TStControl::Color).Default(0x8000000F)
    .Object("Font", [](TStControl* c) { return &c->Font; })
    .Reference("Sound", &TStControl::Sound, &TStControl::SetSound)
END_PROPERTIES

BEGIN_PROPERTIES(TStPanel, TStControl)
END_PROPERTIES

BEGIN_PROPERTIES(TStPaintBox, TStControl)
    PUBLISHED_EVENT(OnPaint)
END_PROPERTIES

BEGIN_PROPERTIES(TStForm, TStPanel)
    .Float("Value", &TStForm::Value, &TStForm::Value)
    .Float("Ratio", &TStForm::Ratio, &TStForm::Ratio)
    PUBLISHED_EVENT(OnClick)
    PUBLISHED_FIELD(pnlOuter)
    PUBLISHED_FIELD(pnlInner)
    PUBLISHED_FIELD(pbArea)
    PUBLISHED_FIELD(wavePlay)
    PUBLISHED_METHOD(FormClick)
    PUBLISHED_METHOD(pbAreaPaint)
END_PROPERTIES

namespace {

// Colour names for these tests only; the previous hook is put back afterwards.
class StreamingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLog.clear();
        FOld = RegisterColorIdents(
            [](const std::string& id, int64_t& v) {
                if (SameText(id, "clBtnFace")) v = 0x8000000F;
                else if (SameText(id, "clBlack")) v = 0;
                else return false;
                return true;
            },
            [](int64_t v, std::string& id) {
                if (v == 0x8000000F) id = "clBtnFace";
                else if (v == 0) id = "clBlack";
                else return false;
                return true;
            });
    }
    void TearDown() override { RegisterColorIdents(FOld.first, FOld.second); }
    std::pair<TIdentToInt, TIntToIdent> FOld;
};

const char* kForm =
    "object frmTest: TStForm\n"
    "  Left = 360\n"
    "  Caption = 'Kelvo Music Metronome 1.0'\n"
    "  Color = clBlack\n"
    "  Value = 3.5\n"
    "  Ratio = 0.1\n"
    "  OnClick = FormClick\n"
    "  object pnlOuter: TStPanel\n"
    "    Left = -8\n"
    "    Color = 8421504\n"
    "    Font.Height = -11\n"
    "    Font.Style = [fsBold, fsStrikeOut]\n"
    "    object pnlInner: TStPanel\n"
    "      Caption = 'It''s'#13#10'caf\xC3\xA9'#255\n"
    "      Extra = 42\n"
    "      object pbArea: TStPaintBox\n"
    "        Left = 1\n"
    "        Sound = wavePlay\n"
    "        OnPaint = pbAreaPaint\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "  object wavePlay: TStPlayer\n"
    "    Enabled = False\n"
    "    Options = [wpoAsync, wpoLoop]\n"
    "    Wave.Data = {\n"
    "      52494646A8040000574156456666D20000000000000000000000000000000000\n"
    "      0102030405060708}\n"
    "  end\n"
    "end\n";

TEST_F(StreamingTest, ReadsIntoAnExistingRootAndWritesTheSameText)
{
    TStForm form(nullptr);
    ReadComponentRes(kForm, &form);

    EXPECT_EQ(form.Name(), "frmTest");
    EXPECT_EQ(form.Left, 360);
    EXPECT_EQ(form.Color, 0u);
    EXPECT_DOUBLE_EQ(form.Value, 3.5);
    ASSERT_NE(form.pnlOuter, nullptr);
    ASSERT_NE(form.pnlInner, nullptr);
    ASSERT_NE(form.pbArea, nullptr);
    ASSERT_NE(form.wavePlay, nullptr);
    EXPECT_EQ(form.pnlOuter->Left, -8);
    EXPECT_EQ(form.pnlOuter->Color, 0x808080u);
    EXPECT_EQ(form.pnlOuter->Font.Height, -11);
    EXPECT_EQ(form.pnlOuter->Font.Style, 0x09);
    EXPECT_EQ(form.pnlInner->Caption, "It's\r\ncaf\xC3\xA9\xFF");
    EXPECT_EQ(form.pnlInner->Extra, 42);
    EXPECT_EQ(form.pnlInner->Parent, form.pnlOuter);
    EXPECT_EQ(form.pbArea->Parent, form.pnlInner);
    EXPECT_EQ(form.pbArea->Owner(), &form);
    // The reference to wavePlay appears before wavePlay itself.
    EXPECT_EQ(form.pbArea->Sound, form.wavePlay);
    EXPECT_FALSE(form.wavePlay->Enabled);
    EXPECT_EQ(form.wavePlay->Options, 0x0A);
    EXPECT_EQ(form.wavePlay->Wave.Data.Size(), 40);

    form.OnClick(&form);
    form.pbArea->OnPaint(form.pbArea);
    EXPECT_EQ(form.clicks, 1);
    EXPECT_EQ(form.paints, 1);
    EXPECT_EQ(form.OnClick.Name(), "FormClick");

    EXPECT_EQ(WriteComponentRes(&form), kForm);
}

TEST_F(StreamingTest, LoadedRunsAfterEverythingInCreationOrderAndClearsTheStates)
{
    TStForm form(nullptr);
    ReadComponentRes(kForm, &form);
    std::vector<std::string> expected { "Loaded frmTest", "Loaded pnlOuter", "Loaded pnlInner",
        "Loaded pbArea", "Loaded wavePlay" };
    EXPECT_EQ(gLog, expected);
    EXPECT_TRUE(form.pbArea->LeftSetWhileLoading);
    for (int i = 0; i < form.ComponentCount(); ++i) {
        EXPECT_FALSE(form.Components(i)->HasState(csLoading));
        EXPECT_FALSE(form.Components(i)->HasState(csReading));
    }
    EXPECT_FALSE(form.HasState(csLoading));
}

TEST_F(StreamingTest, CreatesTheRootByClassName)
{
    std::unique_ptr<TComponent> root(CreateComponentRes(kForm, nullptr));
    auto* form = dynamic_cast<TStForm*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->ComponentCount(), 4);
    EXPECT_EQ(WriteComponentRes(form), kForm);
}

TEST_F(StreamingTest, ReferencesAreClearedWhenTheTargetGoes)
{
    TStForm form(nullptr);
    ReadComponentRes(kForm, &form);
    delete form.wavePlay;
    EXPECT_EQ(form.wavePlay, nullptr);   // the published field
    EXPECT_EQ(form.pbArea->Sound, nullptr);
}

TEST_F(StreamingTest, DefaultsAndEmptyValuesAreLeftOut)
{
    TStForm form(nullptr);
    form.SetName("frmEmpty");
    auto* p = new TStPlayer(&form);
    p->SetName("player");
    EXPECT_EQ(WriteComponentRes(&form),
        "object frmEmpty: TStForm\n"
        "  object player: TStPlayer\n"
        "    Enabled = True\n"
        "    Wave.Data = {}\n"
        "  end\n"
        "end\n");
}

TEST_F(StreamingTest, BinaryImagesAndFloatsRoundTripExactly)
{
    TStForm form(nullptr);
    form.SetName("f");
    form.Value = 0.1 + 0.2;
    form.Ratio = -1.0e-300;
    auto* p = new TStPlayer(&form);
    p->SetName("wave");
    std::vector<uint8_t> bytes(1192);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t((i * 131 + 7) ^ (i >> 3));
    p->Wave.Data.WriteBuffer(bytes.data(), int64_t(bytes.size()));

    std::string text = WriteComponentRes(&form);
    // 32 bytes per line: 1192 bytes take 38 lines of hex.
    size_t hexLines = 0;
    for (size_t at = text.find("Wave.Data = {\n"); at != std::string::npos && at < text.size();) {
        size_t nl = text.find('\n', at);
        if (nl == std::string::npos)
            break;
        std::string l = text.substr(at, nl - at);
        if (l.find_first_not_of(" 0123456789ABCDEF}") == std::string::npos) {
            ++hexLines;
            std::string digits = l.substr(l.find_first_not_of(' '));
            if (digits.back() == '}')
                digits.pop_back();
            EXPECT_LE(digits.size(), 64u);
        }
        at = nl + 1;
    }
    EXPECT_EQ(hexLines, 38u);

    TStForm copy(nullptr);
    ReadComponentRes(text, &copy);
    ASSERT_EQ(copy.ComponentCount(), 1);
    auto* q = dynamic_cast<TStPlayer*>(copy.Components(0));
    ASSERT_NE(q, nullptr);
    ASSERT_EQ(q->Wave.Data.Size(), 1192);
    EXPECT_EQ(std::memcmp(q->Wave.Data.Memory(), bytes.data(), bytes.size()), 0);
    EXPECT_EQ(copy.Value, 0.1 + 0.2);
    EXPECT_EQ(copy.Ratio, -1.0e-300);
    EXPECT_EQ(WriteComponentRes(&copy), text);
}

TEST_F(StreamingTest, StringsOfAnyBytesRoundTrip)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    all += "\xE2\x82\xAC and '' quotes";
    TStForm form(nullptr);
    form.SetName("f");
    form.Caption = all;
    std::string text = WriteComponentRes(&form);
    EXPECT_NE(text.find("#0#1#2"), std::string::npos);
    EXPECT_NE(text.find("\xE2\x82\xAC"), std::string::npos);   // UTF-8 text stays as is
    TStForm copy(nullptr);
    ReadComponentRes(text, &copy);
    EXPECT_EQ(copy.Caption, all);
}

TEST_F(StreamingTest, ReaderAcceptsContinuedStringsHexNumbersAndCodePoints)
{
    TStForm form(nullptr);
    ReadComponentRes("object f: TStForm\n"
                     "  Left = $10\n"
                     "  Caption = 'ab' +\n"
                     "    'cd'#8364\n"
                     "  Value = 2\n"
                     "end\n",
        &form);
    EXPECT_EQ(form.Left, 16);
    EXPECT_EQ(form.Caption, "abcd\xE2\x82\xAC");
    EXPECT_EQ(form.Value, 2.0);
}

struct BadCase {
    const char* text;
    const char* message;
};

TEST_F(StreamingTest, FaultsRaiseReadErrorsWithTheirLine)
{
    const BadCase cases[] = {
        { "object f: TStForm\n  Left = 1\n  Foo = 2\nend\n", "Line 3: Property Foo does not exist" },
        { "object f: TStForm\n\n  object x: TNoSuchClass\n  end\nend\n", "Line 3: Class TNoSuchClass not found" },
        { "object f: TStForm\n  OnClick = NoHandler\nend\n", "Line 2: Method NoHandler does not exist" },
        { "object f: TStForm\n  Left = 'x'\nend\n", "Line 2: Invalid property value" },
        { "object f: TStForm\n  Left = 99999999999\nend\n", "Line 2: Value 99999999999 out of range for property Left" },
        { "object f: TStForm\n  Font.Style = [fsBold, fsHuge]\nend\n", "Line 2: Invalid property value" },
        { "object f: TStForm\n  Color = clNoSuch\nend\n", "Line 2: Invalid property value" },
        { "object f: TStForm\n  Font.Nope = 1\nend\n", "Line 2: Property Font.Nope does not exist" },
        { "object f: TStForm\n  object a: TStPanel\n    Sound = ghost\n  end\nend\n", "Line 3: Component ghost does not exist" },
        { "object f: TStForm\n  object a: TStPanel\n  end\n  object A: TStPanel\n  end\nend\n",
            "Line 4: A component named A already exists" },
        { "object f: TStForm\n  object a: TStPanel\n    Sound = pnlOuter\n  end\n  object pnlOuter: TStPanel\n  end\nend\n",
            "Line 3: pnlOuter cannot be assigned to property Sound" },
        { "object f: TStForm\n  Caption = 'open\nend\n", "Line 2: Unterminated string" },
        { "object f: TStForm\n  Left = 1\n", "Line 3: 'end' expected" },
        { "object f: TStForm\n  Wave.Data = {ABC}\nend\n", "Line 2: Odd number of hex digits in a binary value" },
    };
    for (const BadCase& c : cases) {
        TStForm form(nullptr);
        try {
            ReadComponentRes(c.text, &form);
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.text;
        }
        for (int i = 0; i < form.ComponentCount(); ++i)
            EXPECT_FALSE(form.Components(i)->HasState(csReading));
    }
}

// Binary blocks are hex pairs in lines of any length; blanks and line breaks may stand
// anywhere between digits, even inside a pair, and the lines after a block keep their
// numbers in errors.
TEST(FormTextTest, BinaryBlocksReadWhateverTheirLayout)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes, text = "object f: TStForm\n  Data = {";
        const int size = round == 0 ? 0 : int(random() % 400);
        int breaks = 0;
        for (int i = 0; i < size; ++i) {
            bytes += char(random());
            const char* digits = random() % 2 ? "0123456789abcdef" : "0123456789ABCDEF";
            for (int shift : { 4, 0 }) {
                text += digits[(static_cast<unsigned char>(bytes.back()) >> shift) & 15];
                switch (random() % 16) {
                case 0: text += ' '; break;
                case 1: text += "\r\n    "; ++breaks; break;
                case 2: text += '\t'; break;
                default: break;
                }
            }
        }
        text += "}\n  Foo = 'open\nend\n";
        const std::string expected = "Line " + std::to_string(3 + breaks) + ": ";
        try {
            ParseFormText(text);
            ADD_FAILURE() << "the unterminated string after the block was not seen";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().substr(0, expected.size()), expected) << e.Message();
        }
        const TFormObject parsed = ParseFormText(text.substr(0, text.find("  Foo")) + "end\n");
        ASSERT_EQ(parsed.properties.size(), 1u);
        EXPECT_EQ(parsed.properties[0].value.kind, TFormValue::vaBinary);
        EXPECT_EQ(parsed.properties[0].value.text, bytes) << "round " << round;
    }
    const std::pair<const char*, const char*> faults[] = {
        { "object f: TStForm\n  Data = {0a1\n  g}\nend\n", "Line 3: Invalid binary value" },
        { "object f: TStForm\n  Data = {0a1 2 3}\nend\n", "Line 2: Odd number of hex digits in a binary value" },
        { "object f: TStForm\n  Data = {0a12\n", "Line 3: '}' expected" },
        { "object f: TStForm\n  Data = {0a12-0}\nend\n", "Line 2: Invalid binary value" },
    };
    for (const auto& [text, message] : faults) {
        try {
            ParseFormText(text);
            ADD_FAILURE() << "no error for: " << text;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), message) << text;
        }
    }
}

TEST_F(StreamingTest, AFieldOfTheWrongClassIsAReadError)
{
    TStForm form(nullptr);
    EXPECT_THROW(ReadComponentRes("object f: TStForm\n  object pbArea: TStPanel\n  end\nend\n", &form),
        EReadError);
    EXPECT_EQ(form.pbArea, nullptr);
}

// ---- Streams ------------------------------------------------------------------------

TEST(MemoryStreamTest, ReadWriteSeekAndSize)
{
    TMemoryStream m;
    m.WriteBuffer("abcdef", 6);
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(m.Position(), 6);
    m.SetPosition(2);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 4);   // short read at the end
    EXPECT_STREQ(buf, "cdef");
    EXPECT_EQ(m.Read(buf, 1), 0);
    m.SetPosition(1);
    EXPECT_THROW(m.ReadBuffer(buf, 6), EReadError);
    // Writing beyond the end fills the gap with zeros.
    m.Seek(2, soEnd);
    m.WriteBuffer("Z", 1);
    ASSERT_EQ(m.Size(), 9);
    const auto* p = static_cast<const char*>(m.Memory());
    EXPECT_EQ(p[6], 0);
    EXPECT_EQ(p[7], 0);
    EXPECT_EQ(p[8], 'Z');
    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3);
    EXPECT_THROW(m.Seek(-4, soCurrent), EStreamError);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

TEST(MemoryStreamTest, CopyFromWholeOrPart)
{
    TMemoryStream a, b, c;
    a.WriteBuffer("0123456789", 10);
    EXPECT_EQ(b.CopyFrom(&a, 0), 10);   // 0: everything, from the start
    EXPECT_EQ(std::string(static_cast<const char*>(b.Memory()), 10), "0123456789");
    a.SetPosition(4);
    EXPECT_EQ(c.CopyFrom(&a, 3), 3);
    EXPECT_EQ(std::string(static_cast<const char*>(c.Memory()), 3), "456");
    a.SetPosition(8);
    EXPECT_THROW(c.CopyFrom(&a, 5), EReadError);
}

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = std::filesystem::temp_directory_path()
            / ("fs-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(FDir);
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }
    std::string Path(const char* n) const { return (FDir / n).string(); }
    std::filesystem::path FDir;
};

TEST_F(FileStreamTest, ModesAndErrorsNameTheFile)
{
    std::string name = Path("data.bin");
    try {
        TFileStream f(name, fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(name), std::string::npos);
    }
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("hello world", 11);
        f.SetPosition(0);
        char b[5];
        f.ReadBuffer(b, 5);
        EXPECT_EQ(std::string(b, 5), "hello");
    }
    {
        TFileStream f(name, fmOpenRead);
        EXPECT_EQ(f.Size(), 11);
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);   // read-only
    }
    {
        TFileStream f(name, fmOpenWrite);   // no truncation
        f.Seek(6, soBeginning);
        f.WriteBuffer("W", 1);
        f.SetSize(8);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(std::string(static_cast<const char*>(m.Memory()), size_t(m.Size())), "hello Wo");
    m.SaveToFile(Path("copy.bin"));
    EXPECT_EQ(std::filesystem::file_size(Path("copy.bin")), 8u);
    try {
        TFileStream f(Path("no/such/dir/x"), fmCreate);
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find("no/such/dir/x"), std::string::npos);
    }
}

} // namespace
