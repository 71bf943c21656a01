#pragma once

#include "runtime/form.h"

namespace clearmark {

// The main window: the three inputs of the shim calculation, the intake and exhaust
// defaults, Calculate and Reset, and the ways to the program's other windows.
class frmClearmark : public runtime::Form {
public:
    frmClearmark();

    void cmdCalculate_Click();
    void cmdIntake_Click();
    void cmdExhaust_Click();
    void cmdReset_Click();
    void cmdConverter_Click();
    void mnuHelp2_Click();
    void mnuAbout_Click();
    void mnuValveSheet_Click();
    void mnuShimBox_Click();
    void cmdExit_Click();

protected:
    void Form_Load() override;
    bool Form_QueryUnload() override;
    void Form_Unload() override;

private:
    void showBadData();

    runtime::TextBox txtGap = control<runtime::TextBox>("txtGap");
    runtime::TextBox txtOldShim = control<runtime::TextBox>("txtOldShim");
    runtime::TextBox txtSpec = control<runtime::TextBox>("txtSpec");
    runtime::TextBox txtNewShim = control<runtime::TextBox>("txtNewShim");
    runtime::Label lblNewShim = control<runtime::Label>("lblNewShim");

    // The numbers last read by Calculate; all zero at the start and after Reset.
    double desiredGap_ = 0.0;
    double measuredGap_ = 0.0;
    double gapDifference_ = 0.0;
    double originalShim_ = 0.0;
};

} // namespace clearmark
