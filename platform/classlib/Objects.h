#pragma once
// The root of the class library: class identity by name, class references
// with virtual constructors, a registry that finds classes by name, and
// message dispatch to per-class handler tables.
//
// Every class that wants an identity of its own writes TARVEL_CLASS(Self,
// Parent) first in its body; one that does not answers its parent's name and
// class. A class that handles messages adds a protected
//     static void DeclareMessages(TMessageTable& t) { t.Add<&Self::Handler>(MSG); }
// and a class made through a class reference states its constructor's
// arguments as `using TCreateArgs = std::tuple<...>` (inherited by default).

#include <cstdint>
#include <functional>
#include <memory>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"

namespace tarvel {

class TObject;
class TMetaClass;

// A class reference ("class of ..."), null for none.
using TClass = const TMetaClass*;

// A bad class reference: an unknown or duplicate name, an abstract class, a
// class that cannot be made with the arguments given.
class EClassError : public Exception {
public:
    using Exception::Exception;
};

class EClassNotFound : public EClassError {
public:
    using EClassError::EClassError;
};

// The message record handed to Dispatch; Result is the handler's answer.
struct TMessage {
    uint32_t Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// The message handlers one class declares itself (its parents have their own).
class TMessageTable {
public:
    using Handler = void (*)(TObject* self, TMessage& message);

    template <auto Method>
    void Add(uint32_t msg);

    Handler Find(uint32_t msg) const;

private:
    template <class M>
    struct MethodClass;
    template <class C>
    struct MethodClass<void (C::*)(TMessage&)> {
        using type = C;
    };

    void Put(uint32_t msg, Handler handler);

    std::vector<std::pair<uint32_t, Handler>> entries_;  // sorted by msg
};

class TMetaClass {
public:
    using Factory = TObject* (*)(const void* packedArgs);

    TMetaClass(const char* name, TClass parent, const std::type_info& argsType, Factory factory,
               void (*declareMessages)(TMessageTable&));
    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;

    const String& ClassName() const { return name_; }
    TClass ClassParent() const { return parent_; }
    // True for the class itself and every class derived from `other`.
    bool InheritsFrom(TClass other) const;
    // The class's own handler for `msg`, not its parents'.
    TMessageTable::Handler OwnHandler(uint32_t msg) const { return messages_.Find(msg); }
    bool IsAbstract() const { return factory_ == nullptr; }

    // The virtual constructor: a new instance of this class, made with the
    // constructor arguments of `Base`. Raises EClassError when this class does
    // not derive from Base, is abstract, or takes other arguments.
    template <class Base, class... A>
    Base* Create(A&&... args) const;

    // The meta class of `Self`; used by TARVEL_CLASS.
    template <class Self, class Parent>
    static TMetaClass Describe(const char* name, void (*declareMessages)(TMessageTable&));

private:
    template <class Self, class Tuple>
    static TObject* Construct(const void* packedArgs);
    void CheckCreatable(TClass base, const std::type_info& argsType) const;

    String name_;
    TClass parent_;
    const std::type_info& argsType_;
    Factory factory_;
    TMessageTable messages_;
};

#define TARVEL_CLASS(Self, Parent)                                                                         \
public:                                                                                                    \
    using inherited = Parent;                                                                              \
    static ::tarvel::TClass StaticClass() {                                                                \
        static const ::tarvel::TMetaClass meta = ::tarvel::TMetaClass::Describe<Self, Parent>(             \
            #Self, &Self::DeclareMessages == &Parent::DeclareMessages ? nullptr : &Self::DeclareMessages); \
        return &meta;                                                                                      \
    }                                                                                                      \
    ::tarvel::TClass ClassType() const override { return StaticClass(); }                                  \
                                                                                                           \
private:

class TObject {
public:
    using TCreateArgs = std::tuple<>;

    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    const String& ClassName() const { return ClassType()->ClassName(); }
    TClass ClassParent() const { return ClassType()->ClassParent(); }
    bool InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }
    template <class T>
    bool Is() const {
        return InheritsFrom(T::StaticClass());
    }

    // Hands the message to the handler for its number of the most derived
    // class that has one, else to DefaultHandler.
    void Dispatch(TMessage& message);
    // The same search starting at `from`: a handler passes a message on to
    // its parents' handling with DispatchFrom(inherited::StaticClass(), m).
    void DispatchFrom(TClass from, TMessage& message);
    virtual void DefaultHandler(TMessage& message);

protected:
    static void DeclareMessages(TMessageTable&) {}
};

// The class registry: classes that can be made from their names.
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass GetClass(std::string_view name);   // null when not registered
TClass FindClass(std::string_view name);  // raises EClassNotFound "Class X not found"

// ---- templates -----------------------------------------------------------

template <auto Method>
void TMessageTable::Add(uint32_t msg) {
    using C = typename MethodClass<decltype(Method)>::type;
    Put(msg, [](TObject* self, TMessage& m) { (static_cast<C*>(self)->*Method)(m); });
}

template <class Self, class Tuple>
TObject* TMetaClass::Construct(const void* packedArgs) {
    return std::apply([](auto... a) -> TObject* { return new Self(a...); },
                      *static_cast<const Tuple*>(packedArgs));
}

template <class Self, class Parent>
TMetaClass TMetaClass::Describe(const char* name, void (*declareMessages)(TMessageTable&)) {
    static_assert(std::is_base_of_v<Parent, Self>);
    using Args = typename Self::TCreateArgs;
    Factory factory = nullptr;
    if constexpr (!std::is_abstract_v<Self>) {
        constexpr bool constructible = []<class... A>(std::tuple<A...>*) {
            return std::is_constructible_v<Self, A...>;
        }(static_cast<Args*>(nullptr));
        if constexpr (constructible) factory = &Construct<Self, Args>;
    }
    return TMetaClass(name, Parent::StaticClass(), typeid(Args), factory, declareMessages);
}

template <class Base, class... A>
Base* TMetaClass::Create(A&&... args) const {
    using Args = typename Base::TCreateArgs;
    CheckCreatable(Base::StaticClass(), typeid(Args));
    const Args packed(std::forward<A>(args)...);
    return static_cast<Base*>(factory_(&packed));
}

}  // namespace tarvel
