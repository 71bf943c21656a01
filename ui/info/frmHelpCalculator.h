#pragma once

#include "runtime/form.h"

namespace clearmark {

// The help window: how to fill in the main window, in one label.
class frmHelpCalculator : public runtime::Form {
public:
    frmHelpCalculator();
};

} // namespace clearmark
