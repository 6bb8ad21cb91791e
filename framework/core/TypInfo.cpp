#include "framework/core/TypInfo.h"

#include "framework/core/SysUtils.h"

#include <map>
#include <mutex>
#include <typeinfo>

namespace {

struct Registry {
    std::mutex lock;
    std::map<std::type_index, std::unique_ptr<TClassInfo>> byType;
    std::map<std::string, TClassInfo*> byName;   // upper-case names
    TIdentToInt colorToInt;
    TIntToIdent colorToIdent;
};

Registry& Reg()
{
    static Registry r;
    return r;
}

} // namespace

const char* TObject::ClassName() const
{
    const TClassInfo* ci = FindClassInfo(std::type_index(typeid(*this)));
    return ci ? ci->Name().c_str() : "TObject";
}

TClassInfo::TClassInfo(std::string name, std::type_index type, std::type_index parent)
    : FName(std::move(name))
    , FType(type)
    , FParent(parent)
{
}

const TClassInfo* TClassInfo::Parent() const
{
    if (FParent == FType)
        return nullptr;
    return FindClassInfo(FParent);
}

const std::vector<const TPropInfo*>& TClassInfo::Properties() const
{
    std::lock_guard<std::mutex> g(Reg().lock);
    if (!FBuilt) {
        // The parent's list is built without the lock held by walking the chain here.
        std::vector<const TClassInfo*> chain;
        for (const TClassInfo* c = this; c; ) {
            chain.push_back(c);
            auto it = c->FParent == c->FType ? Reg().byType.end() : Reg().byType.find(c->FParent);
            c = it == Reg().byType.end() ? nullptr : it->second.get();
        }
        for (size_t i = chain.size(); i-- > 0;)
            for (const TPropInfo& p : chain[i]->OwnProperties) {
                // A redeclared property takes the place of the inherited one.
                bool replaced = false;
                for (const TPropInfo*& q : FAll)
                    if (SameText(q->Name, p.Name)) {
                        q = &p;
                        replaced = true;
                    }
                if (!replaced)
                    FAll.push_back(&p);
            }
        FBuilt = true;
    }
    return FAll;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const
{
    for (const TPropInfo* p : Properties())
        if (SameText(p->Name, name))
            return p;
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(const std::string& name, const std::type_index* type) const
{
    for (const TClassInfo* c = this; c; c = c->Parent())
        for (const TMethodEntry& m : c->Methods)
            if (SameText(m.Name, name) && (!type || m.Type == *type))
                return &m;
    return nullptr;
}

const TFieldEntry* TClassInfo::FindField(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->Parent())
        for (const TFieldEntry& f : c->Fields)
            if (SameText(f.Name, name))
                return &f;
    return nullptr;
}

TClassInfo& RegisterClassInfo(std::unique_ptr<TClassInfo> info)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> g(r.lock);
    auto it = r.byType.find(info->Type());
    if (it != r.byType.end()) {
        // A second registration (RegisterClass after a table) completes the first.
        TClassInfo& old = *it->second;
        if (!old.Factory)
            old.Factory = std::move(info->Factory);
        for (auto& p : info->OwnProperties)
            old.OwnProperties.push_back(std::move(p));
        for (auto& m : info->Methods)
            old.Methods.push_back(std::move(m));
        for (auto& f : info->Fields)
            old.Fields.push_back(std::move(f));
        return old;
    }
    TClassInfo* raw = info.get();
    r.byName[UpperCase(raw->Name())] = raw;
    r.byType.emplace(raw->Type(), std::move(info));
    return *raw;
}

const TClassInfo* FindClassInfo(const std::string& name)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> g(r.lock);
    auto it = r.byName.find(UpperCase(name));
    return it == r.byName.end() ? nullptr : it->second;
}

const TClassInfo* FindClassInfo(std::type_index type)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> g(r.lock);
    auto it = r.byType.find(type);
    return it == r.byType.end() ? nullptr : it->second.get();
}

const TClassInfo* ClassInfoOf(const TObject* obj)
{
    if (!obj)
        return nullptr;
    if (const TClassInfo* ci = FindClassInfo(std::type_index(typeid(*obj))))
        return ci;
    return FindClassInfo(std::string(obj->ClassName()));
}

const TPropInfo* FindPropInfo(const TObject* obj, const std::string& name)
{
    const TClassInfo* ci = ClassInfoOf(obj);
    return ci ? ci->FindProperty(name) : nullptr;
}

TComponent* CreateComponentByClassName(const std::string& name, TComponent* owner)
{
    const TClassInfo* ci = FindClassInfo(name);
    if (!ci || !ci->Factory)
        throw EClassNotFound(Format("Class %s not found", name));
    return ci->Factory(owner);
}

std::pair<TIdentToInt, TIntToIdent> RegisterColorIdents(TIdentToInt toInt, TIntToIdent toIdent)
{
    std::lock_guard<std::mutex> g(Reg().lock);
    std::pair<TIdentToInt, TIntToIdent> old { std::move(Reg().colorToInt), std::move(Reg().colorToIdent) };
    Reg().colorToInt = std::move(toInt);
    Reg().colorToIdent = std::move(toIdent);
    return old;
}

bool ColorIdentToInt(const std::string& ident, int64_t& value)
{
    TIdentToInt f;
    {
        std::lock_guard<std::mutex> g(Reg().lock);
        f = Reg().colorToInt;
    }
    return f && f(ident, value);
}

bool ColorIntToIdent(int64_t value, std::string& ident)
{
    TIntToIdent f;
    {
        std::lock_guard<std::mutex> g(Reg().lock);
        f = Reg().colorToIdent;
    }
    return f && f(value, ident);
}

BEGIN_PROPERTIES(TPersistent, TPersistent)
END_PROPERTIES

BEGIN_PROPERTIES(TComponent, TPersistent)
    .String("Name", &TComponent::Name, &TComponent::SetName).Stored(false)
    .Int("Tag", &TComponent::Tag, &TComponent::Tag).Default(0)
END_PROPERTIES
