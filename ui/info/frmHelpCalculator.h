#pragma once

#include "runtime/form.h"

#include <string>

namespace clearmark {

// The help window: how to fill in the main window, in one label.
class frmHelpCalculator : public runtime::Form {
public:
    frmHelpCalculator();

    // The help text: five paragraphs, each of the first four followed by a run of spaces
    // that fills out its last line.
    static std::string helpText();
};

} // namespace clearmark
