#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace clearmark::runtime {

enum class MsgButtons { OK, OKCancel };
enum class MsgIcon { None, Information, Exclamation, Critical };
enum class MsgAnswer { OK, Cancel };

// One box as it is put before the user; the caption is already the application title when
// the caller gave none.
struct MsgBoxRequest {
    std::string text;
    std::string caption;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;

    friend bool operator==(const MsgBoxRequest&, const MsgBoxRequest&) = default;
};

// Shows a box that is modal for the whole program and returns the button that closed it. A
// box closed without a button (Esc, its close button) answers Cancel where Cancel is
// offered, else OK.
MsgAnswer msgBox(std::string_view text, MsgButtons buttons = MsgButtons::OK,
                 MsgIcon icon = MsgIcon::None, std::optional<std::string_view> caption = {});

// The seam for tests: while a presenter is installed it receives every box instead of the
// screen. Passing an empty function restores the real boxes. Returns the previous one.
using MsgBoxPresenter = std::function<MsgAnswer(const MsgBoxRequest&)>;
MsgBoxPresenter setMsgBoxPresenter(MsgBoxPresenter next);

} // namespace clearmark::runtime
