#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace clearmark::runtime {

enum class MsgButtons { OK, OKCancel, YesNoCancel };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgAnswer { OK, Cancel, Yes, No };

// One box as it is put before the user; the caption is already the application title when
// the caller gave none.
struct MsgBoxRequest {
    std::string text;
    std::string caption;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;

    friend bool operator==(const MsgBoxRequest&, const MsgBoxRequest&) = default;
};

// What runs once the box has closed, with the button that closed it.
using MsgThen = std::function<void(MsgAnswer)>;

// Puts a box before the user, modal for the whole program: while it is open no window of the
// program takes input. Once it is closed, `then` runs with its answer, as a handler of its
// own (nothing runs once the program has ended). A box closed without a button (Esc, its
// close button) answers Cancel where Cancel is offered, else OK.
//
// Whatever is to happen after the box goes into `then`: an implementation may return before
// the user has answered (a browser cannot wait inside a handler). The desktops answer before
// msgBox returns.
void msgBox(std::string_view text, MsgButtons buttons = MsgButtons::OK,
            MsgIcon icon = MsgIcon::None, std::optional<std::string_view> caption = {},
            MsgThen then = {});
// A box with OK alone, the application title as caption, and what follows it.
void msgBox(std::string_view text, MsgThen then);

// Whether a box (or a file dialog) is open, or its answer is being handled; the program's
// windows take no input meanwhile.
bool msgBoxOpen();
// For the runtime's other modal dialogs: one opens, one has closed.
void beginModal();
void endModal();

// The seam for tests: while a presenter is installed it receives every box instead of the
// screen and answers it at once. Passing an empty function restores the real boxes. Returns
// the previous one.
using MsgBoxPresenter = std::function<MsgAnswer(const MsgBoxRequest&)>;
MsgBoxPresenter setMsgBoxPresenter(MsgBoxPresenter next);

} // namespace clearmark::runtime
