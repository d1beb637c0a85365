// TS_RunState: one tile per module of the parallel system, 4 rows of 16,
// and the legend of the tile colours below them.

#include <initializer_list>
#include <utility>

#include "app/Main_Pages.h"
#include "platform/base/Strings.h"

namespace tarvel {
namespace {

constexpr int kTilesPerRow = 16;
// The 16 tiles of a row fit the page's view, so no tile is out of sight.
constexpr int kTileWidth = 60;
constexpr int kTileHeight = 130;
constexpr int kTileGap = 1;
constexpr int kLegendStep = 138;

// The legend's lamps; their captions come with the start captions. The
// discharging lamp is lighter than the tiles' 0xFFFFAA.
constexpr std::pair<const char*, TColor> kLegend[] = {
    {"TeLabel8", 0x80D98D},  {"TeLabel9", 0xFFFF53},  {"TeLabel10", 0x80FF00}, {"TeLabel12", 0xF1D2B4},
    {"TeLabel11", 0xFFD0FF}, {"TeLabel13", 0x6A6AFF}, {"TeLabel14", 0xB0ACB9},
};

String TwoDigits(int n) { return n < 10 ? "0" + IntToStr(n) : IntToStr(n); }

void BuildTile(TMainForm& form, TWinControl* panel, int index) {
    const String n = IntToStr(index + 1);
    const int left = 4 + (index % kTilesPerRow) * (kTileWidth + kTileGap);
    const int top = 8 + (index / kTilesPerRow) * (kTileHeight + kTileGap);
    auto* tile = MakeControl<TTeGroupBox>(&form, panel, "", left, top, kTileWidth, kTileHeight);
    tile->SetCaption(Utf8ToWide(TwoDigits(index + 1)));

    // The cap sits on the body like a battery's terminal.
    auto* cap = MakeControl<TGauge>(&form, tile, "BatPosCG" + n, 19, 15, 22, 6);
    cap->SetKind(gkHorizontalBar);
    cap->SetShowText(false);
    auto* body = MakeControl<TGauge>(&form, tile, "Bat_RunState" + n, 11, 21, 38, 68);
    body->SetKind(gkVerticalBar);
    body->Font()->SetColor(clRed);
    // The click label lies over the body. It keeps its size when its text
    // goes: sized to no text it would be a few pixels no one can find.
    auto* click = MakeControl<TTeLabel>(&form, tile, "Bat_Label" + n, 11, 21, 38, 68);
    click->SetAutoSize(false);
    auto* edit = MakeControl<TTeSEdit>(&form, tile, "TeSEdit2" + TwoDigits(index + 1), 2, 40, 56, 21);
    auto* position = MakeControl<TTeLabel>(&form, tile, "BatPosi" + n, 19, 40, 30, 13);
    auto* voltage = MakeControl<TTeLabel>(&form, tile, "Batt_Vol" + n, 2, 93, 57, 14);
    auto* current = MakeControl<TTeLabel>(&form, tile, "Bat_Curr" + n, 2, 109, 57, 14);
    // A module's "V  51031mV" and "I  -12001mA" must show whole in a tile;
    // our face runs wider than the one the tiles were laid out for.
    for (TTeLabel* reading : {voltage, current}) {
        reading->SetAutoSize(false);
        reading->FontOptions()->SetSizeDelta(-1);
    }

    // Whatever part of the tile a person clicks stands for its module.
    for (TControl* part : std::initializer_list<TControl*>{tile, cap, body, voltage, current})
        part->Tag = index;
    form.TileParts[index] = {tile, cap, body, voltage, current};
    form.RunStateGauges[index] = body;
    form.PosGauges[index] = cap;
    form.ModuleLabels[index] = click;
    form.TileEdits[index] = edit;
    form.PositionLabels[index] = position;
    form.VoltageLabels[index] = voltage;
    form.CurrentLabels[index] = current;
}

}  // namespace

void BuildModuleTiles(TMainForm& form, TWinControl* panel) {
    for (int i = 0; i < kModuleCount; ++i) BuildTile(form, panel, i);

    const int legendTop = 8 + 4 * (kTileHeight + kTileGap) + 4;
    form.RunColor = MakeControl<TTeGroupBox>(&form, panel, "RunColor", 4, legendTop,
                                             16 * (kTileWidth + kTileGap) - 1, 48);
    int left = 4;
    for (const auto& [name, colour] : kLegend) {
        auto* label = MakeControl<TTeLabel>(&form, form.RunColor, name, left, 22, 100, 16);
        label->SetAlignment(taRightJustify);
        label->SetAutoSize(false);
        auto* lamp = MakeControl<TShape>(&form, form.RunColor, "", left + 104, 20, 18, 18);
        lamp->SetShape(stCircle);
        lamp->Brush()->SetColor(colour);
        left += kLegendStep;
    }
}

}  // namespace tarvel
