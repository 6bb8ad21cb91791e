#pragma once
// The signals that ask a program to end (SIGTERM, SIGINT, SIGHUP: a kill, a Ctrl+C, a
// closed terminal or session) turned into a call on an ordinary thread. The handler only
// writes one byte to a pipe, which is all a signal handler may safely do; a watcher thread
// reads the pipe and calls the function given here, which may then wake an event loop.

#include <functional>

namespace plat {

// Installs the handlers and starts the watcher thread; onSignal then runs on that thread
// once per signal received, with the signal's number. A signal that the parent process
// set to be ignored stays ignored (nohup, or a job started in the background of a
// script), as the parent asked. A second call replaces the function. False (with the
// reason reported) when the pipe or thread cannot be made; the signals then keep their
// default action.
bool WatchTerminationSignals(std::function<void(int signal)> onSignal);

// Gives the signals their default action back and ends the watcher thread.
void StopWatchingTerminationSignals();

} // namespace plat
