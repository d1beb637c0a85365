#pragma once
// What an effect procedure is given: the kinds of procedure, the cells of a
// slide, and the animation record a manual effect reads. The built-in
// effects (te_effect_list) need only this; the engine (te_effect) runs them.

#include <cstdint>
#include <memory>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Components.h"
#include "skin/core/te_bitmap.h"

namespace tarvel {

enum TteRotation : uint8_t { krNone, krRotate90, krRotate180, krRotate270 };

inline constexpr const char* kRandomEffect = "[ RANDOM ] - Random selection";
inline constexpr const char* kBitmapEffect = "[ BITMAP ] - Bitmap Animation";

class TteAnimationRec : public TComponent {
    TARVEL_CLASS(TteAnimationRec, TComponent)

public:
    explicit TteAnimationRec(TComponent* owner = nullptr);
    ~TteAnimationRec() override;

    // Copies another record as it stands, without clamping again.
    void Assign(TPersistent* source) override;

    const String& Effect() const { return effect_; }
    void SetEffect(const String& value) { effect_ = value; }
    // Milliseconds, held to 50..9000.
    int Time() const { return time_; }
    void SetTime(int value);
    // The side in pixels of one cell of the effect grid, held to 1..10.
    int Resolution() const { return resolution_; }
    void SetResolution(int value);
    // Tiles across and down, held to 1..20.
    int TileCount() const { return tileCount_; }
    void SetTileCount(int value);
    TteRotation Rotation() const { return rotation_; }
    void SetRotation(TteRotation value) { rotation_ = value; }
    // The pattern of the bitmap animation; setting copies.
    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(TBitmap* value);
    // Never read by the engine: callers decide with it whether to animate.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }

private:
    String effect_ = kRandomEffect;
    int time_ = 400;
    int resolution_ = 1;
    int tileCount_ = 1;
    TteRotation rotation_ = krNone;
    std::unique_ptr<TBitmap> bitmap_;
    bool enabled_ = false;
};

enum TteProcKind : uint8_t { pkFade, pkSlide, pkManual };

// Where a cell of a slide effect takes its picture from; alpha 0 leaves it alone.
struct TteSlideCell {
    int16_t Alpha;
    int16_t SourceColumn;
    int16_t SourceRow;
};

// Progress runs 0..100. Mask and cells come zeroed, width x height of them, row by row.
using TteFadeProc = void (*)(uint8_t* mask, int width, int height, uint8_t progress);
using TteSlideProc = void (*)(TteSlideCell* cells, int width, int height, uint8_t progress);
using TteManualProc = void (*)(TteBitmap* work, TteBitmap* target, TteAnimationRec* animation,
                               uint8_t progress);

}  // namespace tarvel
