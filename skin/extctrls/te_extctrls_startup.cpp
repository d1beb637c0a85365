#include "skin/extctrls/te_extctrls_startup.h"

#include "platform/classlib/Objects.h"
#include "platform/system/DiallingCodes.h"
#include "platform/system/Locales.h"
#include "skin/extctrls/te_extctrls_controlbar.h"
#include "skin/extctrls/te_extctrls_nativetabs.h"
#include "skin/extctrls/te_extctrls_notebook.h"
#include "skin/extctrls/te_extctrls_pages.h"
#include "skin/extctrls/te_extctrls_toolbar.h"

namespace tarvel {

namespace {

int StartCount = 0;
TLineGetCountry CountryReader;

// There is no telephony country service here: the countries come from our
// own table of ISO codes and English names, by position, and their calling
// codes and dialling prefixes from the installed phone number metadata. That
// metadata has no same-area rule: inside one area only the subscriber number
// is dialled, so the same-area prefix stays empty. A country the metadata
// does not know (Antarctica) keeps its name with an empty code and rules.
int ReadTableCountry(uint32_t countryId, TCountryEntry& entry) {
    const auto countries = Countries();
    if (countryId < 1 || countryId > countries.size()) return -1;
    const CountryInfo& c = countries[countryId - 1];
    const DiallingCodes codes = DiallingCodesFor(c.code);
    entry = TCountryEntry{};
    entry.countryCode = String(codes.callingCode);
    entry.isoCode = String(c.code);
    entry.name = String(c.name);
    entry.longDistanceRule = String(codes.longDistance);
    entry.internationalRule = String(codes.international);
    entry.nextCountryId = countryId < countries.size() ? countryId + 1 : 0;
    return 0;
}

// The painter list only grows, so the painters go in once per process.
void RegisterPaintersOnce() {
    static const bool done = [] {
        RegisterControlBarBackground();
        RegisterTabSheetBackground();
        RegisterToolBarBackground();
        RegisterNativeTabBackgrounds();
        return true;
    }();
    (void)done;
}

}  // namespace

void InitExtCtrls() {
    if (StartCount++ > 0) return;
    CountryReader = &ReadTableCountry;
    RegisterPaintersOnce();
    RegisterClasses({TTePage::StaticClass(), TTeTabSheet::StaticClass(), TTeSTabSheet::StaticClass()});
}

void DoneExtCtrls() {
    if (StartCount == 0 || --StartCount > 0) return;
    CountryReader = nullptr;
}

const TLineGetCountry& LineGetCountry() { return CountryReader; }

void SetLineGetCountry(TLineGetCountry reader) { CountryReader = std::move(reader); }

}  // namespace tarvel
