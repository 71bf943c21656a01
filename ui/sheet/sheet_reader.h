#pragma once

// The valve sheet's texts read into the planner's input, without any window: either an
// input the planner takes, or the first field that stops it, with what the user is told.
#include "core/valve_sheet.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace clearmark::sheet {

inline constexpr int kMostCylinders = 8;
inline constexpr int kMostValvesPerCylinder = 3;

// What the sheet holds, as typed.
struct SheetTexts {
    std::string cylinders;
    std::string intakeValves;
    std::string exhaustValves;
    std::string intakeFrom;
    std::string intakeTo;
    std::string intakeAim;
    std::string exhaustFrom;
    std::string exhaustTo;
    std::string exhaustAim;
    std::string shimsFrom;
    std::string shimsTo;
    std::string shimStep;
    std::string spares;
    bool leaveInRangeAlone = true;
    GapUnit unit = GapUnit::Millimetres; // of the gaps and ranges; shims are millimetres
    struct Row {
        std::string gap;
        std::string shim;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> rows; // in the rows' order; those past the engine's valves are not read
    bool operator==(const SheetTexts&) const = default;
};

// A setting of the sheet: its box, what the sheet and a screen reader call it, where its
// text is held, and the text it starts with.
struct Setting {
    const char* box;
    const char* name;
    std::string SheetTexts::*text;
    const char* initial;
};
inline constexpr Setting kSettings[] = {
    {"txtCylinders", "Cylinders", &SheetTexts::cylinders, "2"},
    {"txtIntakeValves", "Intake valves per cylinder", &SheetTexts::intakeValves, "2"},
    {"txtExhaustValves", "Exhaust valves per cylinder", &SheetTexts::exhaustValves, "2"},
    {"txtIntakeFrom", "Intake gap from", &SheetTexts::intakeFrom, "0.15"},
    {"txtIntakeTo", "Intake gap to", &SheetTexts::intakeTo, "0.20"},
    {"txtIntakeAim", "Intake aim", &SheetTexts::intakeAim, "0.175"},
    {"txtExhaustFrom", "Exhaust gap from", &SheetTexts::exhaustFrom, "0.25"},
    {"txtExhaustTo", "Exhaust gap to", &SheetTexts::exhaustTo, "0.30"},
    {"txtExhaustAim", "Exhaust aim", &SheetTexts::exhaustAim, "0.275"},
    {"txtShimsFrom", "Shims from", &SheetTexts::shimsFrom, "2.00"},
    {"txtShimsTo", "Shims to", &SheetTexts::shimsTo, "3.20"},
    {"txtShimStep", "Shim step", &SheetTexts::shimStep, "0.025"},
    {"txtSpares", "Spare shims", &SheetTexts::spares, ""},
};

// One valve of the engine: which row shows it, and what it is called.
struct ValveName {
    int cylinder;
    ValveKind kind;
    int index;                // among the cylinder's valves of its kind, from 1
    std::string text() const; // "Cylinder 2 exhaust 1"
    bool operator==(const ValveName&) const = default;
};

// The engine's valves in the sheet's order (cylinder by cylinder, intake first), when the
// counts are whole numbers within their limits and make at most kMostValves valves.
std::optional<std::vector<ValveName>> valvesOf(const SheetTexts& texts);

// A field the plan cannot be made from: the name of its box, and what the user is told.
struct BadField {
    std::string box;
    std::string message;
    bool operator==(const BadField&) const = default;
};

// The planner's input from the sheet's texts, which the planner always takes, or the first
// bad field: the counts, the settings in the order of kSettings, each valve's gap and shim,
// then what the fields make together (too many spares or sizes, a range backwards, an aim
// outside its range, no step).
std::variant<SheetInput, BadField> readSheet(const SheetTexts& texts);

} // namespace clearmark::sheet
