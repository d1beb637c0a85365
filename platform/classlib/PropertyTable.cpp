#include "platform/classlib/PropertyTable.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "platform/classlib/Components.h"
#include "platform/classlib/FontIdents.h"
#include "platform/classlib/Graphics.h"

namespace tarvel {

namespace {

void DeclareComponent(TPropertyTable& t) {
    TPropInfo tag("Tag", TPropKind::Integer, {}, 0);
    tag.GetOrd = [](TPersistent& o) -> int64_t { return static_cast<TComponent&>(o).Tag; };
    tag.SetOrd = [](TPersistent& o, int64_t v) { static_cast<TComponent&>(o).Tag = static_cast<int>(v); };
    t.Add(std::move(tag));
}

void DeclareFont(TPropertyTable& t) {
    t.Charset<&TFont::Charset, &TFont::SetCharset>("Charset")
        .Color<&TFont::Color, &TFont::SetColor>("Color")
        .Integer<&TFont::Height, &TFont::SetHeight>("Height")
        .Text<&TFont::Name, &TFont::SetName>("Name")
        .Enumeration<&TFont::Pitch, &TFont::SetPitch>("Pitch", FontPitchIdents(), fpDefault)
        .SetOf<&TFont::Style, &TFont::SetStyle>("Style", FontStyleIdents());
}

struct PropertyRegistry {
    std::mutex lock;
    // Tables are never removed, so the infos they hold stay where they are.
    std::map<TClass, std::unique_ptr<TPropertyTable>> tables;

    PropertyRegistry() {
        Put(TComponent::StaticClass(), DeclareComponent);
        Put(TFont::StaticClass(), DeclareFont);
    }

    void Put(TClass cls, void (*declare)(TPropertyTable&)) {
        if (tables.contains(cls)) return;
        auto table = std::make_unique<TPropertyTable>();
        declare(*table);
        tables.emplace(cls, std::move(table));
    }

    const TPropertyTable* Own(TClass cls) const {
        auto it = tables.find(cls);
        return it == tables.end() ? nullptr : it->second.get();
    }
};

PropertyRegistry& Registry() {
    static PropertyRegistry registry;
    return registry;
}

}  // namespace

TPropertyTable& TPropertyTable::Add(TPropInfo info) {
    props_.push_back(std::move(info));
    return *this;
}

void RegisterPropertyTable(TClass cls, void (*declare)(TPropertyTable&)) {
    auto& r = Registry();
    std::lock_guard guard(r.lock);
    r.Put(cls, declare);
}

std::vector<const TPropInfo*> GetPropList(TClass cls) {
    std::vector<TClass> chain;
    for (TClass c = cls; c; c = c->ClassParent()) chain.push_back(c);
    std::vector<const TPropInfo*> list;
    auto& r = Registry();
    std::lock_guard guard(r.lock);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (const TPropertyTable* table = r.Own(*it)) {
            for (const TPropInfo& p : table->Properties()) list.push_back(&p);
        }
    }
    return list;
}

const TPropInfo* FindPropInfo(TClass cls, std::string_view name) {
    auto& r = Registry();
    std::lock_guard guard(r.lock);
    for (TClass c = cls; c; c = c->ClassParent()) {
        const TPropertyTable* table = r.Own(c);
        if (!table) continue;
        const auto& props = table->Properties();
        auto it = std::find_if(props.begin(), props.end(),
                               [&](const TPropInfo& p) { return SameText(p.Name, name); });
        if (it != props.end()) return &*it;
    }
    return nullptr;
}

}  // namespace tarvel
