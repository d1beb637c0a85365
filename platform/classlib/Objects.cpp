#include "platform/classlib/Objects.h"

#include <algorithm>
#include <mutex>

namespace tarvel {

// ---- message tables --------------------------------------------------------

void TMessageTable::Put(uint32_t msg, Handler handler) {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), msg,
                               [](const auto& e, uint32_t m) { return e.first < m; });
    if (it != entries_.end() && it->first == msg) {
        it->second = handler;  // the later declaration wins, as a redeclared method would
    } else {
        entries_.insert(it, {msg, handler});
    }
}

TMessageTable::Handler TMessageTable::Find(uint32_t msg) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), msg,
                               [](const auto& e, uint32_t m) { return e.first < m; });
    return it != entries_.end() && it->first == msg ? it->second : nullptr;
}

// ---- meta classes ----------------------------------------------------------

TMetaClass::TMetaClass(const char* name, TClass parent, const std::type_info& argsType, Factory factory,
                       void (*declareMessages)(TMessageTable&))
    : name_(name), parent_(parent), argsType_(argsType), factory_(factory) {
    if (declareMessages) declareMessages(messages_);
}

bool TMetaClass::InheritsFrom(TClass other) const {
    for (TClass c = this; c; c = c->parent_) {
        if (c == other) return true;
    }
    return false;
}

void TMetaClass::CheckCreatable(TClass base, const std::type_info& argsType) const {
    if (!InheritsFrom(base)) {
        throw EClassError("Class " + name_ + " is not a " + base->ClassName());
    }
    if (factory_ == nullptr) {
        throw EClassError("Cannot create an instance of the abstract class " + name_);
    }
    if (argsType_ != argsType) {
        throw EClassError("Class " + name_ + " is not created like a " + base->ClassName());
    }
}

// ---- TObject ---------------------------------------------------------------

TClass TObject::StaticClass() {
    static const TMetaClass meta(
        "TObject", nullptr, typeid(TCreateArgs), [](const void*) -> TObject* { return new TObject(); },
        nullptr);
    return &meta;
}

void TObject::Dispatch(TMessage& message) { DispatchFrom(ClassType(), message); }

void TObject::DispatchFrom(TClass from, TMessage& message) {
    for (TClass c = from; c; c = c->ClassParent()) {
        if (auto handler = c->OwnHandler(message.Msg)) {
            handler(this, message);
            return;
        }
    }
    DefaultHandler(message);
}

void TObject::DefaultHandler(TMessage&) {}

// ---- class registry --------------------------------------------------------

namespace {

struct ClassRegistry {
    std::mutex lock;
    std::vector<TClass> classes;

    TClass Find(std::string_view name) {
        for (TClass c : classes) {
            if (SameText(c->ClassName(), name)) return c;
        }
        return nullptr;
    }
};

ClassRegistry& Registry() {
    static ClassRegistry registry;
    return registry;
}

}  // namespace

void RegisterClass(TClass cls) {
    auto& r = Registry();
    std::lock_guard guard(r.lock);
    TClass known = r.Find(cls->ClassName());
    if (known == cls) return;
    if (known) throw EClassError("A class named " + cls->ClassName() + " already exists");
    r.classes.push_back(cls);
}

void RegisterClasses(std::initializer_list<TClass> classes) {
    for (TClass c : classes) RegisterClass(c);
}

void UnRegisterClass(TClass cls) {
    auto& r = Registry();
    std::lock_guard guard(r.lock);
    std::erase(r.classes, cls);
}

TClass GetClass(std::string_view name) {
    auto& r = Registry();
    std::lock_guard guard(r.lock);
    return r.Find(name);
}

TClass FindClass(std::string_view name) {
    TClass c = GetClass(name);
    if (!c) throw EClassNotFound("Class " + String(name) + " not found");
    return c;
}

}  // namespace tarvel
