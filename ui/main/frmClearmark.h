#pragma once

#include "form.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace clearmark {

// The main window: the three inputs of the shim calculation, the intake and exhaust
// defaults, Calculate and Reset, and the ways to the program's other windows.
class frmClearmark : public runtime::Form {
    Q_OBJECT
public:
    static constexpr const char* kFormName = "frmClearmark";

    frmClearmark();

    // The numbers last read by Calculate; all zero at the start and after Reset.
    double desiredGap() const { return desiredGap_; }
    double measuredGap() const { return measuredGap_; }
    double gapDifference() const { return gapDifference_; }
    double originalShim() const { return originalShim_; }

    void cmdCalculate_Click();
    void cmdIntake_Click();
    void cmdExhaust_Click();
    void cmdReset_Click();
    void cmdConverter_Click();
    void mnuHelp2_Click();
    void mnuAbout_Click();
    void cmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void showBadData();

    QLineEdit* txtGap_;
    QLineEdit* txtOldShim_;
    QLineEdit* txtSpec_;
    QLineEdit* txtNewShim_;
    QLabel* lblNewShim_;

    double desiredGap_ = 0.0;
    double measuredGap_ = 0.0;
    double gapDifference_ = 0.0;
    double originalShim_ = 0.0;
};

} // namespace clearmark
