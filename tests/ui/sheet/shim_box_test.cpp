// The shim box without a window: its counted line, the box after a plan is fitted, its file
// read (missing, good, and every kind of unreadable file put aside and reported once) and
// saved (all or nothing, refusing a bad size and never writing over an unread file).
#include "sheet/shim_box.h"

#include "support/memory_storage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace clearmark::sheet {

// How the box's results read in a failed assertion.
void PrintTo(const BoxAfterFitting& after, std::ostream* out) {
    *out << "box {" << shimsText(after.box) << "} missing {" << shimsText(after.missing) << "}";
}
void PrintTo(const ShimBoxRead& read, std::ostream* out) {
    *out << "text \"" << read.text << "\" message \"" << read.message.value_or("(none)") << "\"";
}

namespace {

using testing_support::MemoryStorage;

// A file in the data folder, with the platform's separator.
std::string inData(const std::string& name) {
    return platform::pathIn("/data/clearmark", name);
}
const std::string kBox = inData("shim-box.json");
const std::string kAside = inData("shim-box-damaged-2026-12-09.json");

// Millimetres separated by spaces, 0 included.
std::vector<Nanometres> sizes(const char* text) {
    std::istringstream words(text);
    std::vector<Nanometres> sizes;
    for (double mm = 0; words >> mm;)
        sizes.push_back(std::llround(mm * 1e6));
    return sizes;
}

std::string repeated(const std::string& item, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += item + " ";
    return text;
}

std::string boxBytes(const std::string& version, const std::string& shims) {
    return "{\n  \"format\": \"clearmark-shim-box\",\n  \"version\": " + version +
           ",\n  \"shims\": " + shims + "\n}\n";
}

TEST(ShimBox, CountsTheShimsSmallestFirst) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "No shims"},
        {" ;\t ", "No shims"},
        {"2.40", "1 shim: 1 \u00d7 2.400"},
        {"2.45 2,40;2.45", "3 shims: 1 \u00d7 2.400, 2 \u00d7 2.450"},
        {"3.2 2 2.4755 2.4755", "4 shims: 1 \u00d7 2.000, 2 \u00d7 2.476, 1 \u00d7 3.200"},
        {"2.40 2.4x 2.45", "2.4x is not a shim size"},
        {"2.40 0", "0 is not a shim size"},
        {"-2.40", "-2.40 is not a shim size"},
        {repeated("2", kMostShimSizes), "2000 shims: 2000 \u00d7 2.000"},
        {repeated("2", kMostShimSizes + 1), "More than 2,000 shims"},
    };
    for (const auto& [typed, line] : cases)
        EXPECT_EQ(countedText(typed), line) << typed.substr(0, 20);
}

TEST(ShimBox, SizesAreWrittenSoTheSparesFieldReadsThemBackTheSame) {
    const char* const cases[] = {"", "2.400", "2.400 2.475 2.4755 12.000001", "0.000001 1000.000"};
    for (const char* text : cases) {
        EXPECT_EQ(shimsText(sizes(text)), text);
        EXPECT_FALSE(parseSpares(text).badItem) << text;
    }
}

// Each valve's plan written "keep", "bought", "removed 1" or "spare 0".
std::vector<ValvePlan> plans(const char* text) {
    std::istringstream words(text);
    std::vector<ValvePlan> plans;
    for (std::string word; words >> word;) {
        const std::pair<const char*, ShimSource> names[] = {{"keep", ShimSource::Keep},
                                                            {"bought", ShimSource::Bought},
                                                            {"removed", ShimSource::Removed},
                                                            {"spare", ShimSource::Spare}};
        ValvePlan plan{ShimSource::Keep, 0, 0, 0, true};
        for (const auto& [name, source] : names)
            if (word == name)
                plan.source = source;
        if (plan.source == ShimSource::Removed || plan.source == ShimSource::Spare)
            words >> plan.from;
        plans.push_back(plan);
    }
    return plans;
}

TEST(ShimBox, AfterFittingTheUsedSparesAreOutAndTheFreedShimsIn) {
    struct Case {
        const char* box;
        const char* shims; // the valves' own
        const char* spares;
        const char* plan;
        const char* after;
        const char* missing;
    };
    const Case cases[] = {
        {"2.45 2.4", "2.5 2.55", "2.4", "keep keep", "2.4 2.45", ""},
        {"2.45 2.4 2.45", "2.5", "2.45", "spare 0", "2.4 2.45 2.5", ""},
        {"2.3 2.6", "2.5 2.55", "2.3 2.6", "keep spare 1", "2.3 2.55", ""},
        {"2.4", "2.5", "2.475", "spare 0", "2.4 2.5", "2.475"},
        {"2.475 2.4", "2.5 2.55", "2.475 2.475", "spare 1 spare 0", "2.4 2.5 2.55", "2.475"},
        // A shim taken out and fitted to another valve stays out of the box.
        {"", "2.5 2.55 2.6", "", "removed 1 bought keep", "2.5", ""},
        {"2.4", "2.5 2.55", "", "removed 1 removed 0", "2.4", ""},
        // A valve fitted without a shim gives none.
        {"", "0 2.55", "", "bought bought", "2.55", ""},
    };
    for (const Case& c : cases) {
        SheetInput input;
        for (const Nanometres shim : sizes(c.shims))
            input.valves.push_back({ValveKind::Intake, 0, shim});
        input.spares = sizes(c.spares);
        const SheetPlan plan{plans(c.plan), {}, {}};
        EXPECT_EQ(boxAfterFitting(sizes(c.box), input, plan),
                  (BoxAfterFitting{sizes(c.after), sizes(c.missing)}))
            << c.plan;
    }
}

TEST(ShimBox, AfterFittingSaysWhatTheBoxHoldsAndWhichSparesItLacked) {
    const std::pair<BoxAfterFitting, const char*> cases[] = {
        {{}, "The shim box is now empty."},
        {{sizes("2.45 2.45 2.5"), {}},
         "The shim box now holds 3 shims: 2 \u00d7 2.450, 1 \u00d7 2.500."},
        {{sizes("2.4"), sizes("2.475 2.475 2.5")},
         "The shim box now holds 1 shim: 1 \u00d7 2.400.\nThe plan used spares the shim box did "
         "not hold: 2 \u00d7 2.475, 1 \u00d7 2.500."},
    };
    for (const auto& [after, message] : cases)
        EXPECT_EQ(fittingMessage(after), message);
}

TEST(ShimBox, AGoodOrMissingFileIsReadAsItIs) {
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {std::nullopt, ""},
        {boxBytes("1", "\"\""), ""},
        {boxBytes("1", "\"2,40; 2.45\\t2.45 \""), "2,40; 2.45\t2.45 "},
        {R"({"shims": "2.4", "version": 1, "format": "clearmark-shim-box", "x": 0})", "2.4"},
    };
    for (const auto& [bytes, text] : cases) {
        MemoryStorage storage;
        if (bytes)
            storage.files[kBox] = *bytes;
        const std::map<std::string, std::string> before = storage.files;
        EXPECT_EQ(readShimBox(), (ShimBoxRead{text, std::nullopt})) << text;
        EXPECT_EQ(storage.files, before) << text;
    }
}

TEST(ShimBox, AnUnreadableFileIsKeptAsideAndReportedOnce) {
    const char* const damaged = "it is damaged";
    const char* const notABox = "it is not a Clearmark shim box";
    const char* const newer = "it was written by a newer version of Clearmark";
    const std::pair<std::string, const char*> cases[] = {
        {R"({"format": "clearmark-shim-box", "vers)", damaged},
        {"", notABox},
        {"2.40 2.45", notABox},
        {"[1, 2]", notABox},
        {R"({"format": "clearmark-job", "version": 1, "shims": "2.40"})", notABox},
        {boxBytes("2", "\"2.40\""), newer},
        {boxBytes("18446744073709551615", "\"2.40\""), newer},
        {boxBytes("0", "\"2.40\""), damaged},
        {boxBytes("1.5", "\"2.40\""), damaged},
        {boxBytes("\"1\"", "\"2.40\""), damaged},
        {boxBytes("1", "[2.40]"), damaged},
        {boxBytes("1", "\"2.40 2.4x\""), damaged},
        {R"({"format": "clearmark-shim-box", "version": 1})", damaged},
        {boxBytes("1", "\"" + std::string(kLargestShimBox, ' ') + "\""),
         "it is larger than 256 KiB"},
    };
    for (const auto& [bytes, why] : cases) {
        MemoryStorage storage;
        storage.files[kBox] = bytes;
        EXPECT_EQ(
            readShimBox(),
            (ShimBoxRead{"", "The shim box file " + kBox + " could not be read (" + why +
                                 "); it was kept as " + kAside + " and the box starts empty."}));
        EXPECT_EQ(storage.files, (std::map<std::string, std::string>{{kAside, bytes}}));
        EXPECT_EQ(readShimBox(), ShimBoxRead{}) << "said twice: " << why;
    }
}

TEST(ShimBox, ADamagedBoxThatCannotBeKeptAsideIsLeftAndNeverSavedOver) {
    struct Case {
        bool moveFails;
        int namesTaken;   // shim-box-damaged-<today>.json, -2, ...
        const char* name; // the name it is kept under, or the last one tried
        const char* why;  // why it could not be kept; "" when it was
    };
    const Case cases[] = {
        {false, 2, "shim-box-damaged-2026-12-09-3.json", ""},
        {true, 0, "shim-box-damaged-2026-12-09.json", "Permission denied"},
        {false, 100, "shim-box-damaged-2026-12-09-100.json",
         "every name up to shim-box-damaged-2026-12-09-100.json is taken"},
    };
    for (const Case& c : cases) {
        MemoryStorage storage;
        for (int n = 1; n <= c.namesTaken; ++n)
            storage.files[inData("shim-box-damaged-2026-12-09" +
                                 (n > 1 ? "-" + std::to_string(n) : "") + ".json")] = "older";
        storage.files[kBox] = "{ damaged";
        if (c.moveFails)
            storage.failingMoves.insert(kBox);
        const std::string unread =
            "The shim box file " + kBox + " could not be read (it is damaged)";
        const bool kept = *c.why == '\0';
        EXPECT_EQ(readShimBox().message,
                  kept
                      ? unread + "; it was kept as " + inData(c.name) + " and the box starts empty."
                      : unread + " and could not be kept as " + inData(c.name) + " (" + c.why +
                            "); it was left as it is, the box starts empty and is not saved over "
                            "it.");
        EXPECT_EQ(storage.files.size(), std::size_t(c.namesTaken + 1));
        EXPECT_EQ(storage.files[kept ? inData(c.name) : kBox], "{ damaged");
        if (kept)
            continue;
        EXPECT_EQ(saveShimBox("2.40"), "The shim box was not saved: " + kBox +
                                           " could not be read and is left as it is.");
        EXPECT_EQ(storage.files[kBox], "{ damaged");
        EXPECT_EQ(storage.writes, 0);
    }
}

TEST(ShimBox, SavingWritesTheWholeBoxOrNothing) {
    const std::string old = boxBytes("1", "\"2.50\"");
    const std::string notSaved = "The shim box was not saved: ";
    const std::tuple<std::string, bool, std::optional<std::string>> cases[] = {
        // typed, the write fails, what the user is told
        {"2.40 2.45", false, std::nullopt},
        {"", false, std::nullopt},
        {"2,40;\t2.45 ", false, std::nullopt},
        {"2.40 2.4x 2.45", false, notSaved + "2.4x is not a shim size."},
        {"2.40 0", false, notSaved + "0 is not a shim size."},
        {repeated("2", kMostShimSizes), false, std::nullopt},
        {"2.40", true, notSaved + "No space left on device."},
    };
    for (const auto& [typed, fails, message] : cases) {
        MemoryStorage storage;
        storage.files[kBox] = old;
        if (fails)
            storage.failingWrites.insert(kBox);
        EXPECT_EQ(saveShimBox(typed), message) << typed;
        EXPECT_EQ(storage.files[kBox], message ? old : writeShimBoxBytes(typed)) << typed;
        if (!message) {
            EXPECT_EQ(readShimBox(), (ShimBoxRead{typed, std::nullopt})) << typed;
        }
    }
    MemoryStorage storage;
    EXPECT_EQ(saveShimBox(repeated("3", kMostShimSizes + 1)),
              notSaved + "it holds more than 2,000 shims.");
    EXPECT_EQ(storage.writes, 0);
}

TEST(ShimBox, TheFileIsTheFormatItsVersionAndTheTextAsTyped) {
    EXPECT_EQ(writeShimBoxBytes("2.40 2,45\t\"x\""), boxBytes("1", R"("2.40 2,45\t\"x\"")"));
}

} // namespace
} // namespace clearmark::sheet
