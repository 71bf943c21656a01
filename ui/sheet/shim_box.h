#pragma once

// The shim box: the spare shims on the bench, kept between runs in the program's data folder
// as the text the user typed, so that the box shows it back exactly. Reading never empties
// the box silently: a file that cannot be read is kept under another name and the user is
// told once. Needs no window.
#include "core/valve_sheet.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace clearmark::sheet {

inline constexpr const char* kShimBoxFile = "shim-box.json";
inline constexpr const char* kShimBoxFormat = "clearmark-shim-box";
inline constexpr int kShimBoxVersion = 1;
inline constexpr std::size_t kLargestShimBox = std::size_t{256} * 1024; // bytes

// The box as read: its text, and, when the file could not be read, what the user is told
// (once: the file has been put aside, so the next read finds no file).
struct ShimBoxRead {
    std::string text;
    std::optional<std::string> message;
    bool operator==(const ShimBoxRead&) const = default;
};
// The box's text; a missing file is an empty box. A file that cannot be read, is damaged, is
// not a box, is from a newer version or is too large is renamed aside
// ("shim-box-damaged-<today>.json", then "-2", "-3", ... when that is taken) and reported;
// one that cannot be renamed is left as it is, reported, and never written over.
ShimBoxRead readShimBox();

// The file's bytes for that text: the format and its version, then the text, two spaces of
// indentation, LF line ends and a final newline.
std::string writeShimBoxBytes(std::string_view text);

// Saves the text as the box, all or nothing; none when saved, else what the user is told
// (an item that is not a shim size, or why the file could not be written).
std::optional<std::string> saveShimBox(const std::string& text);

// The sorted sizes counted by size, smallest first: {2, "2 × 2.525"}, {1, "1 × 2.550"}.
struct CountedSize {
    std::size_t count;
    std::string text;
};
std::vector<CountedSize> countedBySize(const std::vector<Nanometres>& sorted);
// "2 × 2.525, 1 × 2.550": sorted sizes with their counts; "nothing" for none.
std::string countedSizes(const std::vector<Nanometres>& sorted);
// The box's line, smallest first: "3 shims: 1 × 2.400, 2 × 2.450", "1 shim: 1 × 2.400",
// "No shims".
std::string countedShims(std::vector<Nanometres> sizes);
// The line for the box's text as typed: its count, or why it is not a list of shims.
std::string countedText(std::string_view text);
// The sizes as a text the spare shims' field reads back as the same sizes: millimetres with
// at least three decimals and as many as a size needs, separated by spaces.
std::string shimsText(const std::vector<Nanometres>& sizes);

// The box once the plan's shims are fitted: each spare the plan used taken out, each shim
// taken out of a valve and fitted to none put in, smallest first; the spares the plan used
// that the box did not hold are named apart.
struct BoxAfterFitting {
    std::vector<Nanometres> box;
    std::vector<Nanometres> missing;
    bool operator==(const BoxAfterFitting&) const = default;
};
BoxAfterFitting boxAfterFitting(const std::vector<Nanometres>& box, const SheetInput& input,
                                const SheetPlan& plan);
// What the user is told after fitting: what the box now holds, and any spare it lacked.
std::string fittingMessage(const BoxAfterFitting& result);

} // namespace clearmark::sheet
