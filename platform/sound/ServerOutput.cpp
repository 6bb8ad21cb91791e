// The output through a PulseAudio server (PipeWire desktops serve the same protocol).
//
// The stream is the mixer's timeline: every buffer is written at the absolute byte offset
// of its first sample, so sample n of the mixer is sample n of the server's stream, and a
// sound placed on sample n is heard exactly there, whatever the buffer sizes and the
// moments the requests arrive. The stream starts corked with no prebuffering: once
// uncorked it plays on the server's clock even through an underrun (the read index then
// overtakes the write index and the skipped samples are lost), so its timeline never
// pauses and a grid of samples stays a grid in time. The heard position comes from the
// server's timing information (interpolated between its updates) and is reported to the
// mixer before every buffer.

#include "platform/sound/Mixer_p.h"
#include "platform/sound/Output_p.h"
#include "platform/system/Clock.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cmath>

namespace plat::sound {

namespace {

// Server-side buffer: the stream is written this far ahead of what is heard. Sounds are
// placed well before their time, so a short buffer costs nothing but keeps a latency
// change of the server (another client joining) small. The server asks for more once a
// request's worth has played, with 30 ms still queued: a request every 30 ms wakes the
// program a third as often as one every 10 ms, with the same margin against a late
// answer.
constexpr pa_usec_t TargetUsec = 60000;
constexpr pa_usec_t RequestUsec = 30000;
// How long a connection or a stream may take to become ready.
constexpr pa_usec_t ConnectUsec = 2000000;

class ServerOutput final : public Output {
public:
    ~ServerOutput() override { Close(); }

    bool Open(Mixer& mixer, int rate, std::string& error) override;
    int Rate() const override { return FRate; }
    bool Broken() const override { return FBroken.load(std::memory_order_acquire); }
    void Close() override;

private:
    static void ContextState(pa_context*, void* self);
    static void StreamState(pa_stream*, void* self);
    static void TimedOut(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self);
    static void WriteRequest(pa_stream*, size_t nbytes, void* self);

    // Waits on the loop (locked) until ready() or failed() holds or the deadline passes.
    template <class Ready, class Failed> bool WaitFor(Ready ready, Failed failed);
    void Write(size_t nbytes);
    std::string Reason() const;

    pa_threaded_mainloop* FLoop = nullptr;
    pa_context* FContext = nullptr;
    pa_stream* FStream = nullptr;
    Mixer* FMixer = nullptr;
    int FRate = 0;
    size_t FFrameBytes = 2 * sizeof(float);
    bool FTimedOut = false;
    std::atomic<bool> FBroken { false };
};

void ServerOutput::ContextState(pa_context* c, void* self)
{
    auto* out = static_cast<ServerOutput*>(self);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(c)))
        out->FBroken.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(out->FLoop, 0);
}

void ServerOutput::StreamState(pa_stream* s, void* self)
{
    auto* out = static_cast<ServerOutput*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(s)))
        out->FBroken.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(out->FLoop, 0);
}

void ServerOutput::TimedOut(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
{
    auto* out = static_cast<ServerOutput*>(self);
    out->FTimedOut = true;
    pa_threaded_mainloop_signal(out->FLoop, 0);
}

void ServerOutput::WriteRequest(pa_stream*, size_t nbytes, void* self)
{
    static_cast<ServerOutput*>(self)->Write(nbytes);
}

template <class Ready, class Failed> bool ServerOutput::WaitFor(Ready ready, Failed failed)
{
    FTimedOut = false;
    pa_time_event* timer
        = pa_context_rttime_new(FContext, pa_rtclock_now() + ConnectUsec, TimedOut, this);
    bool ok = false;
    for (;;) {
        if (ready()) {
            ok = true;
            break;
        }
        if (failed() || FTimedOut)
            break;
        pa_threaded_mainloop_wait(FLoop);
    }
    if (timer)
        pa_threaded_mainloop_get_api(FLoop)->time_free(timer);
    return ok;
}

std::string ServerOutput::Reason() const
{
    if (FTimedOut)
        return "the sound server did not answer";
    return pa_strerror(pa_context_errno(FContext));
}

bool ServerOutput::Open(Mixer& mixer, int rate, std::string& error)
{
    FMixer = &mixer;
    FLoop = pa_threaded_mainloop_new();
    if (!FLoop) {
        error = "cannot start the sound server's client";
        return false;
    }
    FContext = pa_context_new(pa_threaded_mainloop_get_api(FLoop), "Metronome");
    if (!FContext) {
        error = "cannot start the sound server's client";
        Close();
        return false;
    }
    pa_context_set_state_callback(FContext, ContextState, this);
    if (pa_context_connect(FContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error = pa_strerror(pa_context_errno(FContext));
        Close();
        return false;
    }
    pa_threaded_mainloop_lock(FLoop);
    if (pa_threaded_mainloop_start(FLoop) < 0) {
        pa_threaded_mainloop_unlock(FLoop);
        error = "cannot start the sound server's client";
        Close();
        return false;
    }
    bool connected = WaitFor([&] { return pa_context_get_state(FContext) == PA_CONTEXT_READY; },
        [&] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(FContext)); });
    if (!connected) {
        error = Reason();
        pa_threaded_mainloop_unlock(FLoop);
        Close();
        return false;
    }

    pa_sample_spec spec {};
    spec.format = PA_SAMPLE_FLOAT32NE;
    spec.rate = uint32_t(rate);
    spec.channels = 2;
    FFrameBytes = pa_frame_size(&spec);
    FRate = rate;
    FMixer->Reset(rate, true);
    FStream = pa_stream_new(FContext, "Beat", &spec, nullptr);
    if (!FStream) {
        error = Reason();
        pa_threaded_mainloop_unlock(FLoop);
        Close();
        return false;
    }
    pa_stream_set_state_callback(FStream, StreamState, this);
    pa_stream_set_write_callback(FStream, WriteRequest, this);
    pa_buffer_attr attr {};
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(pa_usec_to_bytes(TargetUsec, &spec));
    attr.prebuf = 0;
    attr.minreq = uint32_t(pa_usec_to_bytes(RequestUsec, &spec));
    attr.fragsize = uint32_t(-1);
    auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_INTERPOLATE_TIMING
        | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    bool ready = pa_stream_connect_playback(FStream, nullptr, &attr, flags, nullptr, nullptr) == 0
        && WaitFor([&] { return pa_stream_get_state(FStream) == PA_STREAM_READY; },
            [&] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(FStream)); });
    if (!ready) {
        error = Reason();
        pa_threaded_mainloop_unlock(FLoop);
        Close();
        return false;
    }
    if (pa_operation* op = pa_stream_cork(FStream, 0, nullptr, nullptr))
        pa_operation_unref(op);
    pa_threaded_mainloop_unlock(FLoop);
    return true;
}

void ServerOutput::Close()
{
    if (!FLoop)
        return;
    pa_threaded_mainloop_lock(FLoop);
    if (FStream) {
        pa_stream_set_write_callback(FStream, nullptr, nullptr);
        pa_stream_set_state_callback(FStream, nullptr, nullptr);
        pa_stream_disconnect(FStream);
    }
    if (FContext) {
        pa_context_set_state_callback(FContext, nullptr, nullptr);
        pa_context_disconnect(FContext);
    }
    pa_threaded_mainloop_unlock(FLoop);
    pa_threaded_mainloop_stop(FLoop);
    if (FStream)
        pa_stream_unref(FStream);
    if (FContext)
        pa_context_unref(FContext);
    pa_threaded_mainloop_free(FLoop);
    FStream = nullptr;
    FContext = nullptr;
    FLoop = nullptr;
    FRate = 0;
}

// Runs on the loop's thread with the loop locked.
void ServerOutput::Write(size_t nbytes)
{
    const double now = TickCountPrecise();
    // The position counts only once the stream really plays: before that the server
    // reports a time that stands still, which would anchor a grid too early.
    const pa_timing_info* timing = pa_stream_get_timing_info(FStream);
    pa_usec_t usec = 0;
    if (timing && timing->playing && pa_stream_get_time(FStream, &usec) == 0) {
        const double heard = double(usec) * FRate / 1e6;
        FMixer->ReportTiming(now, heard);
        // After an underrun the server has played past what was written: those samples
        // are gone, and writing resumes at the first one not heard yet.
        FMixer->Discard(int64_t(std::floor(heard)));
    }
    while (nbytes >= FFrameBytes) {
        void* data = nullptr;
        size_t n = nbytes;
        if (pa_stream_begin_write(FStream, &data, &n) < 0 || !data)
            return;
        n -= n % FFrameBytes;
        if (n == 0) {
            pa_stream_cancel_write(FStream);
            return;
        }
        const int64_t first = FMixer->MixedFrames();
        FMixer->Render(static_cast<float*>(data), int(n / FFrameBytes), now);
        if (pa_stream_write(FStream, data, n, nullptr, first * int64_t(FFrameBytes),
                PA_SEEK_ABSOLUTE)
            < 0)
            return;
        nbytes -= n;
    }
}

} // namespace

std::unique_ptr<Output> CreateServerOutput() { return std::make_unique<ServerOutput>(); }

} // namespace plat::sound
