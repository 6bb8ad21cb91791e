#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gEvents;

// Records what it is told and drops its reference to a removed component.
class TProbe : public TComponent {
public:
    explicit TProbe(TComponent* owner, std::string tag = "")
        : TComponent(owner)
        , FTagText(std::move(tag))
    {
    }
    ~TProbe() override { gEvents.push_back("destroy " + FTagText); }
    TComponent* Ref = nullptr;
    std::vector<std::pair<TComponent*, TOperation>> Heard;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        Heard.push_back({ c, op });
        if (op == opRemove && c == Ref)
            Ref = nullptr;
    }

private:
    std::string FTagText;
};

class TOtherProbe : public TComponent {
public:
    using TComponent::TComponent;
};

class TFieldOwner : public TComponent {
public:
    using TComponent::TComponent;
    TProbe* btnRun = nullptr;
};

bool HeardRemoval(const TProbe& p, TComponent* c)
{
    for (auto& h : p.Heard)
        if (h.first == c && h.second == opRemove)
            return true;
    return false;
}

} // namespace

BEGIN_PROPERTIES(TProbe, TComponent)
END_PROPERTIES

BEGIN_PROPERTIES(TFieldOwner, TComponent)
    PUBLISHED_FIELD(btnRun)
END_PROPERTIES

namespace {

TEST(ComponentTest, OwnerFreesOwnedComponentsInReverseOrderOfCreation)
{
    gEvents.clear();
    auto* owner = new TProbe(nullptr, "owner");
    new TProbe(owner, "a");
    auto* b = new TProbe(owner, "b");
    new TProbe(b, "b.child");
    new TProbe(owner, "c");
    EXPECT_EQ(owner->ComponentCount(), 3);
    delete owner;
    std::vector<std::string> expected { "destroy owner", "destroy c", "destroy b",
        "destroy b.child", "destroy a" };
    // The owner's own destructor body runs first; then its components go, last first.
    EXPECT_EQ(gEvents, expected);
}

TEST(ComponentTest, SiblingsAndOwnerHearOfARemovalAndDropTheirReferences)
{
    TProbe owner(nullptr);
    auto* a = new TProbe(&owner);
    auto* b = new TProbe(&owner);
    auto* c = new TProbe(&owner);
    b->Ref = a;
    c->Ref = a;
    delete a;
    EXPECT_EQ(b->Ref, nullptr);
    EXPECT_EQ(c->Ref, nullptr);
    EXPECT_TRUE(HeardRemoval(owner, a));
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(b->ComponentIndex(), 0);
    EXPECT_EQ(c->ComponentIndex(), 1);
}

TEST(ComponentTest, FreeNotificationWorksAcrossOwnersInBothDirections)
{
    TProbe ownerA(nullptr), ownerB(nullptr);
    auto* sound = new TProbe(&ownerA);
    auto* button = new TProbe(&ownerB);
    button->Ref = sound;
    sound->FreeNotification(button);
    sound->Ref = button;
    delete sound;
    EXPECT_EQ(button->Ref, nullptr);
    EXPECT_FALSE(HeardRemoval(ownerB, sound));   // only those on the list and the owner

    // The lists are symmetric: the survivor's list no longer names the dead one, so
    // destroying it later touches nothing freed (the sanitizer would see it).
    auto* x = new TProbe(nullptr);
    auto* y = new TProbe(nullptr);
    x->FreeNotification(y);
    y->Ref = x;
    x->Ref = y;
    delete y;
    EXPECT_EQ(x->Ref, nullptr);
    delete x;
}

TEST(ComponentTest, RemoveFreeNotificationStopsTheMessages)
{
    auto* a = new TProbe(nullptr);
    TProbe b(nullptr);
    a->FreeNotification(&b);
    a->RemoveFreeNotification(&b);
    delete a;
    EXPECT_TRUE(b.Heard.empty());
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwnerIgnoringCase)
{
    TProbe owner(nullptr);
    auto* a = new TProbe(&owner);
    auto* b = new TProbe(&owner);
    a->SetName("btnRun");
    EXPECT_THROW(b->SetName("BTNRUN"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    EXPECT_THROW(b->SetName("caf\xC3\xA9"), EComponentError);
    b->SetName("_x1");
    a->SetName("BtnRun");   // a component may change the case of its own name
    EXPECT_EQ(owner.FindComponent("btnrun"), a);
    EXPECT_EQ(owner.FindComponent("_X1"), b);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.FindComponent("missing"), nullptr);
    b->SetName("");   // unnamed is allowed, and several may be
    a->SetName("");
    EXPECT_EQ(owner.FindComponent("btnRun"), nullptr);
    // Without an owner nothing limits the name but its form.
    TProbe lone(nullptr), lone2(nullptr);
    lone.SetName("same");
    lone2.SetName("same");
    EXPECT_EQ(lone2.Name(), "same");
}

TEST(ComponentTest, InsertingANamedComponentChecksTheNameAndMovesOwnership)
{
    TProbe first(nullptr), second(nullptr);
    auto* a = new TProbe(&first);
    a->SetName("thing");
    auto* clash = new TProbe(&second);
    clash->SetName("Thing");
    EXPECT_THROW(second.InsertComponent(a), EComponentError);
    EXPECT_EQ(a->Owner(), &first);   // a refused move leaves it where it was
    clash->SetName("other");
    second.InsertComponent(a);
    EXPECT_EQ(a->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.ComponentCount(), 2);
    second.RemoveComponent(a);
    EXPECT_EQ(a->Owner(), nullptr);
    delete a;
}

TEST(ComponentTest, ComponentsOutOfRangeRaise)
{
    TProbe owner(nullptr);
    new TProbe(&owner);
    EXPECT_NE(owner.Components(0), nullptr);
    EXPECT_THROW(owner.Components(1), EListError);
    EXPECT_THROW(owner.Components(-1), EListError);
    EXPECT_EQ(owner.ComponentIndex(), -1);
}

TEST(ComponentTest, PublishedFieldFollowsNameAndLife)
{
    TFieldOwner form(nullptr);
    auto* p = new TProbe(&form);
    EXPECT_EQ(form.btnRun, nullptr);
    p->SetName("btnRun");
    EXPECT_EQ(form.btnRun, p);
    p->SetName("btnOther");
    EXPECT_EQ(form.btnRun, nullptr);
    p->SetName("BTNRUN");
    EXPECT_EQ(form.btnRun, p);
    delete p;
    EXPECT_EQ(form.btnRun, nullptr);
    // A component of another class cannot take the field's name.
    auto* o = new TOtherProbe(&form);
    EXPECT_THROW(o->SetName("btnRun"), EComponentError);
    EXPECT_EQ(o->Name(), "");
    EXPECT_EQ(form.btnRun, nullptr);
}

TEST(ComponentTest, ClassNamesComeFromTheRegistry)
{
    TProbe p(nullptr);
    TComponent c(nullptr);
    EXPECT_STREQ(p.ClassName(), "TProbe");
    EXPECT_STREQ(c.ClassName(), "TComponent");
    std::unique_ptr<TComponent> made(CreateComponentByClassName("tprobe", nullptr));
    EXPECT_NE(dynamic_cast<TProbe*>(made.get()), nullptr);
    EXPECT_THROW(CreateComponentByClassName("TNothing", nullptr), EClassNotFound);
}

TEST(ComponentTest, StatesDesigningAndLoaded)
{
    TProbe owner(nullptr);
    auto* a = new TProbe(&owner);
    owner.SetDesigning(true);
    EXPECT_TRUE(a->HasState(csDesigning));
    owner.SetDesigning(false);
    EXPECT_FALSE(a->HasState(csDesigning));
    a->SetLoadingState(true);
    a->SetReadingState(true);
    EXPECT_EQ(a->ComponentState(), TComponentState(csLoading | csReading));
    a->Loaded();
    EXPECT_EQ(a->ComponentState(), TComponentState(csReading));
    owner.Destroying();
    EXPECT_TRUE(a->HasState(csDestroying));
}

TEST(ComponentTest, DefaultAssignRaisesAConvertError)
{
    TProbe a(nullptr), b(nullptr);
    try {
        a.Assign(&b);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TProbe to a TProbe");
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

TEST(ComponentTest, InsertionIsAnnouncedToTheOwnerAndItsComponents)
{
    TProbe owner(nullptr);
    auto* a = new TProbe(&owner);
    auto* b = new TProbe(&owner);
    ASSERT_FALSE(owner.Heard.empty());
    EXPECT_EQ(owner.Heard.back().first, b);
    EXPECT_EQ(owner.Heard.back().second, opInsert);
    ASSERT_FALSE(a->Heard.empty());
    EXPECT_EQ(a->Heard.back().first, b);
}

TEST(MethodPtrTest, EqualityAndCalls)
{
    TProbe target(nullptr);
    struct Handler : TComponent {
        using TComponent::TComponent;
        int n = 0;
        void Click(TObject*) { ++n; }
        void Other(TObject*) { }
    } h(nullptr), h2(nullptr);
    TNotifyEvent e1(&h, &Handler::Click), e2(&h, &Handler::Click), e3(&h, &Handler::Other),
        e4(&h2, &Handler::Click), unset;
    EXPECT_TRUE(e1 == e2);
    EXPECT_FALSE(e1 == e3);
    EXPECT_FALSE(e1 == e4);
    EXPECT_FALSE(bool(unset));
    unset(&target);   // calling an unset one does nothing
    e1(&target);
    EXPECT_EQ(h.n, 1);
}

// A method pointer keeps its object and method as bytes; a copy, a copy of a copy and an
// assigned one call the same method of the same object, also a virtual one and one of a
// class whose object starts at an offset inside a derived one.
TEST(MethodPtrTest, CopiesCallTheSameMethodOnTheSameObject)
{
    struct Base {
        virtual ~Base() = default;
        virtual void Hit(TObject*) { seen = "base"; }
        std::string seen;
    };
    struct Padding {
        virtual ~Padding() = default;
        long pad[3] = {};
    };
    struct Derived : Padding, Base {
        void Hit(TObject* sender) override { seen = sender ? "derived with sender" : "derived"; }
    } d;
    Base* asBase = &d;
    ASSERT_NE(static_cast<void*>(asBase), static_cast<void*>(&d));
    TNotifyEvent original(asBase, &Base::Hit);
    TNotifyEvent copy = original;
    TNotifyEvent assigned;
    assigned = TNotifyEvent(copy);
    original = TNotifyEvent();
    assigned(nullptr);
    EXPECT_EQ(d.seen, "derived");
    TProbe sender(nullptr);
    copy(&sender);
    EXPECT_EQ(d.seen, "derived with sender");
    EXPECT_TRUE(copy == assigned);
    EXPECT_FALSE(copy == original);

    int calls = 0;
    TNotifyEvent free = TNotifyEvent::FromFunction([&calls](TObject*) { ++calls; });
    TNotifyEvent freeCopy = free;
    freeCopy(nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(bool(freeCopy));
    EXPECT_FALSE(free == freeCopy);   // handlers without an object never compare equal
}

} // namespace
