#pragma once

// The Qt objects behind a window and its controls, for the program's snapshot tool and the
// tests of this implementation.
#include "runtime/form.h"

#include <QObject>
#include <QWidget>

namespace clearmark::runtime::qt {

QWidget* widgetOf(const Form& form);
// The client area, below the menu bar; the controls' parent.
QWidget* clientOf(const Form& form);
// A control's widget, or a menu entry's QAction.
QObject* objectOf(const Control& control);
template <class T> T* widgetOf(const Control& control) {
    return qobject_cast<T*>(objectOf(control));
}

} // namespace clearmark::runtime::qt
