#include "framework/core/Reader.h"
#include "framework/core/Strings.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A component holding two string lists, as a list box holds its items.
class TSlHolder : public TComponent {
public:
    using TComponent::TComponent;
    TStringList* Lines() { return &FLines; }
    TStringList* Extra() { return &FExtra; }

private:
    TStringList FLines, FExtra;
};

BEGIN_PROPERTIES(TSlHolder, TComponent)
    .Object("Lines", &TSlHolder::Lines)
    .Object("Extra", &TSlHolder::Extra)
END_PROPERTIES

struct ChangeLog {
    int changing = 0, changed = 0;
    void Hook(TStringList& l)
    {
        l.OnChanging = TNotifyEvent::FromFunction([this](TObject*) { ++changing; });
        l.OnChange = TNotifyEvent::FromFunction([this](TObject*) { ++changed; });
    }
};

} // namespace

TEST(StringList, AddInsertDeleteKeepOrderAndObjects)
{
    TStringList l;
    TObject a, b;
    EXPECT_EQ(l.Add("one"), 0);
    EXPECT_EQ(l.AddObject("three", &b), 1);
    l.InsertObject(1, "two", &a);
    ASSERT_EQ(l.Count(), 3);
    EXPECT_EQ(l[0], "one");
    EXPECT_EQ(l[1], "two");
    EXPECT_EQ(l[2], "three");
    EXPECT_EQ(l.Objects(1), &a);
    EXPECT_EQ(l.Objects(2), &b);
    EXPECT_EQ(l.Objects(0), nullptr);
    l.Delete(0);
    EXPECT_EQ(l[0], "two");
    EXPECT_EQ(l.Objects(0), &a);
    l.Put(1, "drei");
    EXPECT_EQ(l[1], "drei");
    EXPECT_EQ(l.Objects(1), &b) << "replacing the string keeps the object";
    l.Exchange(0, 1);
    EXPECT_EQ(l[0], "drei");
    EXPECT_EQ(l.Objects(0), &b);
    l.Move(0, 1);
    EXPECT_EQ(l[1], "drei");
    EXPECT_EQ(l.IndexOfObject(&b), 1);
}

TEST(StringList, IndexOfIgnoresCaseAndReportsMissing)
{
    TStringList l;
    l.Add("Alpha");
    l.Add("beta");
    l.Add("ALPHA");
    EXPECT_EQ(l.IndexOf("alpha"), 0);
    EXPECT_EQ(l.IndexOf("BETA"), 1);
    EXPECT_EQ(l.IndexOf("gamma"), -1);
    EXPECT_EQ(l.IndexOf(""), -1);
}

TEST(StringList, IndexesOutsideTheListRaise)
{
    TStringList l;
    l.Add("x");
    EXPECT_THROW(l.Get(1), EListError);
    EXPECT_THROW(l.Get(-1), EListError);
    EXPECT_THROW(l.Delete(1), EListError);
    EXPECT_THROW(l.Put(5, "y"), EListError);
    EXPECT_THROW(l.Insert(3, "y"), EListError);
    EXPECT_THROW(l.Move(0, 4), EListError);
    EXPECT_EQ(l.Count(), 1) << "a refused move loses nothing";
    l.Insert(1, "end");   // inserting at Count appends
    EXPECT_EQ(l[1], "end");
}

TEST(StringList, TextSplitsEveryLineBreakAndJoinsWithNewlines)
{
    TStringList l;
    l.SetText("a\r\nb\nc\rd");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[3], "d");
    EXPECT_EQ(l.Text(), "a\nb\nc\nd\n");
    l.SetText("x\n\ny\n");
    ASSERT_EQ(l.Count(), 3) << "an empty line stays, the final break adds none";
    EXPECT_EQ(l[1], "");
    l.SetText("");
    EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, ChangeEventsFireOncePerChangeAndOncePerUpdate)
{
    TStringList l;
    ChangeLog log;
    log.Hook(l);
    l.Add("a");
    l.Add("b");
    EXPECT_EQ(log.changing, 2);
    EXPECT_EQ(log.changed, 2);

    l.BeginUpdate();
    l.BeginUpdate();
    l.Add("c");
    l.Delete(0);
    l.Put(0, "B");
    l.EndUpdate();
    EXPECT_EQ(log.changed, 2) << "nothing told before the outer EndUpdate";
    l.EndUpdate();
    EXPECT_EQ(log.changing, 3);
    EXPECT_EQ(log.changed, 3);

    l.BeginUpdate();
    l.EndUpdate();
    EXPECT_EQ(log.changed, 3) << "an update without changes tells nothing";

    l.SetText("p\nq");
    EXPECT_EQ(log.changed, 4) << "SetText is one change";
    l.EndUpdate();   // unbalanced: ignored
    EXPECT_EQ(l.UpdateCount(), 0);
    l.Clear();
    l.Clear();
    EXPECT_EQ(log.changed, 5) << "clearing an empty list changes nothing";
}

TEST(StringList, AssignCopiesStringsAndObjects)
{
    TStringList a, b;
    TObject o;
    a.AddObject("x", &o);
    a.Add("y");
    b.Add("old");
    b.Assign(&a);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_EQ(b[0], "x");
    EXPECT_EQ(b.Objects(0), &o);
    b.Assign(&b);
    EXPECT_EQ(b.Count(), 2) << "assigning a list to itself keeps it";
}

TEST(StringListStreaming, WritesTheListFormAndReadsItBack)
{
    TSlHolder h(nullptr);
    h.SetName("Holder");
    h.Lines()->Add("First");
    h.Lines()->Add("It's");
    h.Lines()->Add("");
    h.Lines()->Add("tab\there");
    std::string text = WriteComponentRes(&h);
    EXPECT_EQ(text,
        "object Holder: TSlHolder\n"
        "  Lines.Strings = (\n"
        "    'First'\n"
        "    'It''s'\n"
        "    ''\n"
        "    'tab'#9'here')\n"
        "end\n")
        << "an empty list is not written";

    TSlHolder back(nullptr);
    back.Extra()->Add("goes");
    ReadComponentRes(text, &back);
    ASSERT_EQ(back.Lines()->Count(), 4);
    EXPECT_EQ(back.Lines()->Text(), h.Lines()->Text());
    EXPECT_EQ(back.Extra()->Count(), 1) << "a list not in the description is left alone";
    back.Extra()->Clear();
    EXPECT_EQ(WriteComponentRes(&back), text);
}

TEST(StringListStreaming, ReadsCompactListsAndRefusesBadOnes)
{
    TSlHolder h(nullptr);
    ReadComponentRes("object H: TSlHolder\n  Lines.Strings = ('a' 'b'\n  'c')\nend\n", &h);
    EXPECT_EQ(h.Lines()->Text(), "a\nb\nc\n");

    TSlHolder e(nullptr);
    ReadComponentRes("object H: TSlHolder\n  Lines.Strings = ()\nend\n", &e);
    EXPECT_EQ(e.Lines()->Count(), 0);

    auto fails = [](const std::string& body, const char* what) {
        TSlHolder x(nullptr);
        try {
            ReadComponentRes("object H: TSlHolder\n" + body + "end\n", &x);
        } catch (const EReadError& err) {
            EXPECT_EQ(std::string(err.Message()).rfind("Line ", 0), 0u) << what;
            return;
        }
        ADD_FAILURE() << what << ": no error";
    };
    fails("  Lines.Strings = ('a' 'b'\n", "an unclosed list");
    fails("  Lines.Strings = ('a' 5)\n", "a number among strings");
    fails("  Lines.Strings = 'a'\n", "a plain string");
    fails("  Lines.Strings = ('a' ('b'))\n", "a nested list");
}
