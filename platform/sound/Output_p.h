#pragma once
// An output stream fed by the mixer. Each kind pulls buffers from the mixer on its own
// thread; what it knows of the stream's timing it reports to the mixer. Opened and closed
// under the sound service's control lock only.

#include <atomic>
#include <memory>
#include <string>

namespace plat::sound {

class Mixer;

class Output {
public:
    virtual ~Output() = default;
    // Opens a stereo float stream near `rate` frames per second and starts pulling from
    // `mixer` (after resetting it to the rate obtained). False, with the reason, when no
    // stream could be opened.
    virtual bool Open(Mixer& mixer, int rate, std::string& error) = 0;
    // The rate of the open stream.
    virtual int Rate() const = 0;
    // True once the stream has failed for good (its server went away).
    virtual bool Broken() const { return false; }
    // Stops pulling and closes the stream; no callback runs once it returns.
    virtual void Close() = 0;
};

// Through a PulseAudio (or PipeWire) sound server, with its stream timing reported to the
// mixer and every buffer written at its absolute place in the stream. Null when the
// program was not built with the server's client library.
std::unique_ptr<Output> CreateServerOutput();
// Through SDL's audio device; the timing is estimated from the callback times.
std::unique_ptr<Output> CreateDeviceOutput();

} // namespace plat::sound
