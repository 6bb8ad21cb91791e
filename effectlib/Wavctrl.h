#pragma once
// The wave player: TepWave holds one complete RIFF WAVE file image in memory and stores
// it in a form description as the binary value "Data"; TepWavePlayer owns a wave and
// hands it to the process's sound service with the flags its Options give. The service
// checks every image before it plays it and keeps its own decoded copy, so a wave may
// change while its sound plays. GUI thread only.

#include "framework/core/Component.h"

#include <cstdint>
#include <memory>
#include <string>

class TMemoryStream;
class TStream;

enum TepWavePlayOpt : uint8_t { wpoSync, wpoAsync, wpoNoDefault, wpoLoop, wpoNoStop };
// Bit i for member i.
using TOptionsSet = uint8_t;

constexpr TOptionsSet WavePlayOpt(TepWavePlayOpt o) { return TOptionsSet(1u << o); }

// One WAVE file image, byte for byte from "RIFF" to the end of the last chunk. Owns its
// data stream, which exists for the whole life of the object.
class TepWave : public TPersistent {
public:
    TepWave();
    ~TepWave() override;
    const char* ClassName() const override { return "TepWave"; }

    // Another wave: takes a copy of its bytes. Null: keeps the bytes and reports a change.
    void Assign(TPersistent* Source) override;

    // Replaces the image with the stream's bytes, read from its current position, which
    // must be its start. A failing read raises the framework's error and leaves the wave
    // as it was.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;
    // Raises the framework's file errors; a failed load leaves the wave as it was, a failed
    // save leaves an existing file as it was.
    virtual void LoadFromFile(const std::string& FileName);
    virtual void SaveToFile(const std::string& FileName) const;

    void Changed(TObject* Sender);
    // True only without a data stream, which never happens: an image of 0 bytes still
    // counts as present, so its "Data" is written.
    bool GetEmpty() const { return FData == nullptr; }
    bool Modified() const { return FModified; }
    void SetModified(bool Value);

    const uint8_t* Memory() const;
    int64_t Size() const;

    TNotifyEvent OnChange;

protected:
    void DefineProperties(TFiler* Filer) override;
    virtual void ReadData(TStream* Stream);
    virtual void WriteData(TStream* Stream) const;

private:
    bool FModified = false;
    std::unique_ptr<TMemoryStream> FData;
};

// A non-visual component that plays its wave. Options map to the service's flags; Play
// starts the sound as soon as possible, PlayAt at a given instant of the program clock
// (plus the service's fixed output latency), PlayOnBeat exactly on a beat of the sound
// service's beat grid. BeforePlay and AfterPlay fire on every play,
// Enabled or not; with wpoAsync, AfterPlay fires as soon as playing has started.
class TepWavePlayer : public TComponent {
public:
    explicit TepWavePlayer(TComponent* AOwner);
    ~TepWavePlayer() override;
    const char* ClassName() const override { return "TepWavePlayer"; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TOptionsSet Options() const { return FOptions; }
    void SetOptions(TOptionsSet Value);
    // The flag word handed to the sound service (Memory always set).
    uint16_t SoundFlags() const { return FSoundFlags; }
    TepWave* Wave() const { return FWave.get(); }
    void SetWave(TepWave* Value);

    void Play();
    // clockMs: milliseconds of the program clock, fractions allowed.
    void PlayAt(double clockMs);
    // beat: index on the grid set with the sound service's SetBeatGrid.
    void PlayOnBeat(int64_t beat);
    // Stops whatever sound the process plays through the service.
    void Abort();

    TNotifyEvent BeforePlay;
    TNotifyEvent AfterPlay;

private:
    enum class When { Now, AtClock, OnBeat };
    void DoPlay(When when, double clockMs, int64_t beat);

    bool FEnabled = true;
    TOptionsSet FOptions = WavePlayOpt(wpoSync);
    uint16_t FSoundFlags = 0x0004;
    std::unique_ptr<TepWave> FWave;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
