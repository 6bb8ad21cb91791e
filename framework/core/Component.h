#pragma once
// The root classes of the component framework: TObject, TPersistent and TComponent, and
// the method pointers ("events") that connect components to the methods of their owner.
//
// Ownership: a component created with an owner is freed by that owner, in reverse order of
// creation. A component being removed tells its owner and every component that asked for
// a free notification, so that references to it are cleared wherever they live.
// Components are used from the GUI thread only.

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TFiler;
class TReader;
class TWriter;

// The root of every framework class. Virtual destructor; no other state.
class TObject {
public:
    virtual ~TObject() = default;
    // The registered class name ("TPanel"), found through the class registry by the
    // object's dynamic type; "TObject" for classes that have none. A class may override it.
    virtual const char* ClassName() const;
};

// A method pointer: an object and one of its methods. It counts as set when its method
// is set; calling an unset one does nothing. Two method pointers are equal when they name
// the same object and the same method. Name() holds the method's published name when the
// pointer was bound by name (the form reader does this), so that a writer can store it.
template <typename... Args>
class TMethodPtr {
public:
    TMethodPtr() = default;
    TMethodPtr(std::nullptr_t) { }

    template <typename C>
    TMethodPtr(C* object, void (C::*method)(Args...), const char* name = nullptr)
        : FData(object)
        , FName(name ? name : "")
    {
        static_assert(sizeof(method) <= sizeof(FCode), "member pointer too large");
        std::memcpy(FCode, &method, sizeof(method));
        FCodeSize = sizeof(method);
        // A plain function that reads the method back: copying the pointer copies bytes
        // and allocates nothing, however often an event is passed on.
        FInvoke = [](const TMethodPtr& self, Args... args) {
            void (C::*m)(Args...);
            std::memcpy(&m, self.FCode, sizeof(m));
            (static_cast<C*>(self.FData)->*m)(args...);
        };
    }

    // A free-standing handler (tests, lambdas): set, but with no object.
    static TMethodPtr FromFunction(std::function<void(Args...)> fn)
    {
        TMethodPtr m;
        m.FCall = std::move(fn);
        m.FCodeSize = 0;
        return m;
    }

    explicit operator bool() const { return FInvoke || FCall; }
    void operator()(Args... args) const
    {
        if (FInvoke)
            FInvoke(*this, args...);
        else if (FCall)
            FCall(args...);
    }

    void* Data() const { return FData; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }

    friend bool operator==(const TMethodPtr& a, const TMethodPtr& b)
    {
        if (!a || !b)
            return !a && !b;
        if (a.FCodeSize == 0 || b.FCodeSize == 0)
            return false;
        return a.FData == b.FData && a.FCodeSize == b.FCodeSize
            && std::memcmp(a.FCode, b.FCode, a.FCodeSize) == 0;
    }

private:
    void* FData = nullptr;
    unsigned char FCode[2 * sizeof(void*)] = {};
    size_t FCodeSize = 0;
    std::string FName;
    void (*FInvoke)(const TMethodPtr&, Args...) = nullptr;  // bound to an object's method
    std::function<void(Args...)> FCall;                      // a free-standing handler
};

using TNotifyEvent = TMethodPtr<TObject*>;

class TPersistent : public TObject {
public:
    // Copies Source into this object; the default raises EConvertError ("Cannot assign
    // a X to a Y") unless Source->AssignTo handles it.
    virtual void Assign(TPersistent* Source);
    // Non-published data stored in a form description (binary properties and the like).
    virtual void DefineProperties(TFiler* Filer);

protected:
    virtual void AssignTo(TPersistent* Dest);
};

enum TComponentStateFlag : uint32_t {
    csLoading = 1 << 0,
    csReading = 1 << 1,
    csWriting = 1 << 2,
    csDestroying = 1 << 3,
    csDesigning = 1 << 4,
    csAncestor = 1 << 5,
    csUpdating = 1 << 6,
    csFixups = 1 << 7,
    csInline = 1 << 8,
};
using TComponentState = uint32_t;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int i) const;   // EListError when i is out of range
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& name) const;   // case-insensitive

    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that another
    // component of the same owner already has (case-insensitive).
    virtual void SetName(const std::string& name);

    TComponentState ComponentState() const { return FComponentState; }
    bool HasState(TComponentStateFlag f) const { return (FComponentState & f) != 0; }
    void SetDesigning(bool on);

    int32_t Tag = 0;

    // Asks to be told (Notification with opRemove) when AComponent is removed. The link
    // is mutual: AComponent is told when this one goes, too.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);
    // Points a reference this component holds at value and links the two, so that its
    // Notification can clear the reference when value goes (nullptr just clears it).
    template <typename T, typename U> void SetReference(T*& field, U* value)
    {
        field = value;
        FreeNotification(value);
    }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees the owned components, last created first. A derived destructor whose parts
    // the owned components still use (a parent's child list) calls it first.
    void DestroyComponents();
    // Marks this component and everything it owns csDestroying; destructors may call it
    // before they take their parts down.
    void Destroying();

    // Called by the reader after every property of the whole form is set; clears
    // csLoading.
    virtual void Loaded();

    // Streaming structure. A component with a parent (a control) is written inside its
    // parent's object; one without is written directly inside the root.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* AParent) { (void)AParent; }
    // Calls proc for each component written inside this one. The default hands over the
    // owned components that have no parent, when this is the root being written.
    virtual void GetChildren(std::function<void(TComponent*)> proc, TComponent* root);
    // Reads this component's properties and nested objects; the default lets the reader
    // do it. Overrides may prepare and then call the inherited version.
    virtual void ReadState(TReader& Reader);

    // Reader / writer hooks (set while a description is read or written).
    void SetLoadingState(bool loading);
    void SetReadingState(bool reading);

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void ValidateRename(TComponent* AComponent, const std::string& curName,
        const std::string& newName);
    friend class TReader;
    friend class TWriter;
    TComponentState FComponentState = 0;

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);
    // Points the owner's published field of this component's name at it (or clears it).
    void SetReference(bool enable);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};
