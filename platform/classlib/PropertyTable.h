#pragma once
// Published properties: each class that is stored in component streams
// registers a table of its own properties (name, kind, accessors, default);
// a class answers its ancestors' properties first, then its own. Names match
// ignoring case.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/classlib/Objects.h"
#include "platform/classlib/Persistent.h"
#include "platform/classlib/Sets.h"

namespace tarvel {

enum class TPropKind {
    Integer,
    Boolean,
    Enumeration,  // stored as the identifier of its value
    Set,          // stored as the identifiers of its members
    Color,        // a colour identifier when there is one, else an integer
    Charset,      // a character-set identifier when there is one, else an integer
    String,
    Class,       // a sub-object stored under dotted names ("Font.Name")
    Collection,  // a TCollection whose items are stored in the value
};

struct TPropInfo {
    TPropInfo(String name, TPropKind kind, std::span<const char* const> idents = {},
              std::optional<int64_t> defaultValue = {})
        : Name(std::move(name)), Kind(kind), Idents(idents), Default(defaultValue) {}

    String Name;
    TPropKind Kind = TPropKind::Integer;
    std::span<const char* const> Idents;  // enumeration values, set members
    // An ordinal equal to it is not stored; without one the value always is.
    // Strings are stored when not empty, sub-objects when there.
    std::optional<int64_t> Default;

    std::function<int64_t(TPersistent&)> GetOrd;
    std::function<void(TPersistent&, int64_t)> SetOrd;
    std::function<String(TPersistent&)> GetStr;
    std::function<void(TPersistent&, const String&)> SetStr;
    std::function<TPersistent*(TPersistent&)> GetObject;  // Class and Collection
};

namespace property_detail {

template <class M>
struct Member;
template <class C, class R>
struct Member<R (C::*)() const> {
    using owner = C;
    using value = std::decay_t<R>;
};
template <class C, class R>
struct Member<R (C::*)()> {
    using owner = C;
    using value = std::decay_t<R>;
};

template <class T>
struct SetTraits : std::false_type {};
template <class E>
struct SetTraits<TSet<E>> : std::true_type {
    using element = E;
};

template <class T>
int64_t ToOrd(const T& v) {
    if constexpr (SetTraits<T>::value) {
        return static_cast<int64_t>(v.Bits());
    } else {
        return static_cast<int64_t>(v);
    }
}

template <class T>
T FromOrd(int64_t v) {
    if constexpr (SetTraits<T>::value) {
        T s;
        for (unsigned bit = 0; bit < 64; ++bit) {
            if ((static_cast<uint64_t>(v) >> bit) & 1)
                s.Include(static_cast<typename SetTraits<T>::element>(bit));
        }
        return s;
    } else {
        return static_cast<T>(v);
    }
}

}  // namespace property_detail

class TPropertyTable {
public:
    // Each takes the getter and setter as member functions of the class the
    // table belongs to, e.g. Integer<&TFoo::Width, &TFoo::SetWidth>("Width").
    template <auto Get, auto Set>
    TPropertyTable& Integer(const char* name, std::optional<int64_t> defaultValue = {}) {
        return AddOrdinal<Get, Set>(name, TPropKind::Integer, {}, defaultValue);
    }
    template <auto Get, auto Set>
    TPropertyTable& Boolean(const char* name, std::optional<int64_t> defaultValue = {}) {
        return AddOrdinal<Get, Set>(name, TPropKind::Boolean, {}, defaultValue);
    }
    template <auto Get, auto Set>
    TPropertyTable& Enumeration(const char* name, std::span<const char* const> idents,
                                std::optional<int64_t> defaultValue = {}) {
        return AddOrdinal<Get, Set>(name, TPropKind::Enumeration, idents, defaultValue);
    }
    template <auto Get, auto Set>
    TPropertyTable& SetOf(const char* name, std::span<const char* const> idents) {
        return AddOrdinal<Get, Set>(name, TPropKind::Set, idents, {});
    }
    template <auto Get, auto Set>
    TPropertyTable& Color(const char* name, std::optional<int64_t> defaultValue = {}) {
        return AddOrdinal<Get, Set>(name, TPropKind::Color, {}, defaultValue);
    }
    template <auto Get, auto Set>
    TPropertyTable& Charset(const char* name, std::optional<int64_t> defaultValue = {}) {
        return AddOrdinal<Get, Set>(name, TPropKind::Charset, {}, defaultValue);
    }
    template <auto Get, auto Set>
    TPropertyTable& Text(const char* name) {
        using C = typename property_detail::Member<decltype(Get)>::owner;
        TPropInfo p(name, TPropKind::String);
        p.GetStr = [](TPersistent& o) { return String((static_cast<C&>(o).*Get)()); };
        p.SetStr = [](TPersistent& o, const String& v) { (static_cast<C&>(o).*Set)(v); };
        return Add(std::move(p));
    }
    // A sub-object the instance owns (a font, a bitmap link); its class has
    // a table of its own.
    template <auto Get>
    TPropertyTable& Object(const char* name) {
        return AddObject<Get>(name, TPropKind::Class);
    }
    template <auto Get>
    TPropertyTable& Collection(const char* name) {
        return AddObject<Get>(name, TPropKind::Collection);
    }

    // For accessors that are no plain member functions.
    TPropertyTable& Add(TPropInfo info);

    const std::vector<TPropInfo>& Properties() const { return props_; }

private:
    template <auto Get, auto Set>
    TPropertyTable& AddOrdinal(const char* name, TPropKind kind, std::span<const char* const> idents,
                               std::optional<int64_t> defaultValue) {
        using C = typename property_detail::Member<decltype(Get)>::owner;
        using V = typename property_detail::Member<decltype(Get)>::value;
        TPropInfo p(name, kind, idents, defaultValue);
        p.GetOrd = [](TPersistent& o) { return property_detail::ToOrd<V>((static_cast<C&>(o).*Get)()); };
        p.SetOrd = [](TPersistent& o, int64_t v) {
            (static_cast<C&>(o).*Set)(property_detail::FromOrd<V>(v));
        };
        return Add(std::move(p));
    }

    template <auto Get>
    TPropertyTable& AddObject(const char* name, TPropKind kind) {
        using C = typename property_detail::Member<decltype(Get)>::owner;
        TPropInfo p(name, kind);
        p.GetObject = [](TPersistent& o) -> TPersistent* { return (static_cast<C&>(o).*Get)(); };
        return Add(std::move(p));
    }

    std::vector<TPropInfo> props_;
};

// Registers the class's own published properties; registering a class again
// changes nothing. TComponent (Tag, stored when not 0) and TFont (Charset,
// Color, Height, Name, Pitch when not fpDefault, Style) are known from the start.
void RegisterPropertyTable(TClass cls, void (*declare)(TPropertyTable& table));
// The class's properties, its ancestors' first.
std::vector<const TPropInfo*> GetPropList(TClass cls);
// The property of that name, ignoring case; null when none.
const TPropInfo* FindPropInfo(TClass cls, std::string_view name);

}  // namespace tarvel
