#pragma once

#include "runtime/form.h"

namespace clearmark {

// The converter: one measurement between millimetres and inches, handed on to the main
// window through the clipboard.
class frmConvert : public runtime::Form {
public:
    // Millimetres per inch.
    static constexpr double kMillimetresPerInch = 25.4;

    frmConvert();

    void cmdConvert1_Click();
    void cmdReset_Click();
    void cmdCopy_Click();

protected:
    void Form_Load() override;

private:
    // After the copy box: the clipboard took the text (the window closes) or not.
    void copyDone(bool copied);

    runtime::TextBox txtData = control<runtime::TextBox>("txtData");
    runtime::OptionButton optMmToInches = control<runtime::OptionButton>("optMmToInches");
    runtime::OptionButton optInchesToMm = control<runtime::OptionButton>("optInchesToMm");
    // The last result of Convert, in the unit of the chosen direction.
    double convertedValue_ = 0.0;
};

} // namespace clearmark
