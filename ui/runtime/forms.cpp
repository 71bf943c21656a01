#include "runtime/forms.h"

#include "runtime/implementation.h"
#include "runtime/program.h"

#include <algorithm>

namespace clearmark::runtime {
namespace {

int& handlerDepth() {
    static int depth = 0;
    return depth;
}

} // namespace

void dispatch(const std::function<void()>& handler) {
    if (programHasEnded())
        return;
    struct Depth {
        Depth() { ++handlerDepth(); }
        ~Depth() {
            if (--handlerDepth() == 0)
                forms().collectUnloaded();
        }
        Depth(const Depth&) = delete;
        Depth& operator=(const Depth&) = delete;
    } depth;
    handler();
}

Forms& Forms::instance() {
    static Forms forms;
    return forms;
}

Form* Forms::find(std::type_index type) const {
    const auto it = loaded_.find(type);
    return it == loaded_.end() ? nullptr : it->second.get();
}

Form& Forms::load(std::type_index type, std::unique_ptr<Form> (*make)()) {
    if (Form* form = find(type))
        return *form;
    Form& form = *loaded_.emplace(type, make()).first->second;
    form.Form_Load();
    return form;
}

Form& Forms::show(Form& form) {
    if (form.peer_->visible()) {
        // Shown again: brought to the front, active, its focus where it was.
        form.peer_->show();
        return form;
    }
    if (!form.peer_->hasFocusedControl())
        form.focusFirstControl();
    form.peer_->show();
    return form;
}

void Forms::hide(Form& form) {
    form.peer_->hide();
}

void Forms::unload(Form& form) {
    if (form.unloading_)
        return;
    form.unloading_ = true;
    form.Form_Unload();
    // Form_Unload may have ended the program, which unloads everything.
    const auto it = std::find_if(loaded_.begin(), loaded_.end(), [&form](const auto& entry) {
        return entry.second.get() == &form;
    });
    if (it != loaded_.end())
        discard(it->first);
    if (handlerDepth() == 0)
        collectUnloaded();
}

void Forms::discard(std::type_index type) {
    const auto it = loaded_.find(type);
    it->second->unloading_ = true;
    it->second->peer_->hide();
    // The window may be unloading itself from one of its own handlers: it is destroyed
    // once the handler has returned.
    unloaded_.push_back(std::move(it->second));
    loaded_.erase(it);
}

void Forms::unloadAllSilently() {
    while (!loaded_.empty())
        discard(loaded_.begin()->first);
    if (handlerDepth() == 0)
        collectUnloaded();
}

void Forms::collectUnloaded() {
    // Destroying a window never loads one, but take the list first all the same.
    std::vector<std::unique_ptr<Form>> gone;
    gone.swap(unloaded_);
}

} // namespace clearmark::runtime
