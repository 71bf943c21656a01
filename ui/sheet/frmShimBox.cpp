#include "sheet/frmShimBox.h"

#include "runtime/forms.h"
#include "runtime/msgbox.h"
#include "runtime/platform/storage.h"
#include "sheet/shim_box.h"

#include <optional>
#include <string>
#include <utility>

namespace clearmark {
namespace {

using enum runtime::ControlKind;

constexpr const char* kCaption = "Shim Box";

constexpr runtime::FontDesign kRegular{};
constexpr auto kShown = runtime::Visibility::Shown;
constexpr auto kHidden = runtime::Visibility::Hidden;
constexpr auto kLeft = runtime::Alignment::Left;
constexpr bool kReadOnly = true;

// The sizes with their label above them, the count below, the buttons at the foot.
// clang-format off
constexpr runtime::ControlDesign kControls[] = {
//   name        kind           caption                              left  top   width height tab  font      shown   align  color readOnly
    {"lblShims", Label,         "Shims in the box, in millimeters:",  120,  120, 5760,  225,   3},
    {"txtShims", TextBox,       "",                                   120,  375, 5760,  300,   0},
    {"txtCount", TextBox,       "",                                   120,  795, 5760,  300,   4, kRegular, kShown, kLeft, {},   kReadOnly},
    {"cmdSave",  CommandButton, "Save",                              3780, 1230,  990,  360,   1},
    {"cmdClose", CommandButton, "Close",                             4890, 1230,  990,  360,   2},
    // Shown where the box may be lost without a file being deleted (in a browser).
    {"lblKept",  Label,         "",                                   120, 1710, 5760,  690,   5, kRegular, kHidden},
};
// clang-format on

constexpr runtime::WindowDesign kWindow{
    .name = "frmShimBox",
    .caption = kCaption,
    .clientWidth = 6000,
    .clientHeight = 1710,
    .controls = kControls,
    .defaultButton = "cmdSave",
    .cancelButton = "cmdClose",
};

void say(const std::string& text, runtime::MsgThen then = {}) {
    runtime::msgBox(text, runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation, kCaption,
                    std::move(then));
}

} // namespace

frmShimBox::frmShimBox() : Form(kWindow) {
    nameFromLabel(txtShims, control<runtime::Label>("lblShims"));
    setAccessibleName(txtCount, "Shims counted");
    onClick(control<runtime::CommandButton>("cmdSave"), &frmShimBox::cmdSave_Click);
    onClick(control<runtime::CommandButton>("cmdClose"), &frmShimBox::cmdClose_Click);
    onChange(txtShims, &frmShimBox::txtShims_Change);
    if (const std::string caveat = platform::storage().dataCaveat(); !caveat.empty()) {
        const auto kept = control<runtime::Label>("lblKept");
        kept.setCaption(caveat);
        kept.setVisible(true);
        setClientHeight(kWindow.clientHeight + 720);
    }
}

void frmShimBox::Form_Load() {
    const sheet::ShimBoxRead read = sheet::readShimBox();
    saved_ = read.text;
    txtShims.setText(read.text);
    count();
    if (read.message)
        say(*read.message);
}

void frmShimBox::txtShims_Change() {
    count();
}

void frmShimBox::count() {
    txtCount.setText(sheet::countedText(txtShims.text()));
}

bool frmShimBox::save() {
    const std::string text = txtShims.text();
    // The box is read again before it is changed: another window of the program (another tab
    // of the page) may have saved it since this one read it, and that is not lost unseen.
    if (const sheet::ShimBoxRead now = sheet::readShimBox();
        !now.message && now.text != saved_ && now.text != text) {
        say("The shim box was changed in another window since this one read it, and is left as "
            "it is there. Close the Shim Box and open it again to see that change, then make "
            "yours.",
            [box = txtShims](runtime::MsgAnswer) { box.setFocus(); });
        return false;
    }
    if (const std::optional<std::string> refused = sheet::saveShimBox(text)) {
        say(*refused, [box = txtShims](runtime::MsgAnswer) { box.setFocus(); });
        return false;
    }
    saved_ = text;
    return true;
}

void frmShimBox::cmdSave_Click() {
    save();
}

void frmShimBox::cmdClose_Click() {
    close();
}

bool frmShimBox::Form_QueryUnload() {
    if (!modified())
        return true;
    close(); // unloads the window once the question is answered
    return false;
}

bool frmShimBox::modified() const {
    return txtShims.text() != saved_;
}

void frmShimBox::askToSave(std::function<void()> then) {
    if (!modified()) {
        then();
        return;
    }
    runtime::msgBox("Save changes to Shim Box?", runtime::MsgButtons::YesNoCancel,
                    runtime::MsgIcon::Question, kCaption,
                    [this, then = std::move(then)](runtime::MsgAnswer answer) {
                        if (answer == runtime::MsgAnswer::Cancel)
                            return;
                        if (answer == runtime::MsgAnswer::Yes && !save())
                            return;
                        then();
                    });
}

void frmShimBox::close() {
    askToSave([this] { runtime::forms().unload(*this); });
}

} // namespace clearmark
