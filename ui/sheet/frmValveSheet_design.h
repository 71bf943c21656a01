#pragma once

// The valve sheet's design: the settings, the job's bike, date and odometer beside them, and
// the headings at the top, one row for each of
// up to kMostValves valves below them (the engine's shown, the rest hidden), and the summary
// and the buttons below the last row shown. Positions are in twips, for the default engine.
#include "runtime/design.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace clearmark::sheet {

inline constexpr const char* kCaption = "Valve Sheet";
inline constexpr std::size_t kDefaultRows = 8; // the Triumph twin's

// The rows: one per valve, 20 pixels apart at 96 DPI, below the settings and the headings.
inline constexpr int kFirstRowTop = 1650;
inline constexpr int kRowPitch = 300;
inline constexpr int kRowHeight = 285;
inline constexpr int kLabelDrop = 45; // a label's text level with the boxes beside it
inline constexpr int kClientWidth = 14400;
// Below the last row: the summary's boxes, the buttons centred on them, then the window's
// bottom margin.
inline constexpr int kSummaryGap = 120;
inline constexpr int kBoxHeight = 300;
inline constexpr int kButtonHeight = 360;
inline constexpr int kButtonRise = (kButtonHeight - kBoxHeight) / 2;
inline constexpr int kSummaryHeight = kButtonHeight - kButtonRise; // down to the buttons' foot
inline constexpr int kBottomMargin = 120;

constexpr int summaryTop(std::size_t rows) {
    return kFirstRowTop + int(rows) * kRowPitch + kSummaryGap;
}
constexpr int clientHeight(std::size_t rows) {
    return summaryTop(rows) + kSummaryHeight + kBottomMargin;
}

// The controls of a row, named by a prefix and the row's number from 1: "txtGap3" is the
// third row's gap.
enum class RowPart { Name, Gap, Shim, Plan, NewGap };
std::string rowControl(RowPart part, std::size_t row); // row counted from 0

// The controls below the rows, which move with the last row shown: each keeps its design's
// offset from the summary's top.
inline constexpr std::string_view kBelowRows[] = {"lblBuy",      "txtBuy",   "lblLeftOver",
                                                  "txtLeftOver", "cmdPlan",  "cmdFitted",
                                                  "cmdCopy",     "cmdReset", "cmdClose"};

// The design of a control of the fixed part (not a row's) by its name.
const runtime::ControlDesign& fixedDesign(std::string_view name);

const runtime::WindowDesign& windowDesign();

} // namespace clearmark::sheet
