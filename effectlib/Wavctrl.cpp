#include "effectlib/Wavctrl.h"

#include "framework/core/Filer.h"
#include "framework/core/Stream.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "platform/sound/Sound.h"
#include "platform/system/Files.h"

#include <cstring>
#include <vector>

// ---- TepWave ------------------------------------------------------------------------

TepWave::TepWave()
    : FData(std::make_unique<TMemoryStream>())
{
}

TepWave::~TepWave() = default;

const uint8_t* TepWave::Memory() const
{
    return static_cast<const uint8_t*>(FData->Memory());
}

int64_t TepWave::Size() const { return FData->Size(); }

void TepWave::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TepWave*>(Source)) {
        if (other != this) {
            FData->SetSize(0);
            FData->SetPosition(0);
            FData->WriteBuffer(other->Memory(), other->Size());
            FData->SetPosition(0);
        }
        Changed(this);
        return;
    }
    if (!Source) {
        Changed(this);
        return;
    }
    TPersistent::Assign(Source);
}

void TepWave::Changed(TObject*)
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TepWave::SetModified(bool Value)
{
    if (Value)
        Changed(this);
    else
        FModified = false;
}

// The whole image is read into a buffer of its own first, so a short stream changes
// nothing.
void TepWave::LoadFromStream(TStream* Stream)
{
    int64_t size = Stream->Size();
    std::vector<uint8_t> bytes(size_t(size > 0 ? size : 0));
    Stream->ReadBuffer(bytes.data(), int64_t(bytes.size()));
    FData->SetSize(0);
    FData->SetPosition(0);
    FData->WriteBuffer(bytes.data(), int64_t(bytes.size()));
    FData->SetPosition(0);
    Changed(this);
}

void TepWave::SaveToStream(TStream* Stream) const
{
    Stream->WriteBuffer(Memory(), Size());
}

void TepWave::LoadFromFile(const std::string& FileName)
{
    TFileStream file(FileName, fmOpenRead);
    LoadFromStream(&file);
}

// The new content goes to a fresh file that replaces the old one only once complete.
void TepWave::SaveToFile(const std::string& FileName) const
{
    std::string bytes(reinterpret_cast<const char*>(Memory()), size_t(Size()));
    std::string reason;
    if (!plat::WriteFileAtomic(FileName, bytes, &reason))
        throw EFCreateError(Format("Cannot create file \"%s\". %s", ExpandFileName(FileName),
            reason));
}

void TepWave::ReadData(TStream* Stream) { LoadFromStream(Stream); }

void TepWave::WriteData(TStream* Stream) const { SaveToStream(Stream); }

void TepWave::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(&s); }, [this](TStream& s) { WriteData(&s); },
        !GetEmpty());
}

// ---- TepWavePlayer ------------------------------------------------------------------

TepWavePlayer::TepWavePlayer(TComponent* AOwner)
    : TComponent(AOwner)
    , FWave(std::make_unique<TepWave>())
{
}

// A sound still playing is stopped before the wave goes.
TepWavePlayer::~TepWavePlayer()
{
    *FAlive = false;
    plat::sound::PlaySound(nullptr, 0, 0);
}

void TepWavePlayer::SetOptions(TOptionsSet Value)
{
    if (Value == FOptions)
        return;
    FOptions = Value;
    uint16_t flags = plat::sound::Memory;
    if (Value & WavePlayOpt(wpoAsync))
        flags |= plat::sound::Async;
    if (Value & WavePlayOpt(wpoNoDefault))
        flags |= plat::sound::NoDefault;
    if (Value & WavePlayOpt(wpoLoop))
        flags |= plat::sound::Loop;
    if (Value & WavePlayOpt(wpoNoStop))
        flags |= plat::sound::NoStop;
    FSoundFlags = flags;
}

void TepWavePlayer::SetWave(TepWave* Value) { FWave->Assign(Value); }

void TepWavePlayer::Play() { DoPlay(When::Now, 0.0, 0); }

void TepWavePlayer::PlayAt(double clockMs) { DoPlay(When::AtClock, clockMs, 0); }

void TepWavePlayer::PlayOnBeat(int64_t beat) { DoPlay(When::OnBeat, 0.0, beat); }

// The events may free the player, so it is checked after each of them. An empty wave
// hands no image to the service, which stops any sound that plays.
void TepWavePlayer::DoPlay(When when, double clockMs, int64_t beat)
{
    auto alive = FAlive;
    if (BeforePlay) {
        BeforePlay(this);
        if (!*alive)
            return;
    }
    if (FEnabled) {
        const uint8_t* image = FWave->Size() > 0 ? FWave->Memory() : nullptr;
        size_t size = size_t(FWave->Size());
        switch (when) {
        case When::Now:
            plat::sound::PlaySound(image, size, FSoundFlags);
            break;
        case When::AtClock:
            plat::sound::PlaySoundAt(image, size, FSoundFlags, clockMs);
            break;
        case When::OnBeat:
            plat::sound::PlaySoundOnBeat(image, size, FSoundFlags, beat);
            break;
        }
    }
    if (AfterPlay)
        AfterPlay(this);
}

void TepWavePlayer::Abort() { plat::sound::PlaySound(nullptr, 0, 0); }

// ---- Published properties -----------------------------------------------------------

BEGIN_PROPERTIES(TepWave, TPersistent)
END_PROPERTIES

BEGIN_PROPERTIES(TepWavePlayer, TComponent)
    .Bool("Enabled", &TepWavePlayer::Enabled, &TepWavePlayer::SetEnabled)
    .Set("Options", &TepWavePlayer::Options, &TepWavePlayer::SetOptions,
        { "wpoSync", "wpoAsync", "wpoNoDefault", "wpoLoop", "wpoNoStop" })
        .Default(WavePlayOpt(wpoSync))
    .Object("Wave", &TepWavePlayer::Wave)
    PUBLISHED_EVENT(BeforePlay)
    PUBLISHED_EVENT(AfterPlay)
END_PROPERTIES
