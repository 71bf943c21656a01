#pragma once

#include "runtime/forms.h"

#include <functional>

namespace clearmark::runtime {

// Starts a run of the program: its start-up window is loaded (its Form_Load runs), then
// shown with the focus on its first control.
template <class F> void startProgram();

// Ends the program at once: every window disappears without any of its handlers running,
// nothing is saved, and the event loop ends. No handler runs after it.
void endProgram();
bool programHasEnded();

// The seam for tests: replaces what happens after the windows are gone (by default the
// event loop is told to end), so that a test sees the end without its process ending.
// An empty function restores the default. Returns the previous one.
using ProgramEndAction = std::function<void()>;
ProgramEndAction setProgramEndAction(ProgramEndAction action);

// Forgets the end of an earlier run; startProgram calls it.
void beginProgram();

template <class F> void startProgram() {
    beginProgram();
    dispatch([] { forms().show<F>(); });
}

} // namespace clearmark::runtime
