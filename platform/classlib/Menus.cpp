#include "platform/classlib/Menus.h"

#include <algorithm>

#include "platform/classlib/ImageLists.h"

namespace tarvel {

namespace {

struct KeyName {
    WORD key;
    const char* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

struct ModifierName {
    TShortCut flag;
    const char* prefix;
};
constexpr ModifierName kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

String KeyToText(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return "";
}

String StripAmpersands(const String& s) {
    String out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += s[i];
    }
    return out;
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut s = key;
    if (shift.Contains(ssShift)) s |= scShift;
    if (shift.Contains(ssCtrl)) s |= scCtrl;
    if (shift.Contains(ssAlt)) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = {};
    if (shortCut & scShift) shift.Include(ssShift);
    if (shortCut & scCtrl) shift.Include(ssCtrl);
    if (shortCut & scAlt) shift.Include(ssAlt);
}

String ShortCutToText(TShortCut shortCut) {
    String name = KeyToText(shortCut & 0xFF);
    if (name.empty()) return "";
    String out;
    for (const ModifierName& m : kModifiers)
        if (shortCut & m.flag) out += m.prefix;
    return out + name;
}

TShortCut TextToShortCut(const String& text) {
    String rest = text;
    TShortCut flags = 0;
    for (bool found = true; found;) {
        found = false;
        for (const ModifierName& m : kModifiers) {
            size_t n = std::char_traits<char>::length(m.prefix);
            if (rest.size() > n && SameText(rest.substr(0, n), m.prefix)) {
                flags |= m.flag;
                rest = rest.substr(n);
                found = true;
            }
        }
    }
    for (int key = 1; key < 256; ++key) {
        String name = KeyToText(static_cast<WORD>(key));
        if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(key | flags);
    }
    return scNone;
}

// ---- TMenuItem ----------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("Menu index out of range");
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw EInvalidOperation("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Delete(int index) { delete Items(index); }

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const String& caption) const {
    for (TMenuItem* item : items_)
        if (SameText(StripAmpersands(item->caption_), StripAmpersands(caption))) return item;
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) {
    if (shortCut == scNone) return nullptr;
    for (TMenuItem* item : items_)
        if (item->shortCut_ == shortCut) return item;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->FindShortCut(shortCut)) return found;
    return nullptr;
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

// ---- TMenu -----------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {}

TMenu::~TMenu() { items_.reset(); }

void TMenu::SetImages(TCustomImageList* images) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images) images->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

bool TMenu::IsShortCut(TMessage& message) {
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (message.LParam & KF_ALTDOWN_BIT) shift.Include(ssAlt);
    TMenuItem* item = items_->FindShortCut(ShortCut(static_cast<WORD>(message.WParam), shift));
    if (!item) return false;
    std::vector<TMenuItem*> chain;
    for (TMenuItem* i = item; i && i != items_.get(); i = i->Parent()) chain.push_back(i);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!(*it)->Enabled()) break;
        (*it)->Click();
    }
    return true;
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    if (TMenuItem* chosen = TrackMenu(Items(), TPoint{x, y}, Images())) chosen->Click();
}

}  // namespace tarvel
