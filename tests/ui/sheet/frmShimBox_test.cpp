// The shim box window as its user meets it: reached from the Tools menu, showing the box
// file's sizes and their count, counting as the user types, Save, and Close asking about
// changes not yet saved, with the box file held in memory.
#include "sheet/frmShimBox.h"
#include "sheet/shim_box.h"
#include "support/gui_support.h"
#include "support/memory_storage.h"

#include <functional>
#include <string>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;
using testing_support::Key;

// The box's file and the name a damaged one is kept under, with the platform's separator.
const std::string kBox = platform::pathIn("/data/clearmark", "shim-box.json");
const std::string kAside = platform::pathIn("/data/clearmark", "shim-box-damaged-2026-12-09.json");

MsgBoxRequest boxSays(const std::string& text) {
    return {text, "Shim Box", MsgButtons::OK, MsgIcon::Exclamation};
}
const MsgBoxRequest kSaveChanges{"Save changes to Shim Box?", "Shim Box", MsgButtons::YesNoCancel,
                                 MsgIcon::Question};

class ShimBoxWindow : public testing_support::WithMainWindow {
protected:
    frmShimBox& open() {
        choose(*main, "mnuShimBox");
        frmShimBox* box = forms().find<frmShimBox>();
        EXPECT_NE(box, nullptr);
        return *box;
    }
    static std::string text(const frmShimBox& box, const char* name) {
        return textBox(box, name).text();
    }

    testing_support::MemoryStorage storage;
};

TEST_F(ShimBoxWindow, OpensFromTheToolsMenuWithTheBoxFileAndItsCount) {
    struct Case {
        const char* bytes; // nullptr: no file
        const char* shown;
        const char* count;
        const char* why; // the box about an unreadable file; nullptr for none
    };
    const Case cases[] = {
        {nullptr, "", "No shims", nullptr},
        {R"({"format": "clearmark-shim-box", "version": 1, "shims": "2,45 2.40;2.45"})",
         "2,45 2.40;2.45", "3 shims: 1 \u00d7 2.400, 2 \u00d7 2.450", nullptr},
        {R"({"format": "clearmark-shim-box", "version": 7, "shims": "2.40"})", "", "No shims",
         "it was written by a newer version of Clearmark"},
    };
    for (const Case& c : cases) {
        storage.files.clear();
        if (c.bytes)
            storage.files[kBox] = c.bytes;
        boxes.clear();
        const frmShimBox& box = open();
        EXPECT_EQ(box.caption(), "Shim Box");
        EXPECT_EQ(text(box, "txtShims"), c.shown);
        EXPECT_EQ(text(box, "txtCount"), c.count);
        if (c.why) {
            EXPECT_EQ(boxes.shown(),
                      (std::vector<MsgBoxRequest>{
                          boxSays("The shim box file " + kBox + " could not be read (" + c.why +
                                  "); it was kept as " + kAside + " and the box starts empty.")}));
            EXPECT_EQ(storage.files[kAside], c.bytes);
        } else {
            EXPECT_TRUE(boxes.shown().empty());
        }
        press(box, Key::Escape); // nothing changed: closes without a question
        input().settle();
        EXPECT_EQ(forms().find<frmShimBox>(), nullptr) << c.shown;
        EXPECT_EQ(boxes.shown().size(), c.why ? 1u : 0u);
    }
    // Reported once: opened again, the box is empty and says nothing.
    boxes.clear();
    EXPECT_EQ(text(open(), "txtShims"), "");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ShimBoxWindow, TheCountFollowsTheTyping) {
    const frmShimBox& box = open();
    const std::pair<const char*, const char*> cases[] = {
        {"2.4", "1 shim: 1 \u00d7 2.400"},
        {"2.45 2.4", "2 shims: 1 \u00d7 2.400, 1 \u00d7 2.450"},
        {"2.45 2.4 x", "x is not a shim size"},
        {"2,5;2.5", "2 shims: 2 \u00d7 2.500"},
    };
    for (const auto& [typed, count] : cases) {
        enter(box, "txtShims", typed);
        EXPECT_EQ(text(box, "txtCount"), count) << typed;
    }
}

TEST_F(ShimBoxWindow, SaveWritesTheBoxAndEnterSavesToo) {
    const frmShimBox& box = open();
    enter(box, "txtShims", "2.40 2.45");
    click(box, "cmdSave");
    EXPECT_EQ(storage.files[kBox], sheet::writeShimBoxBytes("2.40 2.45"));
    enter(box, "txtShims", "2.50");
    press(box, Key::Enter);
    EXPECT_EQ(storage.files[kBox], sheet::writeShimBoxBytes("2.50"));
    click(box, "cmdClose"); // saved: no question
    input().settle();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(forms().find<frmShimBox>(), nullptr);
    EXPECT_EQ(text(open(), "txtShims"), "2.50");
}

// Another window (another tab of the page) saving the box after this one read it: Save leaves
// that box as it is and says so; saved again from here, or changed back, it is this window's.
TEST_F(ShimBoxWindow, SaveLeavesABoxChangedElsewhereAsItIs) {
    storage.files[kBox] = sheet::writeShimBoxBytes("2.40");
    const frmShimBox& box = open();
    enter(box, "txtShims", "2.40 2.45");
    storage.files[kBox] = sheet::writeShimBoxBytes("2.60"); // the other window's
    click(box, "cmdSave");
    input().settle();
    EXPECT_EQ(boxes.shown(), (std::vector<MsgBoxRequest>{boxSays(
                                 "The shim box was changed in another window since this one read "
                                 "it, and is left as it is there. Close the Shim Box and open it "
                                 "again to see that change, then make yours.")}));
    EXPECT_EQ(storage.files[kBox], sheet::writeShimBoxBytes("2.60"));
    EXPECT_EQ(focused(box), "txtShims");

    boxes.clear();
    enter(box, "txtShims", "2.60"); // what the other window saved: nothing is lost
    click(box, "cmdSave");
    EXPECT_TRUE(boxes.shown().empty());
    enter(box, "txtShims", "2.60 2.45"); // now read by this window
    click(box, "cmdSave");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(storage.files[kBox], sheet::writeShimBoxBytes("2.60 2.45"));
}

// Where the box may be lost without a file being deleted (in a browser), the window says so
// below its buttons; elsewhere it says nothing.
TEST_F(ShimBoxWindow, SaysWhereTheBoxMayBeLost) {
    const frmShimBox& plain = open();
    const auto kept = plain.control<runtime::Label>("lblKept");
    EXPECT_FALSE(kept.visible());
    click(plain, "cmdClose");
    input().settle();

    storage.caveat = "Kept in this browser only.";
    const frmShimBox& box = open();
    const auto shown = box.control<runtime::Label>("lblKept");
    EXPECT_TRUE(shown.visible());
    EXPECT_EQ(shown.caption(), "Kept in this browser only.");
}

TEST_F(ShimBoxWindow, ClosingWithChangesAsksWhetherToSaveThem) {
    struct Case {
        std::function<void(const frmShimBox&)> close;
        MsgAnswer answer;
        bool closed;
        const char* saved;
    };
    const auto button = [](const frmShimBox& box) {
        click(box, "cmdClose");
    };
    const auto escape = [](const frmShimBox& box) {
        press(box, Key::Escape);
    };
    const auto titleBar = [](const frmShimBox& box) {
        input().close(box);
    };
    const Case cases[] = {
        {button, MsgAnswer::Yes, true, "2.40 2.45"},   {button, MsgAnswer::No, true, "2.50"},
        {button, MsgAnswer::Cancel, false, "2.50"},    {escape, MsgAnswer::Yes, true, "2.40 2.45"},
        {escape, MsgAnswer::Cancel, false, "2.50"},    {titleBar, MsgAnswer::No, true, "2.50"},
        {titleBar, MsgAnswer::Yes, true, "2.40 2.45"}, {titleBar, MsgAnswer::Cancel, false, "2.50"},
    };
    for (const Case& c : cases) {
        storage.files[kBox] = sheet::writeShimBoxBytes("2.50");
        boxes.clear();
        const frmShimBox& box = open();
        enter(box, "txtShims", "2.40 2.45");
        boxes.answerNext(c.answer);
        c.close(box);
        input().settle();
        EXPECT_EQ(boxes.shown(), std::vector<MsgBoxRequest>{kSaveChanges});
        EXPECT_EQ(storage.files[kBox], sheet::writeShimBoxBytes(c.saved));
        const frmShimBox* still = forms().find<frmShimBox>();
        ASSERT_EQ(still == nullptr, c.closed) << int(c.answer);
        if (still == nullptr)
            continue;
        EXPECT_TRUE(still->visible());
        EXPECT_EQ(text(*still, "txtShims"), "2.40 2.45");
        enter(*still, "txtShims", "2.50"); // as saved: closes without a question
        click(*still, "cmdClose");
        input().settle();
    }
}

TEST_F(ShimBoxWindow, ASaveThatFailsKeepsTheWindowAndTheChanges) {
    struct Case {
        const char* typed;
        bool writeFails;
        const char* says;
    };
    const Case cases[] = {
        {"2.40", true, "The shim box was not saved: No space left on device."},
        {"2.40 2.4x", false, "The shim box was not saved: 2.4x is not a shim size."},
    };
    for (const Case& c : cases) {
        storage.files[kBox] = sheet::writeShimBoxBytes("2.50");
        storage.failingWrites.clear();
        if (c.writeFails)
            storage.failingWrites.insert(kBox);
        const frmShimBox& box = open();
        enter(box, "txtShims", c.typed);
        boxes.clear();
        boxes.answerNext(MsgAnswer::Yes);
        click(box, "cmdClose");
        input().settle();
        EXPECT_EQ(boxes.shown(), (std::vector<MsgBoxRequest>{kSaveChanges, boxSays(c.says)}));
        ASSERT_EQ(forms().find<frmShimBox>(), &box);
        EXPECT_EQ(text(box, "txtShims"), c.typed);
        EXPECT_EQ(focused(box), "txtShims");
        EXPECT_EQ(storage.files[kBox], sheet::writeShimBoxBytes("2.50"));
        boxes.answerNext(MsgAnswer::No);
        click(box, "cmdClose");
        input().settle();
        EXPECT_EQ(forms().find<frmShimBox>(), nullptr);
    }
}

} // namespace
} // namespace clearmark
