#pragma once

#include "runtime/form.h"

#include <map>
#include <memory>
#include <typeindex>
#include <vector>

namespace clearmark::runtime {

// The program's windows, by their class: at most one instance of each, loaded on first use
// and unloaded by the user or by its own command, after which the next use loads it afresh.
class Forms {
public:
    static Forms& instance();

    // The loaded instance, or nullptr.
    template <class F> F* find() const { return static_cast<F*>(find(typeid(F))); }
    // Load: no effect when loaded; else the controls are created, then Form_Load runs.
    template <class F> F& load() { return static_cast<F&>(load(typeid(F), make<F>)); }
    // Show: loads when needed; the window becomes visible, non-modal and unowned, with the
    // focus on its first control; no effect when it is visible already.
    template <class F> F& show() { return static_cast<F&>(show(load<F>())); }
    // Hide: loads when needed; the window keeps its controls and their values.
    template <class F> F& hide() {
        F& form = load<F>();
        hide(form);
        return form;
    }
    // Unload: runs the window's Form_Unload, then destroys it.
    template <class F> void unload() {
        if (F* form = find<F>())
            unload(*form);
    }
    void unload(Form& form);

    // Destroys every window without running any handler (the end of the program).
    void unloadAllSilently();
    // Destroys the windows unloaded so far; the runtime calls it when no handler runs.
    void collectUnloaded();

private:
    Forms() = default;
    template <class F> static std::unique_ptr<Form> make() { return std::make_unique<F>(); }

    Form* find(std::type_index type) const;
    Form& load(std::type_index type, std::unique_ptr<Form> (*make)());
    Form& show(Form& form);
    void hide(Form& form);
    void discard(std::type_index type);

    std::map<std::type_index, std::unique_ptr<Form>> loaded_;
    std::vector<std::unique_ptr<Form>> unloaded_;
};

inline Forms& forms() {
    return Forms::instance();
}

} // namespace clearmark::runtime
