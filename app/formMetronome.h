#pragma once
// TfrmMetronome: the metronome's one window, a borderless instrument panel built from its
// form description. It owns every control on it (through ownership), the settings file
// object and the threaded timer, and holds the state of the needle and of the beat engine.
// Every tick, click and paint runs on the GUI thread; the timer's worker only hands ticks
// over. Construction reads the settings and starts the timer; FormClose writes the
// settings; FormDestroy stops the timer before anything else goes.

#include "app/Needle.h"
#include "app/NeedleMask.h"
#include "app/TapTempo.h"
#include "framework/controls/Form.h"

#include <cstdint>
#include <memory>

class TPanel;
class TScrewPanel;
class TepShadowLabel;
class TepBlurButton;
class TPaintBox;
class TLEDButton;
class TepBMPSlider;
class TepMoveForm;
class TLEDDisplay;
class TepWavePlayer;
class TImage;
class TBevel;
class TIniFile;
class ZRThreadedTimer;
struct CommandLine;

class TfrmMetronome : public TForm {
public:
    explicit TfrmMetronome(TComponent* Owner);
    ~TfrmMetronome() override;
    const char* ClassName() const override { return "TfrmMetronome"; }

    // Published fields, set by the form reader.
    TPanel* Panel1 = nullptr;
    TScrewPanel* ScrewPanel1 = nullptr;
    TepShadowLabel* epShadowLabel1 = nullptr;
    TScrewPanel* pnlDisplay = nullptr;
    TepShadowLabel* lblTempoValue = nullptr;
    TepBlurButton* btnQuit = nullptr;
    TPaintBox* pbArea = nullptr;
    TLEDButton* btnRun = nullptr;
    TepBMPSlider* sliderTempo = nullptr;
    TepMoveForm* epMoveForm1 = nullptr;
    TLEDButton* btnBeep = nullptr;
    TPanel* pnlFlash = nullptr;
    TLEDButton* btnReset = nullptr;
    TLEDDisplay* dispBeat = nullptr;
    TepMoveForm* epMoveForm2 = nullptr;
    TepMoveForm* epMoveForm3 = nullptr;
    TepWavePlayer* wavePlay = nullptr;
    TImage* imgLogo = nullptr;
    TBevel* Bevel1 = nullptr;
    TImage* Image1 = nullptr;
    TBevel* bevelMixer = nullptr;
    TLEDButton* sbMixer = nullptr;
    TImage* imgMixerLogo = nullptr;

    // Published event handlers, bound by name from the form description.
    void btnQuitClick(TObject* Sender);
    void pbAreaPaint(TObject* Sender);
    void timerTimer(TObject* Sender);
    void sliderTempoChange(TObject* Sender);
    void btnRunClick(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void btnResetClick(TObject* Sender);
    void imgLogoClick(TObject* Sender);
    void sbMixerClick(TObject* Sender);

    // Read-only views of the private state, for tests and measurements.
    double NeedleAngle() const { return needleAngle; }
    const NeedleShape& Needle() const { return needle; }
    const NeedleShape& NeedleErase() const { return needleErase; }
    ZRThreadedTimer* TickTimer() const { return tickTimer; }
    TIniFile* IniFile() const { return iniFile; }
    // The beat of the sound's grid that the wave player was last asked to sound (-1: none
    // since the grid was anchored), and whether a grid is set.
    int64_t QueuedBeat() const { return queuedBeat; }
    bool SoundGridSet() const { return gridSet; }
    // Whether the click queued for QueuedBeat is the accent that opens a bar.
    bool QueuedAccent() const { return queuedAccent; }

    // Beats per bar, 1 to 9 (1: no accent). Other values are ignored.
    int Meter() const { return meter; }
    void SetMeter(int value);
    // The player of the accent click, made by the window beside wavePlay.
    TepWavePlayer* AccentPlayer() const { return accentPlay.get(); }
    // Applies the options of the command line, once the settings are read: tempo, meter
    // and Beep as given, and Run switched on as a click on it would.
    void ApplyStartOptions(const CommandLine& options);

private:
    // Steps 2 to 12 of construction, after the description is read.
    void Construct();
    void MoveNeedle(double angle);
    // Runs the tick timer exactly while btnRun is on.
    void ApplicationIdle(TObject* Sender, bool& Done);
    void SetUpMixerButton();
    void WriteSettings();
    void ReleaseTimerAndSettings();
    // The run's elapsed milliseconds at clock t: on the sound's clock while a grid gives
    // it, else on the program clock, kept continuous across a switch between the two.
    double RunElapsedMs(int32_t t, bool& fromSound);
    // Anchors the sound's beat grid on the current run; true when it was anchored anew.
    bool FollowSoundGrid(int tempo);
    void QueueBeat(int64_t beat);
    // Whether the beat of the sound's grid opens a bar (its count, shown from 1, is 1 more
    // than a multiple of the meter).
    bool AccentOn(int64_t beat) const;
    // Queues the waiting beat again when its click is no longer the right one.
    void RequeueBeat();
    void ReleaseSound();
    // Keys that no control used: the window's own keys.
    void FormUnusedKey(TObject* Sender, uint16_t& Key, TShiftState Shift, bool Repeat);

    ZRThreadedTimer* tickTimer = nullptr;
    double needleAngle = 0.0;
    NeedleShape needle;
    NeedleShape needleErase;
    int32_t tickInterval = 0;
    int32_t runStart = 0;
    int32_t tempoChangedAt = 0;
    double beatBase = 0.0;
    double lastBeat = 0.0;
    TIniFile* iniFile = nullptr;
    // A restart after a tempo change is pending. Held apart from tempoChangedAt, so that
    // a change made at a clock value of 0 or below (after 24.8 days) still arms it.
    bool restartArmed = false;
    // The sound's beat grid: anchored on runStart at gridTempo while Beep and Run are on.
    bool gridSet = false;
    int32_t gridRunStart = 0;
    int gridTempo = 0;
    int64_t queuedBeat = -1;
    bool queuedAccent = false;
    int meter = 1;
    std::unique_ptr<TepWavePlayer> accentPlay;
    TTapTempo tapTempo;
    // Milliseconds the sound's clock was ahead of the program clock when it stopped giving
    // the run's time, so that the picture does not jump when Beep goes off.
    double clockCorrection = 0.0;
    // The pixels the needle covers at needleAngle, kept from the last move.
    TNeedleMask needleMask;
    plat::Region needleCovered;
    double needleCoveredAngle = -1.0;
    // Working regions of a move, kept so that a steady swing allocates nothing.
    plat::Region moveErase, moveKept, moveNew;
};

// The single window, set by the application when it creates the form.
extern TfrmMetronome* frmMetronome;

// The window's form description, embedded at build time.
const char* MetronomeFormText();
