#pragma once

// The page elements behind a window and its controls, by the ids the page script (dom.js)
// knows them by, for the tests of this implementation.
#include "runtime/form.h"

namespace clearmark::runtime::web {

int elementOf(const Form& form);
int elementOf(const Control& control);

} // namespace clearmark::runtime::web
