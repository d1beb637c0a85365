#include "skin/extras/te_wave.h"

#include "platform/base/Exceptions.h"
#include "platform/classlib/Filer.h"
#include "platform/system/Sound.h"
#include "skin/core/te_utils.h"

namespace tarvel {

TTeWave::TTeWave() = default;
TTeWave::~TTeWave() = default;

void TTeWave::SetModified(bool value) {
    if (value)
        Changed();
    else
        modified_ = false;
}

void TTeWave::Changed() {
    modified_ = true;
    if (OnChange) OnChange(this);
}

std::span<const uint8_t> TTeWave::Bytes() const {
    return {data_.Memory(), static_cast<size_t>(data_.Size())};
}

void TTeWave::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> bytes;
    String name = name_;
    if (stream.Position() == 0) {
        bytes = ReadBoundedBytes(stream, stream.Size());
    } else {
        const int32_t count = ReadInt32(stream);
        if (count < 0) throw EReadError("Wave data size out of range");
        name = ReadString(stream);
        const int64_t left = StreamBytesLeft(stream);
        if (left >= 0 && count > left) throw EReadError("Wave data size out of range");
        bytes = ReadBoundedBytes(stream, count);
    }
    // Only a whole read replaces what the wave held.
    name_ = name;
    data_.Clear();
    if (!bytes.empty()) data_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Changed();
}

void TTeWave::SaveToStream(TStream& stream) {
    const std::span<const uint8_t> bytes = Bytes();
    if (stream.Position() != 0) {
        WriteInt32(stream, static_cast<int32_t>(bytes.size()));
        WriteString(stream, name_);
    }
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TTeWave::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead, kMaxSoundFileBytes);
    LoadFromStream(file);
}

void TTeWave::SaveToFile(const String& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TTeWave::Assign(TPersistent* source) {
    if (!source) {
        Changed();
        return;
    }
    if (auto* other = dynamic_cast<TTeWave*>(source)) {
        if (other != this) {
            const std::span<const uint8_t> bytes = other->Bytes();
            data_.Clear();
            if (!bytes.empty()) data_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        }
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TTeWave::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        "WaveData", [this](TStream& s) { LoadFromStream(s); }, [this](TStream& s) { SaveToStream(s); },
        !Empty());
}

void TTeWave::Play() {
    if (!Empty()) sndPlaySound(Bytes(), SND_ASYNC | SND_MEMORY);
}

void TTeWave::Abort() { sndPlaySound(nullptr, 0, 0); }

TTeWave* TTeWaveList::Add(std::unique_ptr<TTeWave> wave) {
    waves_.push_back(std::move(wave));
    return waves_.back().get();
}

TTeWave* TTeWaveList::GetWave(int index) const {
    return index >= 0 && index < Count() ? waves_[static_cast<size_t>(index)].get() : nullptr;
}

TTeWave* TTeWaveList::GetWaveByName(const String& name) const {
    for (const auto& w : waves_)
        if (SameText(w->Name(), name)) return w.get();
    return nullptr;
}

}  // namespace tarvel
