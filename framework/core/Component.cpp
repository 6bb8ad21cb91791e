#include "framework/core/Component.h"

#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <algorithm>

// ---- TPersistent -------------------------------------------------------------------

void TPersistent::Assign(TPersistent* Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError(Format("Cannot assign a nil to a %s", ClassName()));
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    throw EConvertError(Format("Cannot assign a %s to a %s", ClassName(),
        Dest ? Dest->ClassName() : "nil"));
}

void TPersistent::DefineProperties(TFiler*) { }

// ---- TComponent --------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Everyone on the free-notification list hears of the removal, and this component
    // leaves their lists, whether or not their Notification calls the inherited one.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int i) const
{
    if (i < 0 || size_t(i) >= FComponents.size())
        throw EListError(Format("List index out of bounds (%d)", i));
    return FComponents[size_t(i)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    const auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name))
            return c;
    return nullptr;
}

void TComponent::SetName(const std::string& name)
{
    if (name == FName)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format("'%s' is not a valid component name", name));
    if (FOwner)
        FOwner->ValidateRename(this, FName, name);
    std::string oldName = FName;
    SetReference(false);
    FName = name;
    try {
        SetReference(true);
    } catch (...) {
        // A published field of the new name cannot hold this class: keep the old name.
        FName = oldName;
        SetReference(true);
        throw;
    }
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string&,
    const std::string& newName)
{
    if (newName.empty())
        return;
    TComponent* other = FindComponent(newName);
    if (other && other != AComponent)
        throw EComponentError(Format("A component named %s already exists", newName));
}

void TComponent::SetReference(bool enable)
{
    // While the owner is being destroyed its derived part, which holds the fields, is gone.
    if (!FOwner || FName.empty() || (FOwner->FComponentState & csDestroying))
        return;
    const TClassInfo* ci = ClassInfoOf(FOwner);
    const TFieldEntry* f = ci ? ci->FindField(FName) : nullptr;
    if (!f)
        return;
    if (enable) {
        if (!f->Set(FOwner, this))
            throw EComponentError(Format("Field %s cannot hold a %s", FName, ClassName()));
    } else if (f->Get(FOwner) == this) {
        f->Set(FOwner, nullptr);
    }
}

void TComponent::SetDesigning(bool on)
{
    if (on)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~TComponentState(csDesigning);
    for (TComponent* c : FComponents)
        c->SetDesigning(on);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this)
        == AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end())
        FFreeNotifies.erase(it);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    ValidateRename(AComponent, "", AComponent->FName);
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    AComponent->SetReference(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    AComponent->SetReference(false);
    Remove(AComponent);
}

void TComponent::DestroyComponents()
{
    // Last created goes first. Each one removes itself from this owner while it is
    // destroyed, so the remaining siblings hear of it.
    while (!FComponents.empty())
        delete FComponents.back();
}

void TComponent::Destroying()
{
    if (FComponentState & csDestroying)
        return;
    FComponentState |= csDestroying;
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::Loaded()
{
    FComponentState &= ~TComponentState(csLoading);
}

void TComponent::SetLoadingState(bool loading)
{
    if (loading)
        FComponentState |= csLoading;
    else
        FComponentState &= ~TComponentState(csLoading);
}

void TComponent::SetReadingState(bool reading)
{
    if (reading)
        FComponentState |= csReading;
    else
        FComponentState &= ~TComponentState(csReading);
}

void TComponent::GetChildren(std::function<void(TComponent*)> proc, TComponent* root)
{
    if (this != root)
        return;
    for (size_t i = 0; i < FComponents.size(); ++i)
        if (!FComponents[i]->HasParent())
            proc(FComponents[i]);
}

void TComponent::ReadState(TReader& Reader)
{
    Reader.ReadData(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Owned components hear of every insertion and removal under their owner, so that
    // references between siblings are cleared. A handler may free components, hence
    // the index check on every step.
    for (size_t i = FComponents.size(); i-- > 0;) {
        if (i >= FComponents.size())
            continue;
        TComponent* c = FComponents[i];
        if (c != AComponent)
            c->Notification(AComponent, Operation);
    }
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end())
        FComponents.erase(it);
    AComponent->FOwner = nullptr;
}
