#pragma once

#include "runtime/form.h"

#include <functional>
#include <string>

namespace clearmark {

// The shim box: the spare shims on the bench, typed as the sheet's spares are, counted as
// they are typed, and kept between runs.
class frmShimBox : public runtime::Form {
public:
    frmShimBox();

    void cmdSave_Click();
    void cmdClose_Click();
    void txtShims_Change();

    // Whether the sizes typed differ from those last read or saved.
    bool modified() const;
    // Asks whether to save changes not yet saved, if any; `then` runs once they are saved or
    // given up, and not at all when the user cancels or the save fails.
    void askToSave(std::function<void()> then);

protected:
    void Form_Load() override;
    bool Form_QueryUnload() override;

private:
    // Saves what the box holds now; whether it was saved (if not, a box has said why and the
    // sizes take the focus once it is read).
    bool save();
    // Closes the window, asking first whether to save changes not yet saved.
    void close();
    void count();

    runtime::TextBox txtShims = control<runtime::TextBox>("txtShims");
    runtime::TextBox txtCount = control<runtime::TextBox>("txtCount");
    std::string saved_; // the text as last read or saved
};

} // namespace clearmark
