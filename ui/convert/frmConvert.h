#pragma once

#include "form.h"

class QLineEdit;
class QRadioButton;

namespace clearmark {

// The converter: one measurement between millimetres and inches, handed on to the main
// window through the clipboard.
class frmConvert : public runtime::Form {
    Q_OBJECT
public:
    static constexpr const char* kFormName = "frmConvert";
    // Millimetres per inch.
    static constexpr double kMillimetresPerInch = 25.4;

    frmConvert();

    // The last result of Convert, in the unit of the chosen direction.
    double convertedValue() const { return convertedValue_; }

    void cmdConvert1_Click();
    void cmdReset_Click();
    void cmdCopy_Click();

protected:
    void Form_Load() override;

private:
    QLineEdit* txtData_;
    QRadioButton* optMmToInches_;
    QRadioButton* optInchesToMm_;
    double convertedValue_ = 0.0;
};

} // namespace clearmark
