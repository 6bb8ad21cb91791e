#pragma once
// The play-from-memory sound service. A caller hands over a complete RIFF WAVE file
// image; the service validates it, decodes it once (cached by content), and plays it on
// one voice per process through one output stream. The stream goes through the sound
// server where one runs (its timing comes from the server), through SDL's audio device
// otherwise, and is opened at the first play or beat grid and closed by ClearBeatGrid or
// Shutdown, so no stream exists while nothing can sound.
//
// A beat grid fixes a run's beats in samples: beat k starts exactly round(k * 60 * rate /
// bpm) samples after the grid's anchor, the sample heard at the run's start. Where a
// callback happens to run, how the load changes or other clients come and go moves no
// beat; a beat whose sample has gone before it could be placed is skipped, not played late.
// Thread-safe: any thread may call; the mixer runs on the output's own thread.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace plat::sound {

// Flag bits of PlaySound.
constexpr uint32_t Sync = 0x0; // return when the sound has finished
constexpr uint32_t Async = 0x1; // return at once, play in the background
constexpr uint32_t NoDefault = 0x2; // no fallback sound (there never is one here)
constexpr uint32_t Memory = 0x4; // the image is a file image in memory
constexpr uint32_t Loop = 0x8; // with Async: repeat until stopped
constexpr uint32_t NoStop = 0x10; // fail instead of replacing a playing sound

// Time from a requested clock time to the sound's start in the output stream. Requests
// are placed this far ahead so that one made for "now" still lands on its exact sample.
constexpr double LatencyMs()
{
    return 30.0;
}

// Plays `image` (a whole WAVE file of `size` bytes) as soon as possible: at the first
// sample the mixer has not produced yet. A null image or size 0 stops any sound and
// returns true. Returns false for an invalid image (which also replaces, that is stops,
// the playing sound unless NoStop is set) and when NoStop refuses; true otherwise, also
// when no audio device exists. The image may be freed or changed once the call returns.
bool PlaySound(const uint8_t* image, size_t size, uint32_t flags);

// The same, starting at program-clock time clockMs + LatencyMs() (fractional ms of
// TickCountPrecise). A time whose sample has already been produced starts at once.
bool PlaySoundAt(const uint8_t* image, size_t size, uint32_t flags, double clockMs);

void Stop();
// Opens the output stream now rather than at the first sound.
void Prepare();

// Opens the output if needed and anchors a beat grid: beat 0 is heard at program-clock
// time clockMs, beat k round(k * 60 * rate / bpm) samples later. Replaces any grid; a beat
// of the previous grid that has not begun is dropped.
void SetBeatGrid(double clockMs, int bpm);
// Plays `image` (flags as PlaySound; it never waits) starting exactly on beat `beat` of
// the grid. False for an invalid image (which stops the sound playing, unless NoStop) or
// without a grid; true otherwise, also when the beat had to be skipped.
bool PlaySoundOnBeat(const uint8_t* image, size_t size, uint32_t flags, int64_t beat);
// The grid's own time heard now, in milliseconds since beat 0 (beat k is heard at
// k * 60000 / bpm), on the output's clock; empty while no stream gives it. A stream that
// broke (the sound server went away) is reopened from here, at most once a second.
std::optional<double> BeatGridElapsedMs();
// Beats skipped because their sample had gone before they could be placed.
int64_t SkippedBeats();
// Drops the grid and any beat that has not begun, and closes the output stream.
void ClearBeatGrid();
// True while a sound is playing or waiting for its start.
bool Playing();
// Closes the output stream and the audio subsystem; wakes every waiting Sync call.
// The next play opens the output again.
void Shutdown();

// Checks a WAVE image without decoding it: chunk layout, format fields and, for MS ADPCM,
// every block's predictor index. Only images that pass are ever given to the decoder.
bool ValidWave(const uint8_t* image, size_t size);

namespace testing {

// Replaces the audio device by a manual output of `rate` frames per second and
// `bufferFrames` frames per callback; nothing plays until RenderNext is called. Resets
// the clock mapping, the sample counter, the voices and the cache. Without ReportTiming
// its clock mapping is estimated from the RenderNext times, as for SDL's device.
void UseManualOutput(int rate, int bufferFrames);
// Reports, as a sound server does, that sample `heard` is heard at program-clock clockMs.
void ReportTiming(double clockMs, double heard);
// The output fell behind: samples before `sample` are never heard.
void Discard(int64_t sample);
// Renders `frames` frames (a whole request of the output) for a callback at clockMs.
void RenderAt(float* out, int frames, double clockMs);
// True while the (manual or real) output stream is open.
bool OutputOpen();
// Goes back to the real device (opened at the next play).
void UseDeviceOutput();
// Runs the mixer for the next buffer as if the device's callback ran at the current
// program clock. `out` receives bufferFrames stereo float frames (may be null).
void RenderNext(float* out);
// Renders at least `frames` frames in whole callback-sized buffers and returns them.
std::vector<float> RenderFrames(int frames);
// The first output sample of every sound that has started, in order.
std::vector<int64_t> StartedAt();
// Frames produced since the output was (re)opened.
int64_t MixedFrames();
// The output stream's rate (0 before it is opened or without a device).
int OutputRate();

} // namespace testing

} // namespace plat::sound
