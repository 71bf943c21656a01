#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace clearmark::runtime {

enum class MsgButtons { OK, OKCancel };
enum class MsgIcon { None, Information, Exclamation, Critical };
enum class MsgAnswer { OK, Cancel };

// One box as it is put before the user; the caption is already the application title when
// the caller gave none.
struct MsgBoxRequest {
    QString text;
    QString caption;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;

    friend bool operator==(const MsgBoxRequest&, const MsgBoxRequest&) = default;
};

// Shows an application-modal box and returns the button that closed it. A box closed
// without a button (Esc, its close button) answers Cancel where Cancel is offered, else OK.
MsgAnswer msgBox(const QString& text, MsgButtons buttons = MsgButtons::OK,
                 MsgIcon icon = MsgIcon::None, const std::optional<QString>& caption = {});

// The seam for tests: while a presenter is installed it receives every box instead of the
// screen. Passing an empty function restores the real boxes. Returns the previous one.
using MsgBoxPresenter = std::function<MsgAnswer(const MsgBoxRequest&)>;
MsgBoxPresenter setMsgBoxPresenter(MsgBoxPresenter next);

// The width a box on screen takes at least, so that its caption fits its title bar.
int msgBoxWidthForCaption(const QString& caption);

// The real box, without the seam.
MsgAnswer showMsgBoxOnScreen(const MsgBoxRequest& request);

} // namespace clearmark::runtime
