#include "app/formMetronome.h"

#include "app/CThreadedTimer.h"
#include "app/CommandLine.h"
#include "app/MixerLauncher.h"
#include "app/SettingsFile.h"
#include "app/USdkUrlLauncher.h"
#include "effectlib/Bmslider.h"
#include "effectlib/EPCtrls.h"
#include "effectlib/EPLabels.h"
#include "effectlib/mediabtn.h"
#include "effectlib/Wavctrl.h"
#include "framework/controls/Application.h"
#include "framework/stdctrls/Bevel.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Image.h"
#include "framework/core/IniFile.h"
#include "framework/core/Stream.h"
#include "framework/stdctrls/PaintBox.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"
#include "platform/system/Directories.h"
#include "rackctls/RackCtls.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <span>
#include <utility>

// The accent click's wave image, built into the program from resources/accent.wav.
std::span<const uint8_t> AccentWaveImage();

TfrmMetronome* frmMetronome = nullptr;

namespace {

constexpr double NeedleCentre = 1.5707963267948966;      // pi/2, upright
constexpr double NeedleAmplitude = 0.5235987755982988;   // pi/6, 30 degrees
constexpr double Pi = 3.141592653589793;
constexpr double MinutesToSeconds = 0.016666666666666666;
constexpr int LampTicks = 10;
constexpr int MinMeter = 1, MaxMeter = 9;
// Page Up and Page Down move the tempo by this many beats per minute.
constexpr int TempoPage = 10;
// The keypad's 1; its digits follow on.
constexpr uint16_t NumpadOne = 0x61;

// Ticks left until the beat lamp goes dark.
int32_t flashTicks = 0;

// Conversion toward zero to a 32-bit integer, saturating where the value does not fit.
int32_t TruncToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    if (v >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    return int32_t(v);
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

// The fractional program clock at which the integer clock read c, c lying less than
// 2^31 ms in the past. Both clocks count from the same start; the integer one wraps.
double PreciseClockAt(int32_t c)
{
    double now = std::floor(plat::TickCountPrecise());
    int32_t nowWrapped = int32_t(uint32_t(int64_t(now)));
    return now - double(plat::ElapsedMs(c, nowWrapped));
}

void NeedleRegion(const TPoint (&points)[7], plat::Region& out)
{
    plat::Point p[7];
    for (int i = 0; i < 7; ++i)
        p[i] = { points[i].X, points[i].Y };
    out.AssignPolygon(p, plat::FillMode::Winding, { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX });
}

} // namespace

TfrmMetronome::TfrmMetronome(TComponent* Owner)
    : TForm(Owner)
{
    RegisterRackCtls();
    InitInheritedComponent(MetronomeFormText());
    try {
        Construct();
    } catch (...) {
        // The destructor will not run: the timer must not outlive the half-built window.
        FormDestroy(this);
        throw;
    }
}

void TfrmMetronome::Construct()
{
    iniFile = new TIniFile(SettingsFileName());
    // Until the per-user file exists, a copy on read-only media reads the file beside it.
    std::unique_ptr<TIniFile> carried;
    if (std::string source = SettingsSourceFileName(); source != iniFile->FileName())
        carried = std::make_unique<TIniFile>(source);
    TIniFile* stored = carried ? carried.get() : iniFile;

    SetWidth(Panel1->Width());
    SetHeight(Panel1->Height());

    // The position is applied as stored; only an edge past the 32-bit range is pulled in.
    int32_t top = stored->ReadInteger("Form.Position", "top", Top());
    int32_t left = stored->ReadInteger("Form.Position", "left", Left());
    left = int32_t(std::min<int64_t>(left, int64_t(INT32_MAX) - Width()));
    top = int32_t(std::min<int64_t>(top, int64_t(INT32_MAX) - Height()));
    SetBounds(left, top, Width(), Height());

    tickInterval = 10;
    tickTimer = new ZRThreadedTimer(true);
    tickTimer->SetInterval(tickInterval);
    tickTimer->SetOnTimer(TNotifyEvent(this, &TfrmMetronome::timerTimer, "timerTimer"));
    // Ticks change nothing while Run is off, so the timer runs only while Run is on. The
    // idle handler follows btnRun however it is switched, with a click or without.
    tickTimer->SetEnabled(btnRun->StateOn());
    Application->OnIdle = TIdleEvent(this, &TfrmMetronome::ApplicationIdle);
    tickTimer->Resume();
    tickTimer->SetPriority(tpNormal);

    beatBase = 0.0;
    lastBeat = 0.0;

    sliderTempo->SetValue(stored->ReadInteger("Config", "Tempo", 120));
    btnBeep->SetStateOn(stored->ReadInteger("Config", "Beep", 0) != 0);
    // A meter that is not a number of 1 to 9 is not one: the bar has no accent.
    const int32_t storedMeter = stored->ReadInteger("Config", "Meter", MinMeter);
    meter = storedMeter >= MinMeter && storedMeter <= MaxMeter ? storedMeter : MinMeter;

    needleAngle = NeedleCentre;
    needle = { pbArea->Width() / 2, pbArea->Height(), 50, 10, 200, 10, 5 };
    needleErase = needle;
    needleErase.baseOffset = needle.baseOffset - 2;
    needleErase.shaftWidth = needle.shaftWidth + 6;
    needleErase.headWidth = needle.headWidth + 25;
    needleErase.headLength = needle.headLength + 25;

    pbArea->Canvas()->Brush()->SetColor(0x808080);
    pbArea->Canvas()->Pen()->SetColor(0x808080);

    wavePlay->Abort();
    SetUpMixerButton();

    // The accent plays as the beat does, from a player of the window's own.
    accentPlay = std::make_unique<TepWavePlayer>(nullptr);
    accentPlay->SetOptions(wavePlay->Options());
    accentPlay->SetEnabled(wavePlay->Enabled());
    const std::span<const uint8_t> accent = AccentWaveImage();
    TMemoryStream image;
    image.Write(accent.data(), int64_t(accent.size()));
    image.SetPosition(0);
    accentPlay->Wave()->LoadFromStream(&image);

    OnUnusedKey = TUnusedKeyEvent(this, &TfrmMetronome::FormUnusedKey, "FormUnusedKey");
}

void TfrmMetronome::ApplyStartOptions(const CommandLine& options)
{
    if (options.tempo)
        sliderTempo->SetValue(*options.tempo);
    if (options.meter)
        SetMeter(*options.meter);
    if (options.beep)
        btnBeep->SetStateOn(*options.beep);
    if (options.run && !btnRun->StateOn())
        btnRun->KeyClick();
}

TfrmMetronome::~TfrmMetronome()
{
    // OnDestroy runs while every control still exists.
    BeforeDestruction();
    ReleaseTimerAndSettings();
}

void TfrmMetronome::SetUpMixerButton() { SetUpMixerIcon(imgMixerLogo, sbMixer); }

// ---- Closing and destruction ----------------------------------------------------------

void TfrmMetronome::btnQuitClick(TObject*) { Close(); }

// A settings file that cannot be written costs the settings, not the close: the error is
// shown once and the window closes all the same.
void TfrmMetronome::FormClose(TObject*, TCloseAction&)
{
    try {
        WriteSettings();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
}

void TfrmMetronome::WriteSettings()
{
    if (!iniFile)
        return;
    std::string folder = ExtractFilePath(iniFile->FileName());
    if (!folder.empty())
        plat::CreateDirectories(folder);
    iniFile->WriteInteger("Form.Position", "top", Top());
    iniFile->WriteInteger("Form.Position", "left", Left());
    iniFile->WriteInteger("Config", "Tempo", sliderTempo->Value());
    iniFile->WriteInteger("Config", "Beep", btnBeep->StateOn() ? 1 : 0);
    // A bar without an accent is the usual case and leaves no trace in the file.
    if (meter != MinMeter)
        iniFile->WriteInteger("Config", "Meter", meter);
    else
        iniFile->DeleteKey("Config", "Meter");
}

void TfrmMetronome::FormDestroy(TObject*)
{
    ReleaseSound();
    if (Application && Application->OnIdle.Data() == static_cast<void*>(this))
        Application->OnIdle = nullptr;
    ReleaseTimerAndSettings();
}

// The one place the timer and the settings file go, whichever of OnDestroy, the
// destructor or a failed construction comes first. The timer goes first, so that no tick
// runs once the window's state starts to go.
void TfrmMetronome::ReleaseTimerAndSettings()
{
    if (tickTimer) {
        tickTimer->Stop();
        delete tickTimer;
        tickTimer = nullptr;
    }
    delete iniFile;
    iniFile = nullptr;
}

// ---- Beat engine ----------------------------------------------------------------------

void TfrmMetronome::ApplicationIdle(TObject*, bool&)
{
    if (tickTimer)
        tickTimer->SetEnabled(btnRun->StateOn());
    // With Run off no tick comes to notice it: the sound stream closes here.
    if (!btnRun->StateOn())
        ReleaseSound();
}

void TfrmMetronome::timerTimer(TObject*)
{
    if (!btnRun->StateOn()) {
        ReleaseSound();
        return;
    }
    if (restartArmed) {
        double since = double(plat::ElapsedMs(tempoChangedAt, plat::TickCount())) * 1000.0 * 0.001;
        if (since > 500.0) {
            restartArmed = false;
            tempoChangedAt = 0;
            runStart = plat::TickCount();
            beatBase = 0.0;
            lastBeat = 0.0;
            clockCorrection = 0.0;
        }
        return;
    }
    const int32_t t = plat::TickCount();
    const int tempo = sliderTempo->Value();
    const bool anchored = btnBeep->StateOn() && FollowSoundGrid(tempo);
    if (!btnBeep->StateOn())
        ReleaseSound();
    bool fromSound = false;
    const double elapsedMs = RunElapsedMs(t, fromSound);
    const double w = tempo * Pi * MinutesToSeconds * 2.0;
    const double e = elapsedMs * 0.001;
    const double phase = w * e;
    const double angle = std::sin(phase) * NeedleAmplitude + NeedleCentre;
    // Whole beat periods since the run began. On the program clock they are counted
    // exactly: the phase would put a tick that falls right on a beat a rounding error
    // short of it. The sound's clock is fractional and never runs backwards in a run.
    double beat = double(FloorDiv(int64_t(plat::ElapsedMs(runStart, t)) * tempo, 60000));
    if (fromSound || clockCorrection != 0.0)
        beat = std::floor(elapsedMs * tempo / 60000.0);
    if (fromSound && beat < lastBeat)
        beat = lastBeat;

    if (beat != lastBeat) {
        lastBeat = beat;
        dispBeat->SetValue(TruncToInt32(beat - beatBase));
        flashTicks = LampTicks;
        pnlFlash->SetColor(clLime);
        pnlFlash->Repaint();
        // The click of the next beat is placed now, a beat ahead, on its exact sample.
        if (btnBeep->StateOn())
            QueueBeat(int64_t(beat) + 1);
    } else {
        if (anchored)
            QueueBeat(int64_t(beat) + 1);
        if (flashTicks > 0)
            --flashTicks;
        if (flashTicks == 0) {
            pnlFlash->SetColor(clGreen);
            pnlFlash->Repaint();
        }
    }
    MoveNeedle(angle);
}

double TfrmMetronome::RunElapsedMs(int32_t t, bool& fromSound)
{
    const double programMs = double(plat::ElapsedMs(runStart, t));
    fromSound = false;
    if (gridSet) {
        if (auto heard = plat::sound::BeatGridElapsedMs()) {
            fromSound = true;
            const double ms = std::max(*heard, 0.0);
            clockCorrection = ms - programMs;
            return ms;
        }
    }
    return programMs + clockCorrection;
}

bool TfrmMetronome::FollowSoundGrid(int tempo)
{
    if (gridSet && gridRunStart == runStart && gridTempo == tempo)
        return false;
    // Beat 0 where the picture has it: on the program clock, less what the sound's clock
    // had gained on it before Beep went off.
    plat::sound::SetBeatGrid(PreciseClockAt(runStart) - clockCorrection, tempo);
    gridSet = true;
    gridRunStart = runStart;
    gridTempo = tempo;
    queuedBeat = -1;
    return true;
}

void TfrmMetronome::QueueBeat(int64_t beat)
{
    queuedBeat = beat;
    queuedAccent = AccentOn(beat);
    if (queuedAccent)
        accentPlay->PlayOnBeat(beat);
    else
        wavePlay->PlayOnBeat(beat);
}

bool TfrmMetronome::AccentOn(int64_t beat) const
{
    if (meter <= MinMeter)
        return false;
    const int64_t count = beat - int64_t(beatBase);
    return FloorMod(count - 1, meter) == 0;
}

// The click of the beat placed a beat ahead was chosen with the meter and the count of
// that moment; when either changed, the waiting beat gets the click it now needs. A
// queued beat that has not begun is replaced on the grid.
void TfrmMetronome::RequeueBeat()
{
    if (gridSet && queuedBeat >= 0 && AccentOn(queuedBeat) != queuedAccent)
        QueueBeat(queuedBeat);
}

void TfrmMetronome::SetMeter(int value)
{
    if (value < MinMeter || value > MaxMeter || value == meter)
        return;
    meter = value;
    RequeueBeat();
}

// No output stream stays open while nothing can sound.
void TfrmMetronome::ReleaseSound()
{
    if (!gridSet)
        return;
    gridSet = false;
    queuedBeat = -1;
    plat::sound::ClearBeatGrid();
}

void TfrmMetronome::btnRunClick(TObject*)
{
    restartArmed = false;
    tempoChangedAt = 0;
    runStart = plat::TickCount();
    beatBase = 0.0;
    lastBeat = 0.0;
    clockCorrection = 0.0;
}

void TfrmMetronome::btnResetClick(TObject*)
{
    beatBase = lastBeat;
    dispBeat->SetValue(0);
    // The next beat counts 1 and opens a bar.
    RequeueBeat();
}

void TfrmMetronome::sliderTempoChange(TObject*)
{
    lblTempoValue->SetCaption(Format("%d bpm", sliderTempo->Value()));
    if (btnRun->StateOn()) {
        tempoChangedAt = plat::TickCount();
        restartArmed = true;
        // The beat placed a beat ahead belongs to the run that the change ends.
        ReleaseSound();
    }
}

// ---- Keys ---------------------------------------------------------------------------

// Space, B and R act as clicks on Run, Beep and RST; T taps the tempo; 1 to 9 set the
// beats per bar; the slider's keys reach the slider wherever the focus is. Held keys
// repeat only for the tempo. Keys with Ctrl or Alt are left alone.
void TfrmMetronome::FormUnusedKey(TObject*, uint16_t& Key, TShiftState Shift, bool Repeat)
{
    if (Shift & (ssCtrl | ssAlt))
        return;
    const bool plain = !(Shift & ssShift);
    switch (Key) {
    case plat::vk::Up:
    case plat::vk::Down:
    case plat::vk::Left:
    case plat::vk::Right:
    case plat::vk::Home:
    case plat::vk::End: {
        // A focused slider has had the key already.
        if (!sliderTempo->Enabled() || FocusedControl() == sliderTempo)
            return;
        const uint16_t key = Key;
        Key = 0;
        sliderTempo->Perform(WM_KEYDOWN, key, LPARAM(Shift));
        return;
    }
    case plat::vk::Prior:
    case plat::vk::Next:
        if (plain && sliderTempo->Enabled()) {
            const int step = Key == plat::vk::Prior ? TempoPage : -TempoPage;
            Key = 0;
            sliderTempo->SetValue(sliderTempo->Value() + step);
        }
        return;
    default:
        break;
    }
    if (Repeat || !plain)
        return;
    if (Key == plat::vk::Space) {
        Key = 0;
        btnRun->KeyClick();
    } else if (Key == 'B') {
        Key = 0;
        btnBeep->KeyClick();
    } else if (Key == 'R') {
        Key = 0;
        btnReset->KeyClick();
    } else if (Key == 'T') {
        Key = 0;
        if (std::optional<int> tempo = tapTempo.Tap(plat::TickCount()))
            sliderTempo->SetValue(*tempo);
    } else if ((Key >= '1' && Key <= '9') || (Key >= NumpadOne && Key <= NumpadOne + 8)) {
        const int value = Key >= NumpadOne ? Key - NumpadOne + 1 : Key - '0';
        Key = 0;
        SetMeter(value);
    }
}

// ---- Needle -------------------------------------------------------------------------

void TfrmMetronome::pbAreaPaint(TObject*)
{
    TPoint points[7];
    NeedlePolygon(points, 0, 0, needleAngle, needle);
    pbArea->Canvas()->Polygon(points, 6);
}

// Repaints, inside the tick, only what the needle leaves (with the dial erased back) and
// what it newly covers; pixels that stay needle are not painted at all. The needle's
// regions are the pixels it paints, outline included, so that nothing it painted stays
// behind.
void TfrmMetronome::MoveNeedle(double angle)
{
    const int32_t dx = pbArea->Left(), dy = pbArea->Top();
    TPoint points[7];

    NeedlePolygon(points, dx, dy, needleAngle, needleErase);
    plat::Region& E = moveErase;
    NeedleRegion(points, E);
    if (needleCoveredAngle != needleAngle) {
        NeedlePolygon(points, dx, dy, needleAngle, needle);
        needleMask.Covered(points, needleCovered);
    }
    // The old needle's pixels go to O, whose storage takes the new needle's.
    plat::Region& O = moveKept;
    std::swap(O, needleCovered);
    // Where both outlines are cut short, a corner pixel of the old needle's outline may
    // lie just outside the enlarged outline; it is erased all the same.
    E |= O;

    needleAngle = angle;
    NeedlePolygon(points, dx, dy, needleAngle, needle);
    needleMask.Covered(points, needleCovered);
    needleCoveredAngle = needleAngle;
    const plat::Region& N = needleCovered;

    E -= N;                                        // E2: what the needle leaves
    moveNew.Assign(N, O, plat::RegionOp::Diff);    // N2: what it newly covers

    // What stays needle, O met with N, is apart from E and N2, so validating it first
    // gives the same update region. The last tick's paint left nothing pending, so there
    // is usually nothing to validate it from.
    if (!pnlDisplay->UpdateRegion().Empty()) {
        O &= N;
        pnlDisplay->ValidateRgn(&O);
    }
    pnlDisplay->InvalidateRgn(&E, true);
    pnlDisplay->InvalidateRgn(&moveNew, false);
    pnlDisplay->Update();
}

// ---- Desktop launchers ----------------------------------------------------------------

void TfrmMetronome::imgLogoClick(TObject*) { OpenMakersPage(); }

void TfrmMetronome::sbMixerClick(TObject*) { StartMixer(); }

// ---- Published table ------------------------------------------------------------------

BEGIN_PROPERTIES(TfrmMetronome, TForm)
    PUBLISHED_FIELD(Panel1)
    PUBLISHED_FIELD(ScrewPanel1)
    PUBLISHED_FIELD(epShadowLabel1)
    PUBLISHED_FIELD(pnlDisplay)
    PUBLISHED_FIELD(lblTempoValue)
    PUBLISHED_FIELD(btnQuit)
    PUBLISHED_FIELD(pbArea)
    PUBLISHED_FIELD(btnRun)
    PUBLISHED_FIELD(sliderTempo)
    PUBLISHED_FIELD(epMoveForm1)
    PUBLISHED_FIELD(btnBeep)
    PUBLISHED_FIELD(pnlFlash)
    PUBLISHED_FIELD(btnReset)
    PUBLISHED_FIELD(dispBeat)
    PUBLISHED_FIELD(epMoveForm2)
    PUBLISHED_FIELD(epMoveForm3)
    PUBLISHED_FIELD(wavePlay)
    PUBLISHED_FIELD(imgLogo)
    PUBLISHED_FIELD(Bevel1)
    PUBLISHED_FIELD(Image1)
    PUBLISHED_FIELD(bevelMixer)
    PUBLISHED_FIELD(sbMixer)
    PUBLISHED_FIELD(imgMixerLogo)
    PUBLISHED_METHOD(btnQuitClick)
    PUBLISHED_METHOD(pbAreaPaint)
    PUBLISHED_METHOD(timerTimer)
    PUBLISHED_METHOD(sliderTempoChange)
    PUBLISHED_METHOD(btnRunClick)
    PUBLISHED_METHOD(FormDestroy)
    PUBLISHED_METHOD(FormClose)
    PUBLISHED_METHOD(btnResetClick)
    PUBLISHED_METHOD(imgLogoClick)
    PUBLISHED_METHOD(sbMixerClick)
END_PROPERTIES
