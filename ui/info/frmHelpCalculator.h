#pragma once

#include "form.h"

namespace clearmark {

// The help window: how to fill in the main window, in one label.
class frmHelpCalculator : public runtime::Form {
    Q_OBJECT
public:
    static constexpr const char* kFormName = "frmHelpCalculator";

    frmHelpCalculator();

    // The help text: five paragraphs, each of the first four followed by a run of spaces
    // that fills out its last line.
    static QString helpText();
};

} // namespace clearmark
