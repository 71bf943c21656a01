#include "runtime/keyboard.h"

#include "runtime/implementation.h"

#include <algorithm>
#include <cctype>

namespace clearmark::runtime {

KeyboardOrder keyboardOrder(std::span<const ControlDesign> designs,
                            std::span<ControlPeer* const> peers) {
    KeyboardOrder order;
    for (std::size_t i = 0; i < designs.size() && i < peers.size(); ++i) {
        const ControlDesign& design = designs[i];
        if (design.kind != ControlKind::Label && design.kind != ControlKind::MenuItem)
            order.push_back({peers[i], design.tabIndex, design.readOnly});
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const KeyStop& a, const KeyStop& b) { return a.tabIndex < b.tabIndex; });
    return order;
}

bool isEnabled(const ControlPeer& control) {
    return control.enabled();
}

bool takesTab(const KeyboardOrder& order, const ControlPeer& control) {
    const auto at = std::find_if(order.begin(), order.end(), [&control](const KeyStop& stop) {
        return stop.control == &control;
    });
    if (at == order.end() || at->passedBy || !control.enabled())
        return false;
    if (control.kind() != ControlKind::OptionButton)
        return true;
    const ControlPeer* stop = nullptr;
    for (const KeyStop& other : order)
        if (other.control->kind() == ControlKind::OptionButton && other.control->enabled()) {
            if (stop == nullptr || other.control->value())
                stop = other.control;
            if (other.control->value())
                break;
        }
    return stop == &control;
}

ControlPeer* buttonForKey(WindowKey key, ControlPeer* focused, ControlPeer* defaultButton,
                          ControlPeer* cancelButton) {
    ControlPeer* button = defaultButton;
    if (key == WindowKey::Escape)
        button = cancelButton;
    else if (focused != nullptr && focused->kind() == ControlKind::CommandButton)
        button = focused;
    return button != nullptr && button->enabled() ? button : nullptr;
}

ControlPeer* entryForShortcut(std::span<const MenuDesign> menus,
                              std::span<ControlPeer* const> entries, char letter) {
    const auto upper = [](char c) {
        return char(std::toupper(static_cast<unsigned char>(c)));
    };
    std::size_t at = 0;
    for (const MenuDesign& menu : menus)
        for (const MenuEntryDesign& entry : menu.entries) {
            ControlPeer* peer = at < entries.size() ? entries[at] : nullptr;
            ++at;
            if (peer != nullptr && entry.shortcut &&
                upper(entry.shortcut->letter) == upper(letter) && peer->visible() &&
                peer->enabled())
                return peer;
        }
    return nullptr;
}

std::string shortcutText(Shortcut shortcut) {
    return std::string("Ctrl+") + char(std::toupper(static_cast<unsigned char>(shortcut.letter)));
}

std::optional<char> accessKeyOf(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&') {
            if (caption[i + 1] != '&')
                return char(std::tolower(static_cast<unsigned char>(caption[i + 1])));
            ++i; // "&&": an ampersand
        }
    return std::nullopt;
}

std::string withoutAccessKeyMarks(std::string_view caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

std::vector<std::string_view> paragraphsOf(std::string_view caption) {
    std::vector<std::string_view> paragraphs;
    std::size_t start = 0;
    for (;;) {
        const std::size_t run = caption.find("  ", start);
        if (run == std::string_view::npos) {
            paragraphs.push_back(caption.substr(start));
            return paragraphs;
        }
        paragraphs.push_back(caption.substr(start, run - start));
        start = caption.find_first_not_of(' ', run);
        if (start == std::string_view::npos)
            return paragraphs; // the runs close the caption
    }
}

} // namespace clearmark::runtime
