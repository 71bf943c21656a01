#include "sheet/sheet_reader.h"

#include "core/measurement.h"
#include "sheet/frmValveSheet_design.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

namespace clearmark::sheet {
namespace {

// A count typed, when it is a whole number from 1 to `most`.
std::optional<int> countIn(const std::string& text, int most) {
    const std::optional<double> value = parseMeasurement(text);
    if (!value || *value < 1 || *value > most || *value != std::floor(*value))
        return std::nullopt;
    return int(*value);
}

// "2,000": a number with its thousands marked.
std::string withThousands(std::size_t number) {
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

// The setting whose text that is, found as the program is compiled.
template <std::string SheetTexts::*Text> const Setting& settingOf() {
    constexpr std::size_t at = [] {
        std::size_t i = 0;
        while (i < std::size(kSettings) && kSettings[i].text != Text)
            ++i;
        return i;
    }();
    static_assert(at < std::size(kSettings), "every text of the sheet has its setting");
    return kSettings[at];
}

constexpr Nanometres kMillimetre = 1'000'000;

// The largest gap a valve may have: 1 mm, or 0.040 in where the gaps are in inches.
constexpr Nanometres largestGap(GapUnit unit) {
    return unit == GapUnit::Inches ? kNanometresPerInch * 40 / 1000 : kMillimetre;
}

// Reads field after field and keeps the first fault; once there is one, what is read after
// it is no longer looked at.
class Reader {
public:
    explicit Reader(const SheetTexts& texts) : texts_(texts) {}

    const std::optional<BadField>& fault() const { return fault_; }

    void refuse(std::string box, std::string message) {
        if (!fault_)
            fault_ = BadField{std::move(box), std::move(message)};
    }
    void refuseUnless(bool good, const Setting& field, const std::string& message) {
        if (!good)
            refuse(field.box, message);
    }

    void count(const Setting& field, int most) {
        if (!countIn(texts_.*field.text, most))
            refuse(field.box, std::string(field.name) + " must be a whole number from 1 to " +
                                  std::to_string(most));
    }

    Nanometres length(const Setting& field, GapUnit unit) {
        return length(texts_.*field.text, field.box, field.name, unit);
    }

    // A length typed: missing, not a number, below zero and too large are refused.
    Nanometres length(const std::string& text, const std::string& box, const std::string& name,
                      GapUnit unit) {
        if (fault_)
            return 0;
        if (text.find_first_not_of(" \t") == std::string::npos) {
            refuse(box, name + " is missing");
            return 0;
        }
        const std::optional<double> value = parseMeasurement(text);
        if (!value) {
            refuse(box, name + " is not a number");
            return 0;
        }
        if (*value < 0) {
            refuse(box, name + " is below zero");
            return 0;
        }
        const std::optional<Nanometres> length = lengthOf(*value, unit);
        if (!length) {
            refuse(box, name + " is too large");
            return 0;
        }
        return *length;
    }

private:
    const SheetTexts& texts_;
    std::optional<BadField> fault_;
};

} // namespace

std::string ValveName::text() const {
    return "Cylinder " + std::to_string(cylinder) +
           (kind == ValveKind::Intake ? " intake " : " exhaust ") + std::to_string(index);
}

std::optional<std::vector<ValveName>> valvesOf(const SheetTexts& texts) {
    const auto cylinders = countIn(texts.cylinders, kMostCylinders);
    const auto intake = countIn(texts.intakeValves, kMostValvesPerCylinder);
    const auto exhaust = countIn(texts.exhaustValves, kMostValvesPerCylinder);
    if (!cylinders || !intake || !exhaust ||
        std::size_t(*cylinders) * std::size_t(*intake + *exhaust) > kMostValves)
        return std::nullopt;
    std::vector<ValveName> valves;
    for (int c = 1; c <= *cylinders; ++c) {
        for (int i = 1; i <= *intake; ++i)
            valves.push_back({c, ValveKind::Intake, i});
        for (int e = 1; e <= *exhaust; ++e)
            valves.push_back({c, ValveKind::Exhaust, e});
    }
    return valves;
}

std::variant<SheetInput, BadField> readSheet(const SheetTexts& texts) {
    const Setting& cylinders = settingOf<&SheetTexts::cylinders>();
    const Setting& intakeFrom = settingOf<&SheetTexts::intakeFrom>();
    const Setting& intakeTo = settingOf<&SheetTexts::intakeTo>();
    const Setting& intakeAim = settingOf<&SheetTexts::intakeAim>();
    const Setting& exhaustFrom = settingOf<&SheetTexts::exhaustFrom>();
    const Setting& exhaustTo = settingOf<&SheetTexts::exhaustTo>();
    const Setting& exhaustAim = settingOf<&SheetTexts::exhaustAim>();
    const Setting& shimsFrom = settingOf<&SheetTexts::shimsFrom>();
    const Setting& shimsTo = settingOf<&SheetTexts::shimsTo>();
    const Setting& shimStep = settingOf<&SheetTexts::shimStep>();
    const Setting& spareShims = settingOf<&SheetTexts::spares>();

    Reader read(texts);
    read.count(cylinders, kMostCylinders);
    read.count(settingOf<&SheetTexts::intakeValves>(), kMostValvesPerCylinder);
    read.count(settingOf<&SheetTexts::exhaustValves>(), kMostValvesPerCylinder);
    const std::optional<std::vector<ValveName>> valves = valvesOf(texts);
    if (!valves)
        read.refuse(cylinders.box,
                    "The engine has more than " + std::to_string(kMostValves) + " valves");

    const GapUnit gaps = texts.unit;
    const GapUnit mm = GapUnit::Millimetres;
    SheetInput input;
    input.intake = {read.length(intakeFrom, gaps), read.length(intakeTo, gaps),
                    read.length(intakeAim, gaps)};
    input.exhaust = {read.length(exhaustFrom, gaps), read.length(exhaustTo, gaps),
                     read.length(exhaustAim, gaps)};
    input.catalogue = {read.length(shimsFrom, mm), read.length(shimsTo, mm),
                       read.length(shimStep, mm)};
    const SpareList spares = parseSpares(texts.spares);
    if (spares.badItem)
        read.refuse(spareShims.box,
                    std::string(spareShims.name) + ": " + *spares.badItem + " is not a shim size");
    input.spares = spares.sizes;
    input.leaveInRangeAlone = texts.leaveInRangeAlone;
    for (std::size_t i = 0; valves && i < valves->size(); ++i) {
        const SheetTexts::Row row = i < texts.rows.size() ? texts.rows[i] : SheetTexts::Row{};
        const std::string name = (*valves)[i].text();
        const Nanometres gap =
            read.length(row.gap, rowControl(RowPart::Gap, i), name + " gap", gaps);
        // No valve gap is a millimetre: a larger one is a slip of the finger or of the unit.
        if (gap > largestGap(gaps))
            read.refuse(rowControl(RowPart::Gap, i),
                        name + " gap is above " +
                            std::string(gaps == GapUnit::Inches ? "0.040 in" : "1 mm"));
        const Nanometres shim =
            read.length(row.shim, rowControl(RowPart::Shim, i), name + " shim", mm);
        input.valves.push_back({(*valves)[i].kind, gap, shim});
    }
    if (read.fault())
        return *read.fault();

    // What the fields make together, in the order the planner looks at it.
    const auto above = [](const Setting& low, const Setting& high) {
        return std::string(low.name) + " is above " + high.name;
    };
    const std::string most = " more than " + withThousands(kMostShimSizes) + " sizes";
    const ShimCatalogue& shims = input.catalogue;
    read.refuseUnless(input.spares.size() <= kMostShimSizes, spareShims,
                      spareShims.name + std::string(" lists") + most);
    read.refuseUnless(input.intake.from <= input.intake.to, intakeFrom,
                      above(intakeFrom, intakeTo));
    read.refuseUnless(input.exhaust.from <= input.exhaust.to, exhaustFrom,
                      above(exhaustFrom, exhaustTo));
    read.refuseUnless(inRange(input.intake, input.intake.aim), intakeAim,
                      intakeAim.name + std::string(" is outside the intake gap range"));
    read.refuseUnless(inRange(input.exhaust, input.exhaust.aim), exhaustAim,
                      exhaustAim.name + std::string(" is outside the exhaust gap range"));
    read.refuseUnless(shims.step > 0, shimStep, shimStep.name + std::string(" is not positive"));
    read.refuseUnless(shims.from <= shims.to, shimsFrom, above(shimsFrom, shimsTo));
    // Counted only for a catalogue that passed the two checks before.
    if (!read.fault())
        read.refuseUnless(sizeCount(shims) <= std::int64_t(kMostShimSizes), shimStep,
                          "Shims from, to and step make" + most);
    // A fitted shim far from every size is a typing slip; shims are stamped in hundredths
    // of a millimetre ("245" for 2.45).
    for (std::size_t i = 0; !read.fault() && i < input.valves.size(); ++i) {
        const Nanometres shim = input.valves[i].shim;
        if (shim >= shims.from - kMillimetre && shim <= shims.to + kMillimetre)
            continue;
        const std::string& typed = texts.rows[i].shim;
        const std::string digits = typed.substr(typed.find_first_not_of(" \t"));
        const std::string trimmed = digits.substr(0, digits.find_last_not_of(" \t") + 1);
        std::string message = (*valves)[i].text() +
                              " shim is more than 1 mm outside the shim sizes (" + texts.shimsFrom +
                              " to " + texts.shimsTo + ")";
        if (trimmed.size() == 3 && std::all_of(trimmed.begin(), trimmed.end(),
                                               [](char c) { return c >= '0' && c <= '9'; }))
            message += ". If " + trimmed + " is the number stamped on the shim, type " +
                       trimmed.substr(0, 1) + "." + trimmed.substr(1) + ".";
        read.refuse(rowControl(RowPart::Shim, i), message);
    }
    if (read.fault())
        return *read.fault();
    return input;
}

} // namespace clearmark::sheet
