#include "runtime/msgbox.h"

#include "runtime/appinfo.h"
#include "runtime/forms.h"
#include "runtime/implementation.h"

#include <utility>

namespace clearmark::runtime {
namespace {

MsgBoxPresenter& presenter() {
    static MsgBoxPresenter current;
    return current;
}

int& openBoxes() {
    static int open = 0;
    return open;
}

} // namespace

MsgBoxPresenter setMsgBoxPresenter(MsgBoxPresenter next) {
    return std::exchange(presenter(), std::move(next));
}

bool msgBoxOpen() {
    return openBoxes() > 0;
}

void beginModal() {
    ++openBoxes();
}

void endModal() {
    --openBoxes();
}

void msgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
            std::optional<std::string_view> caption, MsgThen then) {
    const MsgBoxRequest request{std::string(text), caption ? std::string(*caption) : appTitle(),
                                buttons, icon};
    beginModal();
    auto answered = [then = std::move(then)](MsgAnswer answer) {
        endModal();
        if (then)
            dispatch([&then, answer] { then(answer); });
    };
    if (presenter())
        answered(presenter()(request));
    else
        showMsgBoxOnScreen(request, std::move(answered));
}

void msgBox(std::string_view text, MsgThen then) {
    msgBox(text, MsgButtons::OK, MsgIcon::None, std::nullopt, std::move(then));
}

} // namespace clearmark::runtime
