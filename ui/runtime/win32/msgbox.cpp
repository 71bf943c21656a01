#include "runtime/msgbox.h"

#include "runtime/win32/win32.h"

namespace clearmark::runtime {

MsgAnswer showMsgBoxOnScreen(const MsgBoxRequest& request) {
    UINT style = MB_TASKMODAL; // no window of the program takes input while it is open
    style |= request.buttons == MsgButtons::OKCancel ? MB_OKCANCEL : MB_OK;
    switch (request.icon) {
    case MsgIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case MsgIcon::Exclamation:
        style |= MB_ICONEXCLAMATION;
        break;
    case MsgIcon::Critical:
        style |= MB_ICONERROR;
        break;
    case MsgIcon::None:
        break;
    }
    const int answer = MessageBoxW(nullptr, win32::widen(request.text).c_str(),
                                   win32::widen(request.caption).c_str(), style);
    return answer == IDOK ? MsgAnswer::OK : MsgAnswer::Cancel;
}

} // namespace clearmark::runtime
