#pragma once
// The transition engine: it animates a rectangle of a canvas from an old
// picture (the source) to a new one (the target). A caller names an effect
// in a TteAnimationRec and starts it in an animation slot; one shared 20 ms
// window timer then draws a blend of the two pictures into the canvas until
// the set time has passed. Effects are procedures registered by name.
// Slots grow on demand, so a control that reserves one always gets one.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/StringLists.h"
#include "skin/core/te_bitmap.h"
#include "skin/extras/te_effect_procs.h"

namespace tarvel {

// ---- effect registry ----------------------------------------------------------------------

class EProcItemError : public Exception {
public:
    using Exception::Exception;
};

class TteProcItem {
public:
    TteProcKind Kind = pkFade;
    void* Proc = nullptr;
    // The kind's prefix ("[ FADE ] - ") and the registered name.
    String Name;
    // The name without its kind prefix.
    String BareName() const;
};

class TteProcList {
public:
    // The first item whose display name, else whose bare name, matches
    // without regard to case; null when none does.
    TteProcItem* GetProcs(const String& name) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TteProcItem* Items(int index) const { return items_[static_cast<size_t>(index)].get(); }
    void Add(std::unique_ptr<TteProcItem> item) { items_.push_back(std::move(item)); }
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TteProcItem>> items_;
};

extern TteProcList* ProcList;

// Raises EProcItemError when the name (any case, any kind) or the procedure
// is registered already.
void RegisterProc(const String& name, TteProcKind kind, void* proc);
// The names effect pickers offer: the two special names, then the display
// names registered by the engine's start. The caller does not own it.
TStringList* GetEffectList();
String GetEffectListComma();

// ---- slots --------------------------------------------------------------------------------

// Starts an animation in slot index, or in the first slot neither running
// nor reserved when index is -1 (a new one when all are taken); a running
// slot is stopped first. Answers the slot, or -1 for an index that is no
// slot. A missing or empty picture or an effect that names no procedure
// starts nothing: the slot is answered but IsAnimating is false. The caller
// keeps canvas, pictures and record alive while the slot runs.
int StartMultiAnimation(TCanvas* canvas, int x, int y, TteBitmap* source, TteBitmap* target,
                        TteAnimationRec* animation, int index);
// With draw, and a canvas that has a handle, the last frame is drawn once
// more. Frees what the slot holds; the reservation stays.
void StopMultiAnimation(int index, bool draw);
bool IsAnimating(int index);
// Runs an animation in any free slot and serves the message queue, waiting
// for events between frames, until it has ended. It draws from copies of the
// pictures and the record, and ends early when the record or its owner goes
// (a form closed meanwhile). Answers whether the animation ran to its end.
bool ExecuteAnimation(TCanvas* canvas, int x, int y, TteBitmap* source, TteBitmap* target,
                      TteAnimationRec* animation);
// Marks the first slot neither running nor reserved (a new one when all are
// taken) as reserved.
int ReserveIndex();
// Only a reserved slot is released.
void ReleaseReserved(int index);
int SlotCount();

// Stretches a srcW x srcH rectangle of a byte mask (rows srcW bytes long)
// into the alpha byte of a rectangle of 32-bit pixels, nearest neighbour.
void StretchAlphaRect(uint32_t* dstBits, int dstWidth, int dstHeight, int dstX, int dstY, int dstW, int dstH,
                      int srcX, int srcY, int srcW, int srcH, const uint8_t* srcBits);

// The start of the engine: the registry with its built-in effects, the
// effect list, the slots and the timer; it also plays the skinned frames'
// show animation from then on. The end frees them. Both may be
// called again; the window system must be up.
void InitEffects();
void DoneEffects();

}  // namespace tarvel
