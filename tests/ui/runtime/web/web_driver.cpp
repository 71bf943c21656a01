// The input driver on the web implementation: the events the browser delivers for a click, a
// key or typed text, sent to the page elements the implementation made (driver.js), and the
// browser's real clipboard.
#include "runtime/keyboard.h"
#include "runtime/web/access.h"
#include "runtime/web/dom.h"
#include "support/driver.h"

#include <emscripten.h>

#include <cctype>
#include <sstream>
#include <stdexcept>

// clang-format off
EM_JS(int, cmt_shown, (int id), { return CMTest.shown(id) ? 1 : 0; });
EM_JS(void, cmt_click, (int id), { CMTest.click(id); });
EM_JS(void, cmt_type, (int id, const char* text), { CMTest.type(id, UTF8ToString(text)); });
EM_JS(void, cmt_insert, (int id, const char* text), { CMTest.insert(id, UTF8ToString(text)); });
EM_JS(void, cmt_press, (int win, int code), { CMTest.press(win, code); });
EM_JS(void, cmt_activate, (int win), { CMTest.activate(win); });
EM_JS(char*, cmt_focusedName, (int win), { return CM.stringFor(CMTest.focusedName(win)); });
EM_JS(int, cmt_isActive, (int win), { return CMTest.isActive(win) ? 1 : 0; });
EM_JS(void, cmt_close, (int win), { CMTest.close(win); });
EM_JS(int, cmt_firstVisible, (int id), { return CMTest.firstVisible(id); });
EM_JS(char*, cmt_room, (int id), { return CM.stringFor(CMTest.room(id).join(' ')); });
EM_JS(char*, cmt_lines, (int id), { return CM.stringFor(CMTest.lines(id)); });
EM_JS(char*, cmt_boxText, (), {
    var text = CMTest.boxText();
    return text === null ? 0 : CM.stringFor(text);
});
EM_JS(char*, cmt_boxOwner, (), { return CM.stringFor(CMTest.boxOwner()); });
EM_JS(int, cmt_boxIsModal, (), { return CMTest.boxIsModal(); });
EM_JS(void, cmt_answerBox, (int code), { CMTest.answerBox(code); });
EM_JS(void, cmt_readClipboard, (), { CMTest.readClipboard(); });
EM_JS(void, cmt_writeClipboard, (const char* text), { CMTest.writeClipboard(UTF8ToString(text)); });
EM_JS(int, cmt_clipboardState, (), { return CMTest.clipboardState; });
EM_JS(char*, cmt_clipboard, (), { return CM.stringFor(CMTest.clipboard); });
// clang-format on

namespace clearmark::testing_support {
namespace {

using runtime::web::elementOf;
using runtime::web::takeString;

int shownElement(const runtime::Control& control) {
    const int id = elementOf(control);
    if (cmt_shown(id) == 0)
        throw std::logic_error(control.name() + " is not on the screen");
    return id;
}

int keyCode(Key key) {
    switch (key) {
    case Key::Tab:
        return 1;
    case Key::ShiftTab:
        return 2;
    case Key::Enter:
        return 3;
    case Key::Escape:
        return 4;
    case Key::Space:
        return 5;
    case Key::Backspace:
        return 6;
    }
    return 0;
}

int letterCode(char letter) {
    return std::toupper(static_cast<unsigned char>(letter));
}

// Lets the browser run what it queued: promises (the clipboard's), timers.
void yieldToBrowser() {
    emscripten_sleep(1);
}

// Waits (within two seconds) for the clipboard request to settle.
bool clipboardSettled() {
    for (int i = 0; i < 200 && cmt_clipboardState() == 1; ++i)
        emscripten_sleep(10);
    return cmt_clipboardState() == 2;
}

class WebDriver final : public Driver {
public:
    void click(const runtime::Control& control) override { cmt_click(shownElement(control)); }
    void choose(const runtime::MenuItem& entry) override { cmt_click(elementOf(entry)); }
    void type(const runtime::TextBox& box, std::string_view text) override {
        cmt_type(shownElement(box), std::string(text).c_str());
    }
    void paste(const runtime::TextBox& box) override {
        const int id = shownElement(box);
        cmt_readClipboard();
        if (clipboardSettled())
            cmt_insert(id, takeString(cmt_clipboard()).c_str());
    }
    int firstVisibleCharacter(const runtime::TextBox& box) override {
        return cmt_firstVisible(shownElement(box));
    }
    void press(const runtime::Form& form, Key key) override {
        activate(form);
        cmt_press(elementOf(form), keyCode(key));
    }
    void pressAlt(const runtime::Form& form, char letter) override {
        activate(form);
        cmt_press(elementOf(form), 0x200 + letterCode(letter));
    }
    void pressCtrl(const runtime::Form& form, char letter) override {
        activate(form);
        cmt_press(elementOf(form), 0x100 + letterCode(letter));
    }
    void activate(const runtime::Form& form) override { cmt_activate(elementOf(form)); }
    std::string focused(const runtime::Form& form) override {
        return takeString(cmt_focusedName(elementOf(form)));
    }
    void close(const runtime::Form& form) override { cmt_close(elementOf(form)); }
    std::string clipboardText() override {
        cmt_readClipboard();
        return clipboardSettled() ? takeString(cmt_clipboard()) : std::string();
    }
    void setClipboardText(std::string_view text) override {
        cmt_writeClipboard(std::string(text).c_str());
        clipboardSettled();
    }
    void settle() override { yieldToBrowser(); }

    CaptionRoom captionRoom(const runtime::Control& control) override {
        std::istringstream room(takeString(cmt_room(shownElement(control))));
        CaptionRoom measured;
        room >> measured.neededWidth >> measured.neededHeight >> measured.width >> measured.height;
        return measured;
    }
    std::vector<std::string> drawnLines(const runtime::Label& label) override {
        std::istringstream text(takeString(cmt_lines(shownElement(label))));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }
    RealBox answerRealBox(const std::function<void()>& open, Key key) override {
        RealBox seen;
        open();
        char* text = cmt_boxText();
        if (text != nullptr) {
            seen.shown = true;
            seen.text = takeString(text);
            seen.ownerCaption = takeString(cmt_boxOwner());
            // A modal dialog leaves the rest of the page inert.
            seen.programTakesInput = cmt_boxIsModal() == 0;
            cmt_answerBox(keyCode(key));
        }
        settle();
        return seen;
    }
    bool isActive(const runtime::Form& form) override { return cmt_isActive(elementOf(form)) != 0; }
};

} // namespace

Driver& driver() {
    static WebDriver web;
    return web;
}

} // namespace clearmark::testing_support
