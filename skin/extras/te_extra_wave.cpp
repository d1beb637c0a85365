#include "skin/extras/te_extra_wave.h"

#include <algorithm>

#include "platform/system/Sound.h"

namespace tarvel {

TDefaultSoundOptions DefaultSoundOptions;

void InitExtraWave() { DefaultSoundOptions = TDefaultSoundOptions{}; }

// ---- TTeExtraWave -------------------------------------------------------------------------

TTeExtraWave::TTeExtraWave() { SetName("Extra Wave"); }

TTeExtraWave::~TTeExtraWave() { Abort(); }

void TTeExtraWave::SetOptions(TTeExtraWaveOptions value) {
    if (value == options_) return;
    options_ = value;
    unsigned flags = SND_MEMORY;
    if (value.Contains(ewoAsync)) flags |= SND_ASYNC;
    if (value.Contains(ewoNoDefault)) flags |= SND_NODEFAULT;
    if (value.Contains(ewoLoop)) flags |= SND_LOOP;
    if (value.Contains(ewoNoStop)) flags |= SND_NOSTOP;
    flags_ = flags;
}

void TTeExtraWave::ExtPlay() {
    if (Empty()) return;
    unsigned flags = flags_ & ~SND_NOSTOP;
    // A sound that loops and waits for its end would never return.
    if (!(flags & SND_ASYNC)) flags &= ~SND_LOOP;
    try {
        sndPlaySound(Bytes(), flags);
    } catch (...) {
    }
}

// ---- collection -----------------------------------------------------------------------------

TTeExtraWaveCollectionItem::TTeExtraWaveCollectionItem(TCollection* collection)
    : TCollectionItem(collection), wave_(std::make_unique<TTeExtraWave>()) {}

TTeExtraWaveCollectionItem::~TTeExtraWaveCollectionItem() = default;

void TTeExtraWaveCollectionItem::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TTeExtraWaveCollectionItem*>(source)) {
        Tag = other->Tag;
        wave_->Assign(other->wave_.get());
        return;
    }
    TCollectionItem::Assign(source);
}

TTeExtraWaveCollection::TTeExtraWaveCollection(TPersistent* owner)
    : TOwnedCollection(owner, TTeExtraWaveCollectionItem::StaticClass()) {}

TTeExtraWaveList::TTeExtraWaveList(TComponent* owner)
    : TComponent(owner), waves_(std::make_unique<TTeExtraWaveCollection>(this)) {
    if (!DefaultSoundOptions.WaveList) DefaultSoundOptions.WaveList = this;
}

TTeExtraWaveList::~TTeExtraWaveList() {
    if (DefaultSoundOptions.WaveList == this) DefaultSoundOptions.WaveList = nullptr;
}

// ---- playing ------------------------------------------------------------------------------

void PlayWaveFromList(TTeExtraWaveList* list, int index) {
    if (!list || index < 0 || index >= list->Waves()->Count()) return;
    try {
        list->Waves()->GetItem(index)->Wave()->ExtPlay();
    } catch (...) {
    }
}

namespace {

void PlayKind(TTeExtraWaveList* list, int index, bool useGlobal, int TDefaultSoundOptions::*globalIndex) {
    if (useGlobal && DefaultSoundOptions.Enabled)
        PlayWaveFromList(DefaultSoundOptions.WaveList, DefaultSoundOptions.*globalIndex);
    else
        PlayWaveFromList(list, index);
}

}  // namespace

void PlayWaveInFromList(TTeExtraWaveList* list, int index, bool useGlobal) {
    PlayKind(list, index, useGlobal, &TDefaultSoundOptions::WaveInIndex);
}
void PlayWaveOutFromList(TTeExtraWaveList* list, int index, bool useGlobal) {
    PlayKind(list, index, useGlobal, &TDefaultSoundOptions::WaveOutIndex);
}
void PlayWaveClickFromList(TTeExtraWaveList* list, int index, bool useGlobal) {
    PlayKind(list, index, useGlobal, &TDefaultSoundOptions::WaveClickIndex);
}

int NormalizeWaveIndex(TTeExtraWaveList* list, int value) {
    if (!list || list->Waves()->Count() == 0 || value < 0) return -1;
    return std::min(value, list->Waves()->Count() - 1);
}

}  // namespace tarvel
