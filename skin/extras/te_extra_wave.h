#pragma once
// The sounds of the effect controls: a wave with play options, a component
// holding a collection of them, the global sound options, and the play
// functions through which a control sounds its enter, leave and click.

#include <cstdint>

#include "platform/classlib/Collections.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/Sets.h"
#include "platform/system/Sound.h"
#include "skin/extras/te_wave.h"

namespace tarvel {

enum TTeExtraWaveOption : uint8_t { ewoSync, ewoAsync, ewoNoDefault, ewoLoop, ewoNoStop };
using TTeExtraWaveOptions = TSet<TTeExtraWaveOption>;

// Do not interrupt a sound that plays; kept in the flags word, which the
// player takes as a request.
constexpr unsigned SND_NOSTOP = 0x0010;

class TTeExtraWave : public TTeWave {
    TARVEL_CLASS(TTeExtraWave, TTeWave)

public:
    TTeExtraWave();
    ~TTeExtraWave() override;  // stops what plays

    TTeExtraWaveOptions Options() const { return options_; }
    void SetOptions(TTeExtraWaveOptions value);
    // SND_MEMORY with the options' flags; synchronous is no flag.
    unsigned Flags() const { return flags_; }
    // Plays with the options' flags; a loop plays only asynchronously, and
    // a failure is swallowed.
    void ExtPlay();

private:
    TTeExtraWaveOptions options_{ewoAsync};
    unsigned flags_ = SND_ASYNC | SND_MEMORY;
};

class TTeExtraWaveCollectionItem : public TCollectionItem {
    TARVEL_CLASS(TTeExtraWaveCollectionItem, TCollectionItem)

public:
    explicit TTeExtraWaveCollectionItem(TCollection* collection);
    ~TTeExtraWaveCollectionItem() override;

    TTeExtraWave* Wave() const { return wave_.get(); }
    void SetWave(TTeExtraWave* value) { wave_->Assign(value); }
    TTeExtraWaveOptions Options() const { return wave_->Options(); }
    void SetOptions(TTeExtraWaveOptions value) { wave_->SetOptions(value); }
    // From another item its tag and wave.
    void Assign(TPersistent* source) override;

    int Tag = 0;

protected:
    String GetDisplayName() override { return wave_->Name(); }

private:
    std::unique_ptr<TTeExtraWave> wave_;
};

class TTeExtraWaveCollection : public TOwnedCollection {
    TARVEL_CLASS(TTeExtraWaveCollection, TOwnedCollection)

public:
    explicit TTeExtraWaveCollection(TPersistent* owner);
    TTeExtraWaveCollectionItem* Add() { return static_cast<TTeExtraWaveCollectionItem*>(TCollection::Add()); }
    TTeExtraWaveCollectionItem* GetItem(int index) const {
        return static_cast<TTeExtraWaveCollectionItem*>(Items(index));
    }
    void SetItem(int index, TTeExtraWaveCollectionItem* value) { Items(index)->Assign(value); }
};

inline constexpr const char* kExtraVersion = "2.0.6";

// The first list made while the global options have none becomes theirs
// until it goes.
class TTeExtraWaveList : public TComponent {
    TARVEL_CLASS(TTeExtraWaveList, TComponent)

public:
    explicit TTeExtraWaveList(TComponent* owner);
    ~TTeExtraWaveList() override;

    TTeExtraWaveCollection* Waves() const { return waves_.get(); }
    String ExtraVersion() const { return kExtraVersion; }
    void SetExtraVersion(const String&) {}

private:
    std::unique_ptr<TTeExtraWaveCollection> waves_;
};

// Which controls take the global sounds.
enum TTeSoundControl : uint8_t {
    kscButton = 0,       // push buttons
    kscSpeedButton = 1,  // speed buttons
    kscCheck = 2,        // check boxes, radio buttons and the combo box button's hover
    kscReserved = 3,
    kscComboClick = 4,  // the combo box button's click
};
using TTeSoundControls = TSet<TTeSoundControl>;

struct TDefaultSoundOptions {
    bool Enabled = false;
    int WaveClickIndex = -1;
    int WaveInIndex = -1;
    int WaveOutIndex = -1;
    TTeExtraWaveList* WaveList = nullptr;
    TTeSoundControls SoundControls{kscButton, kscCheck, kscReserved, kscComboClick};
};
extern TDefaultSoundOptions DefaultSoundOptions;

// The options as the unit starts them.
void InitExtraWave();

// Nothing for index -1, no list or an index beyond it; failures are swallowed.
void PlayWaveFromList(TTeExtraWaveList* list, int index);
// With useGlobal and the global switch on, the global list's sound of the
// kind; otherwise item index of list.
void PlayWaveInFromList(TTeExtraWaveList* list, int index, bool useGlobal);
void PlayWaveOutFromList(TTeExtraWaveList* list, int index, bool useGlobal);
void PlayWaveClickFromList(TTeExtraWaveList* list, int index, bool useGlobal);

// What a control's own wave index becomes: -1 unless a list with items is
// given and the value is 0 or more; at or beyond the last item, the last.
int NormalizeWaveIndex(TTeExtraWaveList* list, int value);

}  // namespace tarvel
