#include "runtime/program.h"

#include "runtime/forms.h"
#include "runtime/implementation.h"

#include <utility>

namespace clearmark::runtime {
namespace {

struct EndState {
    ProgramEndAction action;
    bool ended = false;
};

EndState& state() {
    static EndState s;
    return s;
}

} // namespace

void beginProgram() {
    state().ended = false;
}

void endProgram() {
    EndState& s = state();
    if (s.ended)
        return;
    s.ended = true;
    forms().unloadAllSilently();
    if (s.action)
        s.action();
    else
        quitEventLoop();
}

bool programHasEnded() {
    return state().ended;
}

ProgramEndAction setProgramEndAction(ProgramEndAction action) {
    return std::exchange(state().action, std::move(action));
}

} // namespace clearmark::runtime
