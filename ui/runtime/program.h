#pragma once

#include <functional>

namespace clearmark::runtime {

// Ends the program at once: every window disappears without any of its handlers running,
// nothing is saved, and the event loop ends.
void endProgram();
bool programHasEnded();

// The seam for tests: replaces what happens after the windows are gone (by default the
// event loop is told to end), so that a test sees the end without its process ending.
// An empty function restores the default. Returns the previous one.
using ProgramEndAction = std::function<void()>;
ProgramEndAction setProgramEndAction(ProgramEndAction action);
// Forgets an earlier end, for a test that starts the program again.
void resetProgramEnd();

} // namespace clearmark::runtime
