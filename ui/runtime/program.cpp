#include "program.h"

#include "forms.h"

#include <QCoreApplication>
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

void endProgram() {
    EndState& s = state();
    if (s.ended)
        return;
    s.ended = true;
    forms().unloadAllSilently();
    if (s.action)
        s.action();
    else
        QCoreApplication::exit(0);
}

bool programHasEnded() {
    return state().ended;
}

ProgramEndAction setProgramEndAction(ProgramEndAction action) {
    return std::exchange(state().action, std::move(action));
}

void resetProgramEnd() {
    state().ended = false;
}

} // namespace clearmark::runtime
