#pragma once
// A wave sound kept in memory: the complete bytes of a WAVE file, carried
// in form data as one binary property, and a plain list of them.

#include <memory>
#include <span>
#include <vector>

#include "platform/classlib/Persistent.h"
#include "platform/classlib/Streams.h"

namespace tarvel {

class TTeWave : public TPersistent {
    TARVEL_CLASS(TTeWave, TPersistent)

public:
    TTeWave();
    ~TTeWave() override;

    // No bytes means nothing to play.
    bool Empty() const { return data_.Size() == 0; }
    bool Modified() const { return modified_; }
    // True is a change; false only clears the flag.
    void SetModified(bool value);
    const String& Name() const { return name_; }
    void SetName(const String& value) { name_ = value; }
    const TMemoryStream& Data() const { return data_; }

    // At position 0 the whole stream is the wave's bytes. Further on it is
    // a 32-bit byte count, the name, then the bytes; a count or name larger
    // than what the stream holds raises EReadError and changes nothing.
    void LoadFromStream(TStream& stream);
    // Further on than position 0 the count and name go first.
    void SaveToStream(TStream& stream);
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

    // From another wave its bytes (not its name); from null only a change.
    void Assign(TPersistent* source) override;

    // Plays at once, from memory, replacing what plays.
    void Play();
    // Stops whatever sound plays, this wave's or another.
    static void Abort();

    TNotifyEvent OnChange;

protected:
    void DefineProperties(TFiler& filer) override;
    void Changed();
    // The bytes as they would go to the player.
    std::span<const uint8_t> Bytes() const;

private:
    // Size is not a const question of a stream.
    mutable TMemoryStream data_;
    String name_;
    bool modified_ = false;
};

// Owns its waves.
class TTeWaveList {
public:
    TTeWave* Add(std::unique_ptr<TTeWave> wave);
    int Count() const { return static_cast<int>(waves_.size()); }
    // Null outside 0..Count-1.
    TTeWave* GetWave(int index) const;
    // The first wave of that name, whatever the case; null when none.
    TTeWave* GetWaveByName(const String& name) const;
    void Clear() { waves_.clear(); }

private:
    std::vector<std::unique_ptr<TTeWave>> waves_;
};

}  // namespace tarvel
