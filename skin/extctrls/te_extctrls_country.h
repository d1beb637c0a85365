#pragma once
// TTeCountryComboBox and TTeCountryListBox: the countries the country reader
// knows (see te_extctrls_startup.h), by name and sorted, with the code and
// dialling prefixes of the selected one. Each control reads the countries
// once, when it is made; without a reader both stay empty and every property
// answers "".

#include <cstdint>
#include <vector>

#include "skin/controls/te_controls_listbox.h"
#include "skin/extctrls/te_extctrls_combo.h"

namespace tarvel {

struct TCountryInfo {
    String CountryCode;  // the calling code, "49"
    String IsoCode;      // "DE", when the reader knows it
    String Name;
    String LongDistance;
    String International;
    String SameArea;
    uint32_t NextCountryId = 1;
};

// The digits of `text`, in order.
String RemoveABCs(const String& text);
// Reads the country `record.NextCountryId` names into `record`: 0, the
// reader's error code, or -1 without a reader.
int GetCountryAndCode(TCountryInfo& record);
// Every country from identifier 1 on, sorted by name. The walk stops at the
// first error, at the end, and when an identifier comes round again.
std::vector<TCountryInfo> ReadCountries();

template <class Base>
class TTeCountryBox : public Base {
public:
    explicit TTeCountryBox(TComponent* owner);

    // Fills the items from the list read at construction, the first time.
    void Refresh();
    bool IsLoaded() const { return loaded_; }

    String CountryName();
    void SetCountryName(const String& name);
    String CountryCode() { return Field(&TCountryInfo::CountryCode); }
    String International() { return Field(&TCountryInfo::International); }
    String LongDistance() { return Field(&TCountryInfo::LongDistance); }
    String SameArea() { return Field(&TCountryInfo::SameArea); }
    // The record of the country called `name`; an empty one when not listed.
    TCountryInfo CountryInfo(const String& name) const;

private:
    String Field(String TCountryInfo::*field);

    std::vector<TCountryInfo> list_;
    bool loaded_ = false;
};

class TTeCountryComboBox : public TTeCountryBox<TTeSComboBox> {
    TARVEL_CLASS(TTeCountryComboBox, TTeCountryBox<TTeSComboBox>)

public:
    using TTeCountryBox<TTeSComboBox>::TTeCountryBox;
};

class TTeCountryListBox : public TTeCountryBox<TTeListBox> {
    TARVEL_CLASS(TTeCountryListBox, TTeCountryBox<TTeListBox>)

public:
    using TTeCountryBox<TTeListBox>::TTeCountryBox;
};

}  // namespace tarvel
