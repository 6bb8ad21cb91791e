#pragma once
// TClassBuilder<C>: fills one class's registry entry from its property table (see
// TypInfo.h). Each method adds one property; Default and Stored refine the last one.
// Used during static initialisation only.

#include "framework/core/TypInfo.h"

#include <type_traits>
#include <utility>

template <class C>
class TClassBuilder {
public:
    TClassBuilder(const char* name, std::type_index parent)
        : FInfo(std::make_unique<TClassInfo>(name, typeid(C), parent))
    {
        if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C>
            && std::is_constructible_v<C, TComponent*>)
            FInfo->Factory = [](TComponent* owner) -> TComponent* { return new C(owner); };
    }
    void Commit() { RegisterClassInfo(std::move(FInfo)); }
    TClassBuilder& Begin() { return *this; }

    template <class G, class S> TClassBuilder& Int(const char* n, G g, S s) { return Ord(n, tkInteger, g, s, {}); }
    template <class G, class S> TClassBuilder& Int64(const char* n, G g, S s) { return Ord(n, tkInt64, g, s, {}); }
    template <class G, class S> TClassBuilder& Bool(const char* n, G g, S s) { return Ord(n, tkBool, g, s, {}); }
    template <class G, class S> TClassBuilder& Char(const char* n, G g, S s) { return Ord(n, tkChar, g, s, {}); }
    template <class G, class S> TClassBuilder& Color(const char* n, G g, S s) { return Ord(n, tkColor, g, s, {}); }
    template <class G, class S>
    TClassBuilder& Enum(const char* n, G g, S s, std::vector<std::string> names)
    {
        return Ord(n, tkEnumeration, g, s, std::move(names));
    }
    // A set stored as a bitmask: bit i for element i.
    template <class G, class S>
    TClassBuilder& Set(const char* n, G g, S s, std::vector<std::string> names)
    {
        return Ord(n, tkSet, g, s, std::move(names));
    }

    template <class G, class S>
    TClassBuilder& Float(const char* n, G g, S s)
    {
        TPropInfo& p = Add(n, tkFloat);
        p.GetFloat = [g](TObject* o) { return double(std::invoke(g, Cast(o))); };
        p.SetFloat = [s](TObject* o, double v) { Put(s, o, static_cast<ValueOf<G>>(v)); };
        return *this;
    }

    template <class G, class S>
    TClassBuilder& String(const char* n, G g, S s)
    {
        TPropInfo& p = Add(n, tkString);
        p.GetStr = [g](TObject* o) { return std::string(std::invoke(g, Cast(o))); };
        p.SetStr = [s](TObject* o, const std::string& v) { Put(s, o, v); };
        return *this;
    }

    // A sub-object whose own properties are written with dotted names.
    template <class G>
    TClassBuilder& Object(const char* n, G g)
    {
        TPropInfo& p = Add(n, tkClass);
        p.GetObject = [g](TObject* o) -> TPersistent* { return std::invoke(g, Cast(o)); };
        return *this;
    }

    // A reference to another component, written by its name.
    template <class G, class S>
    TClassBuilder& Reference(const char* n, G g, S s)
    {
        using P = std::remove_pointer_t<ValueOf<G>>;
        TPropInfo& p = Add(n, tkClass);
        p.IsReference = true;
        p.GetObject = [g](TObject* o) -> TPersistent* { return std::invoke(g, Cast(o)); };
        p.SetRef = [s](TObject* o, TComponent* c) {
            P* t = c ? dynamic_cast<P*>(c) : nullptr;
            if (c && !t)
                return false;
            Put(s, o, t);
            return true;
        };
        return *this;
    }

    template <class M>
    TClassBuilder& Event(const char* n, M member) { return Event(n, member, member); }
    template <class G, class S>
    TClassBuilder& Event(const char* n, G g, S s)
    {
        using V = ValueOf<G>;
        TPropInfo& p = Add(n, tkMethod);
        p.GetMethodName = [g](TObject* o) {
            const V& v = std::invoke(g, Cast(o));
            return v ? v.Name() : std::string();
        };
        p.BindMethod = [s](TObject* o, TComponent* root, const std::string& name) {
            const TClassInfo* rc = ClassInfoOf(root);
            std::type_index t = typeid(V);
            const TMethodEntry* m = rc ? rc->FindMethod(name, &t) : nullptr;
            V v;
            if (!m || !m->Make(root, &v))
                return false;
            Put(s, o, v);
            return true;
        };
        return *this;
    }

    template <class T>
    TClassBuilder& Default(T value)
    {
        TPropInfo& p = FInfo->OwnProperties.back();
        if constexpr (std::is_convertible_v<T, std::string>)
            p.StrDefault = std::string(value);
        else if (p.Kind == tkFloat)
            p.FloatDefault = double(value);
        else
            p.OrdDefault = int64_t(value);
        return *this;
    }

    template <class P>
    TClassBuilder& Stored(P pred)
    {
        if constexpr (std::is_same_v<P, bool>)
            FInfo->OwnProperties.back().Stored = [pred](TObject*) { return pred; };
        else
            FInfo->OwnProperties.back().Stored = [pred](TObject* o) { return bool(std::invoke(pred, Cast(o))); };
        return *this;
    }

    // A published field of a root: set to the component of that name when it is created.
    template <class T, class D>
    TClassBuilder& Field(const char* n, T* D::*field)
    {
        FInfo->Fields.push_back({ n,
            [field](TObject* o) -> TComponent* { return static_cast<D*>(o)->*field; },
            [field](TObject* o, TComponent* c) {
                T* t = c ? dynamic_cast<T*>(c) : nullptr;
                if (c && !t)
                    return false;
                static_cast<D*>(o)->*field = t;
                return true;
            } });
        return *this;
    }

    // A published event handler of a root, bound to events by its name.
    template <class D, class... Args>
    TClassBuilder& Method(const char* n, void (D::*method)(Args...))
    {
        std::string name = n;
        FInfo->Methods.push_back({ name, typeid(TMethodPtr<Args...>),
            [method, name](TComponent* root, void* out) {
                D* d = dynamic_cast<D*>(root);
                if (!d)
                    return false;
                *static_cast<TMethodPtr<Args...>*>(out) = TMethodPtr<Args...>(d, method, name.c_str());
                return true;
            } });
        return *this;
    }

private:
    template <class G>
    using ValueOf = std::remove_cvref_t<std::invoke_result_t<G, C*>>;

    static C* Cast(TObject* o) { return static_cast<C*>(o); }

    template <class S, class V>
    static void Put(S s, TObject* o, V&& v)
    {
        if constexpr (std::is_member_object_pointer_v<S>)
            Cast(o)->*s = std::forward<V>(v);
        else
            std::invoke(s, Cast(o), std::forward<V>(v));
    }

    TPropInfo& Add(const char* n, TTypeKind kind)
    {
        TPropInfo& p = FInfo->OwnProperties.emplace_back();
        p.Name = n;
        p.Kind = kind;
        return p;
    }

    template <class G, class S>
    TClassBuilder& Ord(const char* n, TTypeKind kind, G g, S s, std::vector<std::string> names)
    {
        using V = ValueOf<G>;
        using U = typename std::conditional_t<std::is_enum_v<V>, std::underlying_type<V>,
            std::type_identity<V>>::type;
        static_assert(std::is_integral_v<U>, "ordinal property of a non-integral type");
        TPropInfo& p = Add(n, kind);
        p.Names = std::move(names);
        switch (kind) {
        case tkEnumeration: p.MinValue = 0; p.MaxValue = int64_t(p.Names.size()) - 1; break;
        case tkSet: p.MinValue = 0; p.MaxValue = int64_t((uint64_t(1) << p.Names.size()) - 1); break;
        case tkBool: p.MinValue = 0; p.MaxValue = 1; break;
        case tkColor: p.MinValue = std::numeric_limits<int32_t>::min(); p.MaxValue = std::numeric_limits<uint32_t>::max(); break;
        default:
            p.MinValue = int64_t(std::numeric_limits<U>::min());
            p.MaxValue = std::numeric_limits<U>::max() > uint64_t(std::numeric_limits<int64_t>::max())
                ? std::numeric_limits<int64_t>::max() : int64_t(std::numeric_limits<U>::max());
        }
        if (kind == tkChar) {
            p.MinValue = 0;
            p.MaxValue = 255;
        }
        p.GetOrd = [g, kind](TObject* o) -> int64_t {
            U u = U(std::invoke(g, Cast(o)));
            if (kind == tkChar)
                return int64_t(static_cast<unsigned char>(u));
            return int64_t(u);
        };
        p.SetOrd = [s](TObject* o, int64_t v) { Put(s, o, static_cast<V>(static_cast<U>(v))); };
        return *this;
    }

    std::unique_ptr<TClassInfo> FInfo;
};
