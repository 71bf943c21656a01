#pragma once

// The peers behind a window and its controls, for the window runtime's implementations and
// their tests. The windows never include this header: they reach their controls through the
// handles of runtime/controls.h only.
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/implementation.h"

namespace clearmark::runtime {

struct PeerAccess {
    static WindowPeer& of(const Form& form) { return *form.peer_; }
    static ControlPeer& of(const Control& control) { return *control.peer_; }
};

inline WindowPeer& peerOf(const Form& form) {
    return PeerAccess::of(form);
}
inline ControlPeer& peerOf(const Control& control) {
    return PeerAccess::of(control);
}

} // namespace clearmark::runtime
