#include "forms.h"

namespace clearmark::runtime {

Forms& Forms::instance() {
    static Forms forms;
    return forms;
}

void Forms::registerForm(const QString& name, Factory factory) {
    Entry& entry = entries_[name];
    entry.factory = std::move(factory);
    entry.loads = 0;
}

bool Forms::isRegistered(const QString& name) const {
    const auto it = entries_.find(name);
    return it != entries_.end() && it->second.factory;
}

QStringList Forms::names() const {
    QStringList names;
    for (const auto& [name, entry] : entries_)
        names.append(name);
    return names;
}

Form* Forms::find(const QString& name) const {
    const auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : it->second.form.data();
}

Form* Forms::load(const QString& name) {
    const auto it = entries_.find(name);
    if (it == entries_.end() || !it->second.factory)
        return nullptr;
    Entry& entry = it->second;
    if (entry.form)
        return entry.form;
    Form* form = entry.factory();
    entry.form = form;
    ++entry.loads;
    form->Form_Load();
    // Form_Load may have unloaded the window again.
    return entry.form;
}

Form* Forms::show(const QString& name) {
    Form* form = load(name);
    if (form == nullptr || form->isVisible())
        return form;
    if (form->focusWidget() == nullptr)
        form->focusFirstControl();
    form->show();
    return form;
}

Form* Forms::hide(const QString& name) {
    Form* form = load(name);
    if (form != nullptr)
        form->hide();
    return form;
}

void Forms::discard(Form* form) {
    form->unloading_ = true;
    form->hide();
    // The window may be unloading itself from one of its own handlers: it is destroyed
    // once that handler has returned to the event loop.
    form->deleteLater();
}

void Forms::unload(const QString& name) {
    const auto it = entries_.find(name);
    if (it == entries_.end() || !it->second.form)
        return;
    Form* form = it->second.form;
    if (form->unloading_)
        return;
    form->unloading_ = true;
    form->Form_Unload();
    // Form_Unload may have ended the program, which unloads everything.
    if (it->second.form == form) {
        it->second.form = nullptr;
        discard(form);
    }
}

void Forms::unloadAllSilently() {
    for (auto& [name, entry] : entries_) {
        if (Form* form = entry.form) {
            entry.form = nullptr;
            discard(form);
        }
    }
}

int Forms::loadedCount() const {
    int count = 0;
    for (const auto& [name, entry] : entries_)
        count += entry.form ? 1 : 0;
    return count;
}

int Forms::timesLoaded(const QString& name) const {
    const auto it = entries_.find(name);
    return it == entries_.end() ? 0 : it->second.loads;
}

} // namespace clearmark::runtime
