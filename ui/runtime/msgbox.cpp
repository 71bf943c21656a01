#include "runtime/msgbox.h"

#include "runtime/appinfo.h"
#include "runtime/implementation.h"

#include <utility>

namespace clearmark::runtime {
namespace {

MsgBoxPresenter& presenter() {
    static MsgBoxPresenter current;
    return current;
}

} // namespace

MsgBoxPresenter setMsgBoxPresenter(MsgBoxPresenter next) {
    return std::exchange(presenter(), std::move(next));
}

MsgAnswer msgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                 std::optional<std::string_view> caption) {
    const MsgBoxRequest request{std::string(text), caption ? std::string(*caption) : appTitle(),
                                buttons, icon};
    if (presenter())
        return presenter()(request);
    return showMsgBoxOnScreen(request);
}

} // namespace clearmark::runtime
