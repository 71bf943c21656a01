#pragma once

// The valve sheet opened from the main window, with what its tests share: the worked Triumph
// twin, the rows' names and columns, and the sheet's own boxes.
#include "runtime/forms.h"
#include "sheet/frmValveSheet.h"
#include "support/gui_support.h"

#include <string>
#include <utility>
#include <vector>

namespace clearmark::testing_support {

using runtime::forms;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;

inline MsgBoxRequest sheetBox(const std::string& text) {
    return {text, "Valve Sheet", MsgButtons::OK, MsgIcon::Exclamation};
}

// The worked example: gap and shim of each valve of the Triumph twin, in the sheet's order.
inline const std::vector<std::pair<const char*, const char*>> kTriumphTwin = {
    {"0.100", "2.450"}, {"0.180", "2.500"}, {"0.320", "2.400"}, {"0.240", "2.550"},
    {"0.230", "2.375"}, {"0,150", "2.600"}, {"0.210", "2.450"}, {"0.280", "2.425"}};

class SheetFixture : public testing_support::WithMainWindow {
public:
    void SetUp() override {
        WithMainWindow::SetUp();
        choose(*main, "mnuValveSheet");
        sheet = forms().find<frmValveSheet>();
        ASSERT_NE(sheet, nullptr);
    }
    static std::string rowBox(const char* column, std::size_t row) {
        return column + std::to_string(row);
    }
    std::string text(const std::string& box) const { return textBox(*sheet, box.c_str()).text(); }
    void put(const std::string& box, const std::string& value) {
        enter(*sheet, box.c_str(), value);
    }
    // The valves the sheet shows, by the captions of its visible rows.
    std::vector<std::string> rowNames() const {
        std::vector<std::string> names;
        for (std::size_t i = 1; i <= kMostValves; ++i) {
            const runtime::Label name = label(*sheet, rowBox("lblValve", i).c_str());
            const bool boxesShown = textBox(*sheet, rowBox("txtGap", i).c_str()).visible() &&
                                    textBox(*sheet, rowBox("txtNewGap", i).c_str()).visible();
            EXPECT_EQ(name.visible(), boxesShown) << "row " << i;
            if (name.visible())
                names.push_back(name.caption());
        }
        return names;
    }
    void enterTriumphTwin() {
        put("txtSpares", "2.475");
        for (std::size_t i = 0; i < kTriumphTwin.size(); ++i) {
            put(rowBox("txtGap", i + 1), kTriumphTwin[i].first);
            put(rowBox("txtShim", i + 1), kTriumphTwin[i].second);
        }
    }
    // Reset, giving up the unsaved changes.
    void reset() {
        boxes.answerNext(runtime::MsgAnswer::No);
        click(*sheet, "cmdReset");
        boxes.clear();
    }
    std::vector<std::string> column(const char* prefix) const {
        std::vector<std::string> texts;
        for (std::size_t i = 1; i <= rowNames().size(); ++i)
            texts.push_back(text(rowBox(prefix, i)));
        return texts;
    }

    frmValveSheet* sheet = nullptr;
};

inline const std::vector<std::string> kTwinNames = {
    "Cylinder 1 intake 1", "Cylinder 1 intake 2", "Cylinder 1 exhaust 1", "Cylinder 1 exhaust 2",
    "Cylinder 2 intake 1", "Cylinder 2 intake 2", "Cylinder 2 exhaust 1", "Cylinder 2 exhaust 2"};

} // namespace clearmark::testing_support
