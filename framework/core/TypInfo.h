#pragma once
// The class registry and the published-property tables that the form reader and writer
// work from.
//
// Each class writes one table in its .cpp:
//
//   BEGIN_PROPERTIES(TPanel, TCustomControl)
//     .Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1)
//     .Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter,
//           { "bvNone", "bvLowered", "bvRaised", "bvSpace" }).Default(bvRaised)
//     PUBLISHED_EVENT(OnClick)
//   END_PROPERTIES
//
// The table registers the class by name (with a factory when the class can be built from
// an owner) and inherits the base class's properties, base first. A root (form) class also
// lists its published fields and event handlers: PUBLISHED_FIELD(btnRun),
// PUBLISHED_METHOD(btnRunClick). Getters and setters may be member functions, data
// members or callables taking the object. Ordinal properties without a Default are always
// written; strings are written when not empty, floats when not 0, references and events
// when set. Registration runs during static initialisation; lookups are thread-safe.

#include "framework/core/Component.h"

#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

enum TTypeKind { tkInteger, tkInt64, tkBool, tkEnumeration, tkSet, tkChar, tkFloat, tkString,
    tkColor, tkClass, tkMethod };

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkInteger;
    std::vector<std::string> Names;       // enumeration members / set elements, by ordinal
    int64_t MinValue = 0, MaxValue = 0;   // range of ordinal kinds
    std::function<int64_t(TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<std::string(TObject*)> GetStr;
    std::function<void(TObject*, const std::string&)> SetStr;
    // tkClass: a sub-object written through its own properties ("Font.Height"), or, when
    // IsReference, a component written by name and resolved after loading.
    bool IsReference = false;
    std::function<TPersistent*(TObject*)> GetObject;
    std::function<bool(TObject*, TComponent*)> SetRef;   // false: the class does not fit
    // tkMethod: the bound handler's name ("" when unset) and binding by name on a root.
    std::function<std::string(TObject*)> GetMethodName;
    std::function<bool(TObject*, TComponent* root, const std::string& name)> BindMethod;
    std::optional<int64_t> OrdDefault;
    std::optional<double> FloatDefault;
    std::optional<std::string> StrDefault;
    std::function<bool(TObject*)> Stored;
};

struct TMethodEntry {
    std::string Name;
    std::type_index Type;   // typeid of the TMethodPtr<...> it can become
    std::function<bool(TComponent* root, void* out)> Make;
};

struct TFieldEntry {
    std::string Name;
    std::function<TComponent*(TObject*)> Get;
    std::function<bool(TObject*, TComponent*)> Set;   // false: the class does not fit
};

class TClassInfo {
public:
    TClassInfo(std::string name, std::type_index type, std::type_index parent);

    const std::string& Name() const { return FName; }
    std::type_index Type() const { return FType; }
    const TClassInfo* Parent() const;
    bool CanCreate() const { return bool(Factory); }

    // All published properties, the base class's first, in declaration order.
    const std::vector<const TPropInfo*>& Properties() const;
    const TPropInfo* FindProperty(const std::string& name) const;   // case-insensitive
    // Handler named name whose event type is type (or any type when type is null).
    const TMethodEntry* FindMethod(const std::string& name, const std::type_index* type) const;
    const TFieldEntry* FindField(const std::string& name) const;

    std::function<TComponent*(TComponent* owner)> Factory;
    std::vector<TPropInfo> OwnProperties;
    std::vector<TMethodEntry> Methods;
    std::vector<TFieldEntry> Fields;

private:
    std::string FName;
    std::type_index FType, FParent;
    mutable std::vector<const TPropInfo*> FAll;
    mutable bool FBuilt = false;
};

// Adds (or completes) the entry of info's type; returns the stored entry.
TClassInfo& RegisterClassInfo(std::unique_ptr<TClassInfo> info);
const TClassInfo* FindClassInfo(const std::string& name);    // case-insensitive
const TClassInfo* FindClassInfo(std::type_index type);
// The entry of obj's dynamic type, else the one named by obj->ClassName().
const TClassInfo* ClassInfoOf(const TObject* obj);
const TPropInfo* FindPropInfo(const TObject* obj, const std::string& name);
// Creates a component of a registered class; EClassNotFound when there is none.
TComponent* CreateComponentByClassName(const std::string& name, TComponent* owner);

// Colour names for streaming ("clBtnFace"); the graphics unit installs them.
using TIdentToInt = std::function<bool(const std::string& ident, int64_t& value)>;
using TIntToIdent = std::function<bool(int64_t value, std::string& ident)>;
// Returns the pair installed before.
std::pair<TIdentToInt, TIntToIdent> RegisterColorIdents(TIdentToInt toInt, TIntToIdent toIdent);
bool ColorIdentToInt(const std::string& ident, int64_t& value);
bool ColorIntToIdent(int64_t value, std::string& ident);

#include "framework/core/ClassBuilder.h"

// Registers class T (derived from Base) under name without properties of its own.
template <class T, class Base>
void RegisterClass(const char* name)
{
    TClassBuilder<T> b(name, typeid(Base));
    b.Commit();
}

#define METRONOME_CAT2(a, b) a##b
#define METRONOME_CAT(a, b) METRONOME_CAT2(a, b)
#define BEGIN_PROPERTIES(C, Base)                                                      \
    namespace {                                                                        \
    [[maybe_unused]] const bool METRONOME_CAT(propertiesRegistered_, __COUNTER__) = [] { \
        using Self = C;                                                                \
        TClassBuilder<Self> builder(#C, typeid(Base));                                 \
        builder.Begin()
#define END_PROPERTIES \
    ;                  \
    builder.Commit();  \
    return true;       \
    }();               \
    }
#define PUBLISHED_FIELD(name) .Field(#name, &Self::name)
#define PUBLISHED_METHOD(name) .Method(#name, &Self::name)
#define PUBLISHED_EVENT(name) .Event(#name, &Self::name)
