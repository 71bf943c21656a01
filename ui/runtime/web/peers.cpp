// The web implementation's windows and controls: panels of HTML elements on the page, made and
// changed through the page script (dom.js). What the user does comes back through the cm_*
// functions below, which the script calls.
#include "runtime/implementation.h"
#include "runtime/peer_access.h"
#include "runtime/pictures.h"
#include "runtime/twips.h"
#include "runtime/web/access.h"
#include "runtime/web/dom.h"

#include <emscripten.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>

// clang-format off
EM_JS(int, cm_js_createWindow, (void* ptr, const char* form, const char* caption, int width, int height, int dialog,
                                int left, int top, const char* icon), {
    return CM.createWindow(ptr, UTF8ToString(form), UTF8ToString(caption), width, height, dialog, left, top,
                           UTF8ToString(icon));
});
EM_JS(int, cm_js_createControl, (int win, void* ptr, const char* name, int kind,
                                 const char* caption, int left,
                                 int top, int width, int height, int fontPx, int bold, int color,
                                 int hidden, int readOnly, int enabled, int centred), {
    return CM.createControl(win, ptr, UTF8ToString(name), kind, UTF8ToString(caption), left, top,
                            width, height,
                            fontPx, bold, color, hidden, readOnly, enabled, centred);
});
EM_JS(void, cm_js_addLine, (int win, int x1, int y1, int x2, int y2, int color, int width), {
    CM.addLine(win, x1, y1, x2, y2, color, width);
});
EM_JS(void, cm_js_menuBar, (int win), { CM.menuBar(win); });
EM_JS(int, cm_js_addMenu, (int win, const char* caption), {
    return CM.addMenu(win, UTF8ToString(caption));
});
EM_JS(int, cm_js_addMenuEntry, (int win, int menu, void* ptr, const char* name,
                                const char* caption, const char* shortcut), {
    return CM.addMenuEntry(win, menu, ptr, UTF8ToString(name), UTF8ToString(caption),
                           UTF8ToString(shortcut));
});
EM_JS(char*, cm_js_getText, (int id), { return CM.stringFor(CM.getText(id)); });
EM_JS(void, cm_js_setText, (int id, const char* text), { CM.setText(id, UTF8ToString(text)); });
EM_JS(int, cm_js_isVisible, (int id), { return CM.isVisible(id) ? 1 : 0; });
EM_JS(int, cm_js_setVisible, (int id, int visible), { return CM.setVisible(id, visible) ? 1 : 0; });
EM_JS(int, cm_js_isEnabled, (int id), { return CM.isEnabled(id) ? 1 : 0; });
EM_JS(int, cm_js_setEnabled, (int id, int enabled), { return CM.setEnabled(id, enabled) ? 1 : 0; });
EM_JS(void, cm_js_move, (int id, int left, int top), { CM.move(id, left, top); });
EM_JS(int, cm_js_getValue, (int id), { return CM.getValue(id); });
EM_JS(void, cm_js_setValue, (int id, int value), { CM.setValue(id, value); });
EM_JS(void, cm_js_setPicture, (int id, const char* url), { CM.setPicture(id, UTF8ToString(url)); });
EM_JS(char*, cm_js_pictureUrl, (const void* pixels, int width, int height), {
    return CM.stringFor(CM.pictureUrl(HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height),
                                      width, height));
});
EM_JS(void, cm_js_setAccessibleName, (int id, const char* name), {
    CM.setAccessibleName(id, UTF8ToString(name));
});
EM_JS(int, cm_js_canFocus, (int id), { return CM.canFocus(id); });
EM_JS(void, cm_js_focus, (int id), { CM.focus(id); });
EM_JS(int, cm_js_focusedIn, (int win), { return CM.focusedIn(win); });
EM_JS(int, cm_js_lastFocused, (int win), { return CM.lastFocused(win); });
EM_JS(void, cm_js_setDefault, (int id), { CM.setDefault(id); });
EM_JS(void, cm_js_setCaption, (int win, const char* caption), {
    CM.setCaption(win, UTF8ToString(caption));
});
EM_JS(void, cm_js_setModified, (int win, int modified), { CM.setModified(win, modified); });
EM_JS(void, cm_js_setClientHeight, (int win, int height), { CM.setClientHeight(win, height); });
EM_JS(void, cm_js_showWindow, (int win), { CM.showWindow(win); });
EM_JS(void, cm_js_hideWindow, (int win), { CM.hideWindow(win); });
EM_JS(void, cm_js_destroyWindow, (int win), { CM.destroyWindow(win); });
EM_JS(void, cm_js_forget, (int id), { CM.el[id] = null; });
// clang-format on

namespace clearmark::runtime::web {

std::string takeString(char* text) {
    std::string copy = text != nullptr ? text : "";
    std::free(text);
    return copy;
}

namespace {

int kindCode(ControlKind kind) {
    switch (kind) {
    case ControlKind::CommandButton:
        return 0;
    case ControlKind::TextBox:
        return 1;
    case ControlKind::Label:
        return 2;
    case ControlKind::OptionButton:
        return 3;
    case ControlKind::CheckBox:
        return 4;
    case ControlKind::Picture:
        return 5;
    case ControlKind::MenuItem:
        break;
    }
    throw std::logic_error("a menu entry is no control of the window's table");
}

// The design font's size in CSS pixels: points at 96 pixels to the inch.
int fontPixels(double points) {
    return static_cast<int>(points * 96.0 / 72.0 + 0.5);
}

// Each picture's page address, made once.
const std::string& pictureUrl(const std::string& name, int size) {
    static std::map<std::string, std::string> urls;
    const std::string key = name + "@" + std::to_string(size);
    auto found = urls.find(key);
    if (found == urls.end()) {
        const PixelImage* image = pictureImage(name, size);
        std::string url =
            image == nullptr
                ? std::string()
                : takeString(cm_js_pictureUrl(image->argb.data(), image->width, image->height));
        found = urls.emplace(key, std::move(url)).first;
    }
    return found->second;
}

class WebWindow;

class WebControl final : public ControlPeer {
public:
    WebControl(std::string name, ControlKind kind, int id, WebWindow& window)
        : ControlPeer(std::move(name), kind), id_(id), window_(window) {}
    ~WebControl() override { cm_js_forget(id_); }
    WebControl(const WebControl&) = delete;
    WebControl& operator=(const WebControl&) = delete;

    int id() const { return id_; }
    void setId(int id) { id_ = id; }

    std::string text() const override { return takeString(cm_js_getText(id_)); }
    void setText(const std::string& text) override { cm_js_setText(id_, text.c_str()); }
    bool visible() const override { return cm_js_isVisible(id_) != 0; }
    void setVisible(bool visible) override;
    bool enabled() const override { return cm_js_isEnabled(id_) != 0; }
    void setEnabled(bool enabled) override;
    void move(int left, int top) override {
        if (kind() != ControlKind::MenuItem)
            cm_js_move(id_, twipsToPixels(left), twipsToPixels(top));
    }
    bool value() const override { return cm_js_getValue(id_) != 0; }
    void setValue(bool selected) override { cm_js_setValue(id_, selected ? 1 : 0); }
    void setPicture(const std::string& name) override {
        cm_js_setPicture(id_, pictureUrl(name, 32).c_str());
    }
    void setAccessibleName(const std::string& name) override {
        cm_js_setAccessibleName(id_, name.c_str());
    }
    bool canTakeFocus() const override {
        return kind() != ControlKind::Label && kind() != ControlKind::MenuItem &&
               cm_js_canFocus(id_) != 0;
    }
    void setFocus() override { cm_js_focus(id_); }

private:
    int id_;
    WebWindow& window_;
};

class WebWindow final : public WindowPeer {
public:
    explicit WebWindow(const WindowDesign& design) : caption_(design.caption) {
        const int left = design.start ? twipsToPixels(design.start->left) : -1;
        const int top = design.start ? twipsToPixels(design.start->top) : -1;
        id_ = cm_js_createWindow(
            this, design.name, design.caption, twipsToPixels(design.clientWidth),
            twipsToPixels(design.clientHeight), design.border == Border::FixedDialog ? 1 : 0, left,
            top, pictureUrl(std::string(kWindowIcon), 16).c_str());
    }
    ~WebWindow() override {
        modifiedWindows().erase(this);
        cm_js_destroyWindow(id_);
    }
    WebWindow(const WebWindow&) = delete;
    WebWindow& operator=(const WebWindow&) = delete;

    std::unique_ptr<ControlPeer> createControl(const ControlDesign& design) override {
        auto control = std::make_unique<WebControl>(design.name, design.kind, 0, *this);
        const int id = cm_js_createControl(
            id_, control.get(), design.name, kindCode(design.kind), design.caption,
            twipsToPixels(design.left), twipsToPixels(design.top), twipsToPixels(design.width),
            twipsToPixels(design.height), fontPixels(design.font.points), design.font.bold ? 1 : 0,
            design.foreColor ? static_cast<int>(*design.foreColor) : -1,
            design.visibility == Visibility::Hidden ? 1 : 0, design.readOnly ? 1 : 0,
            design.enabled ? 1 : 0, design.alignment == Alignment::Centred ? 1 : 0);
        control->setId(id);
        return control;
    }

    void addLine(const LineDesign& design) override {
        cm_js_addLine(id_, twipsToPixels(design.x1), twipsToPixels(design.y1),
                      twipsToPixels(design.x2), twipsToPixels(design.y2),
                      static_cast<int>(design.color), design.widthPixels);
    }

    std::vector<std::unique_ptr<ControlPeer>>
    createMenus(std::span<const MenuDesign> menus) override {
        cm_js_menuBar(id_);
        std::vector<std::unique_ptr<ControlPeer>> entries;
        for (const MenuDesign& menu : menus) {
            const int index = cm_js_addMenu(id_, menu.caption);
            for (const MenuEntryDesign& entry : menu.entries) {
                auto peer =
                    std::make_unique<WebControl>(entry.name, ControlKind::MenuItem, 0, *this);
                // The browser keeps Ctrl+N, Ctrl+W and Ctrl+T: those entries show none.
                std::string shortcut;
                if (entry.shortcut &&
                    std::string_view("NWT").find(entry.shortcut->letter) == std::string_view::npos)
                    shortcut = shortcutText(*entry.shortcut);
                peer->setId(cm_js_addMenuEntry(id_, index, peer.get(), entry.name, entry.caption,
                                               shortcut.c_str()));
                entries.push_back(std::move(peer));
            }
        }
        menus_ = menus;
        for (const auto& entry : entries)
            menuEntries_.push_back(entry.get());
        return entries;
    }

    void setKeyboardOrder(const KeyboardOrder& order) override { order_ = order; }
    void setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) override {
        defaultButton_ = defaultButton;
        cancelButton_ = cancelButton;
        if (defaultButton != nullptr)
            cm_js_setDefault(static_cast<WebControl*>(defaultButton)->id());
    }

    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override {
        caption_ = caption;
        cm_js_setCaption(id_, caption.c_str());
    }
    void setModified(bool modified) override {
        if (modified)
            modifiedWindows().insert(this);
        else
            modifiedWindows().erase(this);
        cm_js_setModified(id_, modified ? 1 : 0);
    }
    // The windows whose documents have unsaved changes.
    static std::set<const WebWindow*>& modifiedWindows() {
        static std::set<const WebWindow*> windows;
        return windows;
    }
    bool visible() const override { return visible_; }
    void setClientHeight(int twips) override { cm_js_setClientHeight(id_, twipsToPixels(twips)); }
    void show() override {
        visible_ = true;
        cm_js_showWindow(id_);
        giveFocusBack();
    }
    void hide() override {
        visible_ = false;
        cm_js_hideWindow(id_);
    }
    bool hasFocusedControl() const override { return focusedPeer() != nullptr; }
    int id() const { return id_; }

    // What the script reports.
    bool key(int code, int focusedId);
    void giveFocusBack() {
        ControlPeer* target = focusToGiveBack(order_, lastFocusedPeer(), canFocus);
        if (target != nullptr)
            target->setFocus();
    }
    // The focus left a control that was hidden or disabled: the next Tab stop takes it.
    void focusLeft(const WebControl& control) {
        if (ControlPeer* next = nextTabStop(order_, &control, true, canFocus))
            next->setFocus();
    }

    static bool canFocus(const ControlPeer& control) { return control.canTakeFocus(); }

private:
    ControlPeer* peerOfId(int id) const {
        for (const KeyStop& stop : order_)
            if (static_cast<WebControl*>(stop.control)->id() == id)
                return stop.control;
        return nullptr;
    }
    ControlPeer* focusedPeer() const { return peerOfId(cm_js_focusedIn(id_)); }
    ControlPeer* lastFocusedPeer() const { return peerOfId(cm_js_lastFocused(id_)); }

    int id_ = 0;
    std::string caption_;
    bool visible_ = false;
    KeyboardOrder order_;
    ControlPeer* defaultButton_ = nullptr;
    ControlPeer* cancelButton_ = nullptr;
    std::span<const MenuDesign> menus_;
    std::vector<ControlPeer*> menuEntries_;
};

void WebControl::setVisible(bool visible) {
    if (cm_js_setVisible(id_, visible ? 1 : 0) != 0)
        window_.focusLeft(*this);
}

void WebControl::setEnabled(bool enabled) {
    if (cm_js_setEnabled(id_, enabled ? 1 : 0) != 0)
        window_.focusLeft(*this);
}

bool WebWindow::key(int code, int focusedId) {
    ControlPeer* focused = peerOfId(focusedId);
    if (code == 1 || code == 2) { // Tab, Shift+Tab
        ControlPeer* next = nextTabStop(order_, focused, code == 1, canFocus);
        if (next != nullptr)
            next->setFocus();
        return true;
    }
    if (code == 3 || code == 4) { // Enter, Esc
        ControlPeer* button = buttonForKey(code == 3 ? WindowKey::Enter : WindowKey::Escape,
                                           focused, defaultButton_, cancelButton_);
        if (button == nullptr)
            return false;
        if (button->clicked)
            button->clicked();
        return true;
    }
    const char letter = static_cast<char>(std::tolower(code & 0xff));
    if ((code & 0x100) != 0) { // Ctrl (Cmd on a Mac) with a letter: a menu entry's shortcut
        ControlPeer* entry = entryForShortcut(menus_, menuEntries_, static_cast<char>(code & 0xff));
        if (entry == nullptr)
            return false;
        if (entry->enabled() && entry->clicked)
            entry->clicked();
        return true;
    }
    // Alt with a letter: the control whose caption marks it as its access key; a label's
    // goes to the control after it in the keyboard order.
    for (std::size_t i = 0; i < order_.size(); ++i) {
        ControlPeer* control = order_[i].control;
        if (control->kind() == ControlKind::TextBox)
            continue;
        const auto key = accessKeyOf(control->text());
        if (!key || *key != letter || !control->visible())
            continue;
        if (control->kind() == ControlKind::Label) {
            for (std::size_t j = i + 1; j < order_.size(); ++j)
                if (takesTab(order_, *order_[j].control) && canFocus(*order_[j].control)) {
                    order_[j].control->setFocus();
                    return true;
                }
            return true;
        }
        if (!control->enabled())
            return true;
        control->setFocus();
        if (control->kind() == ControlKind::OptionButton)
            control->setValue(true);
        else if (control->kind() == ControlKind::CheckBox)
            control->setValue(!control->value());
        if (control->clicked)
            control->clicked();
        return true;
    }
    return false;
}

} // namespace

int elementOf(const Form& form) {
    return static_cast<WebWindow&>(peerOf(form)).id();
}

int elementOf(const Control& control) {
    return static_cast<WebControl&>(peerOf(control)).id();
}

} // namespace clearmark::runtime::web

namespace clearmark::runtime {

std::unique_ptr<WindowPeer> createWindowPeer(const WindowDesign& design) {
    return std::make_unique<web::WebWindow>(design);
}

} // namespace clearmark::runtime

using clearmark::runtime::ControlPeer;
using clearmark::runtime::web::WebWindow;

extern "C" {

EMSCRIPTEN_KEEPALIVE void cm_clicked(void* address) {
    if (auto* control = static_cast<ControlPeer*>(address); control->clicked)
        control->clicked();
}

EMSCRIPTEN_KEEPALIVE void cm_changed(void* address) {
    if (auto* control = static_cast<ControlPeer*>(address); control->changed)
        control->changed();
}

EMSCRIPTEN_KEEPALIVE void cm_closeRequested(void* window) {
    auto* peer = static_cast<WebWindow*>(window);
    if (peer->closeRequested)
        peer->closeRequested();
}

EMSCRIPTEN_KEEPALIVE int cm_key(void* window, int code, int focusedId) {
    return static_cast<WebWindow*>(window)->key(code, focusedId) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void cm_activated(void* window) {
    static_cast<WebWindow*>(window)->giveFocusBack();
}

// Whether closing the page would lose a document's changes: the browser then asks.
EMSCRIPTEN_KEEPALIVE int cm_unsavedChanges() {
    return WebWindow::modifiedWindows().empty() ? 0 : 1;
}
}
