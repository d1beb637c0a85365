#include "adjust/InitialValues.h"

#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/system/ProfileFiles.h"

namespace tarvel {

ProfileIntReader AdjustIniReader() {
    return [file = AppPath("BMSAdjust.ini")](std::string_view section, std::string_view key, int fallback) {
        return GetPrivateProfileInt(section, key, fallback, file);
    };
}

std::optional<ProtectionTexts> InitialProtectionValues(const ProfileIntReader& read, int productVariant) {
    const char* section = productVariant == 1 ? "3UPara" : productVariant == 0 ? "BMSPara" : nullptr;
    if (!section) return std::nullopt;
    ProtectionTexts texts;
    for (int i = 0; i < kProtectionCount; ++i)
        texts[i] = IntToStr(read(section, "Num" + IntToStr(i + 1), 3000));
    return texts;
}

std::vector<ReferenceCurrentCell> ReferenceCurrents(const ProfileIntReader& read, std::string_view section,
                                                    int firstPoint, int lastPoint, int fallback) {
    std::vector<ReferenceCurrentCell> cells;
    for (int n = firstPoint; n <= lastPoint; ++n) {
        const bool shortGrid = n > 6;
        const int row = 2 * (shortGrid ? n - 6 : n) - 1;
        const std::string_view grid = shortGrid ? "SG_CKB1" : "SG_CKB";
        cells.push_back({grid, {1, row, IntToStr(read(section, "Charge" + IntToStr(n), fallback))}});
        cells.push_back({grid, {2, row, IntToStr(read(section, "DisCharge" + IntToStr(n), fallback))}});
    }
    return cells;
}

std::vector<ReferenceCurrentCell> VariantReferenceCurrents(const ProfileIntReader& read, int productVariant) {
    if (productVariant == 1) return ReferenceCurrents(read, "3UCurrentAdjust", 1, 11, 10);
    if (productVariant == 0) return ReferenceCurrents(read, "BMSCurrentAdjust", 1, 6, 5);
    return {};
}

}  // namespace tarvel
