#pragma once

#include "form.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace clearmark::runtime {

// The program's windows: at most one instance of each, loaded on first use and unloaded by
// the user or by its own command, after which the next use loads it afresh. A window is
// known here once its factory is registered; using a name that is not registered does
// nothing, so that a caller can name a window before it is part of the program.
class Forms {
public:
    using Factory = std::function<Form*()>;

    static Forms& instance();

    void registerForm(const QString& name, Factory factory);
    bool isRegistered(const QString& name) const;
    QStringList names() const;

    // The loaded instance, or nullptr.
    Form* find(const QString& name) const;
    template <class F> F* find() const { return qobject_cast<F*>(find(F::kFormName)); }

    // Load: no effect when loaded; else the controls are created, then Form_Load runs.
    Form* load(const QString& name);
    // Show: loads when needed; the window becomes visible, non-modal and unowned; no effect
    // when it is visible already.
    Form* show(const QString& name);
    // Hide: loads when needed; the window keeps its controls and their values.
    Form* hide(const QString& name);
    // Unload: runs the window's Form_Unload, then destroys it.
    void unload(const QString& name);
    template <class F> F* load() { return qobject_cast<F*>(load(F::kFormName)); }
    template <class F> F* show() { return qobject_cast<F*>(show(F::kFormName)); }

    // Destroys every window without running any handler (the end of the program).
    void unloadAllSilently();
    int loadedCount() const;
    // How often the window has been loaded since the program started.
    int timesLoaded(const QString& name) const;

private:
    Forms() = default;
    void discard(Form* form);

    struct Entry {
        Factory factory;
        QPointer<Form> form;
        int loads = 0;
    };
    std::map<QString, Entry> entries_;
};

inline Forms& forms() {
    return Forms::instance();
}

} // namespace clearmark::runtime
