#include "skin/extctrls/te_extctrls_country.h"

#include <algorithm>
#include <set>
#include <type_traits>

#include "skin/extctrls/te_extctrls_startup.h"

namespace tarvel {

String RemoveABCs(const String& text) {
    String digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

int GetCountryAndCode(TCountryInfo& record) {
    const TLineGetCountry& reader = LineGetCountry();
    if (!reader) return -1;
    TCountryEntry entry;
    if (const int error = reader(record.NextCountryId, entry); error != 0) return error;
    record.Name = entry.name;
    record.LongDistance = RemoveABCs(entry.longDistanceRule);
    record.International = RemoveABCs(entry.internationalRule);
    record.SameArea = RemoveABCs(entry.sameAreaRule);
    record.CountryCode = entry.countryCode;
    record.IsoCode = entry.isoCode;
    record.NextCountryId = entry.nextCountryId;
    return 0;
}

std::vector<TCountryInfo> ReadCountries() {
    std::vector<TCountryInfo> list;
    std::set<uint32_t> seen;
    TCountryInfo record;
    record.NextCountryId = 1;
    // A reader whose identifiers run in a circle would keep us here forever.
    while (record.NextCountryId != 0 && seen.insert(record.NextCountryId).second) {
        if (GetCountryAndCode(record) != 0) break;
        list.push_back(record);
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const TCountryInfo& a, const TCountryInfo& b) { return a.Name < b.Name; });
    return list;
}

template <class Base>
TTeCountryBox<Base>::TTeCountryBox(TComponent* owner) : Base(owner) {
    if constexpr (std::is_base_of_v<TComboBox, Base>) this->SetStyle(csDropDownList);
    list_ = ReadCountries();
    if (!this->ComponentState().Contains(csDesigning)) Refresh();
}

template <class Base>
void TTeCountryBox<Base>::Refresh() {
    if (loaded_) return;
    loaded_ = true;
    TStrings* items = this->Items();
    items->BeginUpdate();
    for (const TCountryInfo& c : list_) items->Add(c.Name);
    items->EndUpdate();
}

template <class Base>
void TTeCountryBox<Base>::SetCountryName(const String& name) {
    Refresh();
    const auto it =
        std::find_if(list_.begin(), list_.end(), [&](const TCountryInfo& c) { return c.Name == name; });
    this->SetItemIndex(it == list_.end() ? -1 : static_cast<int>(it - list_.begin()));
}

template <class Base>
String TTeCountryBox<Base>::CountryName() {
    Refresh();
    const int index = this->ItemIndex();
    if (index < 0 || index >= this->Items()->Count()) return {};
    if constexpr (std::is_base_of_v<TComboBox, Base>) return this->GetText();
    return this->Items()->Strings(index);
}

template <class Base>
TCountryInfo TTeCountryBox<Base>::CountryInfo(const String& name) const {
    const auto it =
        std::find_if(list_.begin(), list_.end(), [&](const TCountryInfo& c) { return c.Name == name; });
    return it == list_.end() ? TCountryInfo{} : *it;
}

template <class Base>
String TTeCountryBox<Base>::Field(String TCountryInfo::*field) {
    const String name = CountryName();
    return name.empty() ? String{} : CountryInfo(name).*field;
}

template class TTeCountryBox<TTeSComboBox>;
template class TTeCountryBox<TTeListBox>;

}  // namespace tarvel
