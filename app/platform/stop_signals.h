#pragma once
// How the programs end on TERM, INT and HUP: the temporary files they hold are
// removed first, and the exit status says whether the work's final step (the
// ROM's replacement) was done: 1 before it, 0 after it. A file-size limit and
// a closed pipe become ordinary write errors (EFBIG, EPIPE) instead of
// killing the process.

namespace orv {

// Installs the handlers; the two lines are written to standard error when a
// signal stops the process before and after the final step. Call once, early.
void installStopHandling(const char* stoppedBefore, const char* stoppedAfter);

// A temporary file removed when a stopping signal arrives. Returns its slot,
// -1 when every slot is taken (the file is then left as a kill leaves it).
int holdTemporary(const char* path);
void releaseTemporary(int slot);

// Holds the stopping signals back while it lives, in every thread: a signal
// that comes meanwhile takes effect afterwards. For a rename and the
// bookkeeping that goes with it.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
};

// From now on a stopping signal ends the process with status 0.
void markFinalStepDone();
bool finalStepDone();

} // namespace orv
