#include "sheet/job_page.h"

#include "runtime/appinfo.h"
#include "runtime/text_metrics.h"
#include "sheet/shim_box.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <numeric>
#include <string_view>
#include <utility>
#include <variant>

namespace clearmark::sheet {
namespace {

using runtime::kFaceAscent;
using runtime::kFaceDescent;
using runtime::Page;
using runtime::PageArea;
using runtime::textWidth;

constexpr double kTitleSize = 18;
constexpr double kJobSize = 11;
constexpr double kTextSize = 10; // the settings and the summary
constexpr double kFooterSize = 9;
constexpr double kLargestTableText = 11;
constexpr double kPad = 4;          // inside a cell, left and right
constexpr double kWritingRoom = 54; // for a pencilled "0.175" in an empty cell
constexpr double kCheckedRoom = 72; // the column written in after fitting
constexpr double kTallestRow = 28;  // a row for one valve, or a few
constexpr double kGap = 8;          // between the parts of the page
constexpr const char* kBlankText = "________";

double lineHeight(double size) {
    return size * (kFaceAscent + kFaceDescent);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string orBlank(std::string_view text) {
    std::string value = trimmed(text);
    return value.empty() ? kBlankText : value;
}

std::string unitName(GapUnit unit) {
    return unit == GapUnit::Millimetres ? "mm" : "in";
}

std::string lowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = char(text[0] - 'A' + 'a');
    return text;
}

class PageWriter {
public:
    explicit PageWriter(const PageArea& area) { page_.area = area; }

    void text(double x, double baseline, double size, bool bold, std::string text) {
        if (!text.empty())
            page_.texts.push_back({x, baseline, size, bold, std::move(text)});
    }
    void line(double x1, double y1, double x2, double y2, double width = 0.5) {
        page_.lines.push_back({x1, y1, x2, y2, width});
    }
    void fill(double x, double y, double width, double height, int grey) {
        page_.fills.push_back({x, y, width, height, grey});
    }
    // A bold label, then its value cut to what is left of the width; an empty value gets a
    // line to write on.
    void labelled(double x, double baseline, double size, const std::string& label,
                  const std::string& value, double width) {
        text(x, baseline, size, true, label);
        const double valueX = x + textWidth(label + " ", size, true);
        if (trimmed(value).empty())
            line(valueX, baseline + 2, x + width, baseline + 2);
        else
            text(valueX, baseline, size, false,
                 runtime::fitText(trimmed(value), size, false, x + width - valueX));
    }
    Page take() { return std::move(page_); }

private:
    Page page_;
};

// What one row of the table says.
struct RowTexts {
    std::string valve, gap, shim, plan, newGap;
};

std::vector<RowTexts> rowsOf(const PrintedJob& printed, PageKind kind) {
    const Job& job = printed.job;
    const auto read = readSheet(job.sheet);
    const SheetInput* input = std::get_if<SheetInput>(&read);
    const bool planned = kind == PageKind::Plan && job.plan.has_value();
    std::vector<RowTexts> rows;
    for (std::size_t i = 0; i < printed.valves.size(); ++i) {
        RowTexts row{printed.valves[i].text(), {}, {}, {}, {}};
        if (kind == PageKind::Plan) {
            if (input && i < input->valves.size()) {
                row.gap = formatLength(input->valves[i].gap, job.sheet.unit);
                row.shim = formatLength(input->valves[i].shim, GapUnit::Millimetres);
            } else if (i < job.sheet.rows.size()) {
                row.gap = trimmed(job.sheet.rows[i].gap);
                row.shim = trimmed(job.sheet.rows[i].shim);
            }
        }
        if (planned && i < job.plan->valves.size()) {
            row.plan = planText(job.plan->valves[i], printed.valves);
            row.newGap = newGapText(job.plan->valves[i], job.sheet.unit);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

constexpr std::size_t kColumns = 6;

struct Table {
    double size = kLargestTableText;
    std::array<double, kColumns> widths{};
    bool fits = false;
};

// The columns' widths at a size: each as wide as its widest text, the gap and shim wide enough
// to write in, Checked at least an inch, the plan taking the rest.
Table tableAt(double size, const std::array<std::string, kColumns>& headers,
              const std::vector<RowTexts>& rows, double width) {
    Table table;
    table.size = size;
    std::array<double, kColumns> widest{};
    for (std::size_t c = 0; c < kColumns; ++c)
        widest[c] = textWidth(headers[c], size, true);
    for (const RowTexts& row : rows) {
        const std::array<const std::string*, 5> cells = {&row.valve, &row.gap, &row.shim, &row.plan,
                                                         &row.newGap};
        for (std::size_t c = 0; c < cells.size(); ++c)
            widest[c] = std::max(widest[c], textWidth(*cells[c], size));
    }
    table.widths = {widest[0] + 2 * kPad,
                    std::max(widest[1], kWritingRoom) + 2 * kPad,
                    std::max(widest[2], kWritingRoom) + 2 * kPad,
                    0,
                    std::max(widest[4], kWritingRoom) + 2 * kPad,
                    std::max(widest[5] + 2 * kPad, kCheckedRoom)};
    const double others = std::accumulate(table.widths.begin(), table.widths.end(), 0.0);
    table.widths[3] = width - others;
    table.fits = table.widths[3] >= widest[3] + 2 * kPad;
    if (!table.fits) {
        // Checked gives up what it has beyond its heading before the plans are cut.
        const double spare = table.widths[5] - (widest[5] + 2 * kPad);
        const double taken = std::min(spare, widest[3] + 2 * kPad - table.widths[3]);
        table.widths[5] -= taken;
        table.widths[3] += taken;
    }
    return table;
}

} // namespace

std::string planText(const ValvePlan& valve, const std::vector<ValveName>& valves) {
    const std::string size = formatLength(valve.shim, GapUnit::Millimetres);
    switch (valve.source) {
    case ShimSource::Keep:
        return "keep";
    case ShimSource::Removed:
        return "fit " + size + " from " +
               (valve.from < valves.size() ? lowerFirst(valves[valve.from].text())
                                           : std::string("another valve"));
    case ShimSource::Spare:
        return "fit " + size + " spare";
    case ShimSource::Bought:
        return "buy " + size;
    }
    return {};
}

std::string newGapText(const ValvePlan& valve, GapUnit unit) {
    return formatLength(valve.newGap, unit) + (valve.inRange ? "" : " out of range");
}

std::vector<std::string> countedLines(const std::vector<Nanometres>& sizes, double textSize,
                                      double width, std::size_t lines) {
    std::vector<Nanometres> sorted = sizes;
    std::sort(sorted.begin(), sorted.end());
    const std::vector<CountedSize> items = countedBySize(sorted);
    if (items.empty())
        return {"nothing"};
    // Every item, line by line, each line but the last ending in a comma.
    std::vector<std::vector<std::size_t>> set(1);
    std::string current;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string candidate =
            current.empty() ? items[i].text : current + ", " + items[i].text;
        const bool last = i + 1 == items.size();
        if (!current.empty() && textWidth(candidate + (last ? "" : ","), textSize) > width) {
            set.emplace_back();
            current = items[i].text;
        } else {
            current = candidate;
        }
        set.back().push_back(i);
    }
    auto text = [&](const std::vector<std::size_t>& line) {
        std::string joined;
        for (const std::size_t i : line)
            joined += (joined.empty() ? "" : ", ") + items[i].text;
        return joined;
    };
    std::vector<std::string> result;
    if (set.size() <= lines) {
        for (std::size_t l = 0; l < set.size(); ++l)
            result.push_back(text(set[l]) + (l + 1 < set.size() ? "," : ""));
        return result;
    }
    set.resize(lines);
    std::vector<std::size_t>& final = set.back();
    auto notShown = [&] {
        const std::size_t shown =
            final.empty() ? (lines > 1 ? set[lines - 2].back() + 1 : 0) : final.back() + 1;
        std::size_t shims = 0;
        for (std::size_t i = shown; i < items.size(); ++i)
            shims += items[i].count;
        return shims;
    };
    auto withMore = [&] {
        const std::string more = "\u2026 and " + std::to_string(notShown()) + " more";
        return final.empty() ? more : text(final) + ", " + more;
    };
    while (!final.empty() && textWidth(withMore(), textSize) > width)
        final.pop_back();
    for (std::size_t l = 0; l + 1 < lines; ++l)
        result.push_back(text(set[l]) + ",");
    result.push_back(runtime::fitText(withMore(), textSize, false, width));
    return result;
}

runtime::Page jobPage(const PrintedJob& printed, PageKind kind, const runtime::PageArea& area) {
    const Job& job = printed.job;
    const SheetTexts& sheet = job.sheet;
    const double left = area.left;
    const double width = area.right - area.left;
    PageWriter page(area);

    // The title, and the job.
    double y = area.top;
    page.text(left, y + kTitleSize * kFaceAscent, kTitleSize, true, "Valve clearances");
    y += lineHeight(kTitleSize) + kGap;
    {
        const double baseline = y + kJobSize * kFaceAscent;
        constexpr double odometerWidth = 130;
        constexpr double dateWidth = 105;
        const double bikeWidth = width - odometerWidth - dateWidth - 2 * kGap;
        page.labelled(left, baseline, kJobSize, "Bike", job.bike, bikeWidth);
        page.labelled(left + bikeWidth + kGap, baseline, kJobSize, "Date", job.date, dateWidth);
        page.labelled(area.right - odometerWidth, baseline, kJobSize, "Odometer", job.odometer,
                      odometerWidth);
        y += lineHeight(kJobSize) + kGap;
    }

    // The ranges and the shims, two to a line.
    {
        const std::string unit = " " + unitName(sheet.unit);
        const std::array<std::string, 4> settings = {
            "Intake gap " + orBlank(sheet.intakeFrom) + " to " + orBlank(sheet.intakeTo) + unit +
                ", aim " + orBlank(sheet.intakeAim),
            "Exhaust gap " + orBlank(sheet.exhaustFrom) + " to " + orBlank(sheet.exhaustTo) + unit +
                ", aim " + orBlank(sheet.exhaustAim),
            "Shims " + orBlank(sheet.shimsFrom) + " to " + orBlank(sheet.shimsTo) + " mm, step " +
                orBlank(sheet.shimStep),
            sheet.leaveInRangeAlone ? "Valves in range keep their shims"
                                    : "Valves in range may give up their shims"};
        const double half = (width - kGap) / 2;
        for (std::size_t i = 0; i < settings.size(); ++i) {
            const double x = i % 2 == 0 ? left : left + half + kGap;
            page.text(x, y + kTextSize * kFaceAscent, kTextSize, false,
                      runtime::fitText(settings[i], kTextSize, false, half));
            if (i % 2 == 1)
                y += lineHeight(kTextSize) + 3;
        }
        y += kGap - 3;
    }

    // What follows the table: its lines, worked out first so that the table takes the rest.
    struct SummaryLine {
        std::string label;
        std::string value; // "" for a line to write on
    };
    std::vector<SummaryLine> summary;
    const std::array<std::string, 4> labels = {"Buy", "Left over", "Spares", "Fitted"};
    double labelWidth = 0;
    for (const std::string& label : labels)
        labelWidth = std::max(labelWidth, textWidth(label, kTextSize, true) + kGap);
    const double valueWidth = width - labelWidth;
    auto addCounted = [&](const std::string& label, const std::vector<Nanometres>& sizes) {
        const auto lines = countedLines(sizes, kTextSize, valueWidth, 2);
        for (std::size_t i = 0; i < lines.size(); ++i)
            summary.push_back({i == 0 ? label : std::string(), lines[i]});
    };
    const bool planned = kind == PageKind::Plan && job.plan.has_value();
    if (planned) {
        addCounted("Buy", job.plan->bought);
        addCounted("Left over", job.plan->leftOver);
    } else {
        summary.push_back({"Buy", ""});
        summary.push_back({"Left over", ""});
    }
    if (kind == PageKind::Blank && trimmed(sheet.spares).empty())
        summary.push_back({"Spares", ""}); // to be written in at the bench
    else if (const SpareList spares = parseSpares(sheet.spares); !spares.badItem)
        addCounted("Spares", spares.sizes);
    else
        summary.push_back({"Spares", trimmed(sheet.spares)});
    summary.push_back({"Fitted", planned && job.fitted ? *job.fitted : std::string()});
    const double summaryPitch = lineHeight(kTextSize) + 3;
    const double summaryHeight = static_cast<double>(summary.size()) * summaryPitch;
    const double footerHeight = lineHeight(kFooterSize) + 5;

    // The table: a heading row, then a row per valve, as tall as the page allows.
    const std::string unit = " (" + unitName(sheet.unit) + ")";
    const std::array<std::string, kColumns> headers = {"Valve", "Gap" + unit,     "Shim (mm)",
                                                       "Plan",  "New gap" + unit, "Checked" + unit};
    const std::vector<RowTexts> rows = rowsOf(printed, kind);
    const double tableRoom = area.bottom - footerHeight - kGap - summaryHeight - kGap - y;
    const double rowHeight =
        std::min(kTallestRow, tableRoom / static_cast<double>(rows.size() + 1));
    Table table = tableAt(kLargestTableText, headers, rows, width);
    if (!table.fits || rowHeight < lineHeight(kLargestTableText) + 4)
        table = tableAt(kSmallestTableText, headers, rows, width);
    const double tableTop = y;
    const double tableBottom = tableTop + rowHeight * static_cast<double>(rows.size() + 1);
    page.fill(left, tableTop, width, rowHeight, 215);
    for (std::size_t r = 1; r < rows.size() + 1; r += 2)
        page.fill(left, tableTop + rowHeight * static_cast<double>(r + 1), width, rowHeight, 240);
    for (std::size_t r = 0; r <= rows.size() + 1; ++r) {
        const double ruleY = tableTop + rowHeight * static_cast<double>(r);
        page.line(left, ruleY, area.right, ruleY, r <= 1 || r == rows.size() + 1 ? 1.0 : 0.5);
    }
    // The columns' left edges, then the table's right edge.
    std::vector<double> edges = {left};
    for (std::size_t c = 0; c + 1 < kColumns; ++c)
        edges.push_back(edges.back() + table.widths[c]);
    edges.push_back(area.right);
    for (std::size_t c = 0; c <= kColumns; ++c)
        page.line(edges[c], tableTop, edges[c], tableBottom, c == 0 || c == kColumns ? 1.0 : 0.5);
    auto cell = [&](std::size_t row, std::size_t column, const std::string& text, bool bold) {
        const double top = tableTop + rowHeight * static_cast<double>(row);
        const double baseline = top + rowHeight / 2 + table.size * (kFaceAscent - kFaceDescent) / 2;
        page.text(edges[column] + kPad, baseline, table.size, bold,
                  runtime::fitText(text, table.size, bold, table.widths[column] - 2 * kPad));
    };
    for (std::size_t c = 0; c < kColumns; ++c)
        cell(0, c, headers[c], true);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        cell(r + 1, 0, rows[r].valve, false);
        cell(r + 1, 1, rows[r].gap, false);
        cell(r + 1, 2, rows[r].shim, false);
        cell(r + 1, 3, rows[r].plan, false);
        cell(r + 1, 4, rows[r].newGap, false);
    }

    // Below the table: what to buy, what is left over, the spares, the fitting.
    y = tableBottom + kGap;
    for (const SummaryLine& line : summary) {
        const double baseline = y + kTextSize * kFaceAscent;
        page.text(left, baseline, kTextSize, true, line.label);
        if (line.value.empty())
            page.line(left + labelWidth, baseline + 2, left + labelWidth + kWritingRoom * 2,
                      baseline + 2);
        else
            page.text(left + labelWidth, baseline, kTextSize, false,
                      runtime::fitText(line.value, kTextSize, false, valueWidth));
        y += summaryPitch;
    }

    // The footer: the program, the job's file, the day it was printed.
    {
        const double baseline = area.bottom - kFooterSize * kFaceDescent;
        page.line(left, area.bottom - footerHeight, area.right, area.bottom - footerHeight);
        const std::string program =
            runtime::appTitle() + " " + runtime::formatVersion(runtime::appVersion());
        const std::string printedOn = "Printed " + printed.printedOn;
        const double programWidth = textWidth(program, kFooterSize);
        const double printedWidth = textWidth(printedOn, kFooterSize);
        page.text(left, baseline, kFooterSize, false, program);
        const double room = width - programWidth - printedWidth - 4 * kGap;
        const std::string file =
            runtime::fitText(printed.fileName.empty() ? std::string("not saved") : printed.fileName,
                             kFooterSize, false, room);
        const double fileWidth = textWidth(file, kFooterSize);
        const double centred = left + (width - fileWidth) / 2;
        page.text(std::clamp(centred, left + programWidth + 2 * kGap,
                             area.right - printedWidth - 2 * kGap - fileWidth),
                  baseline, kFooterSize, false, file);
        page.text(area.right - printedWidth, baseline, kFooterSize, false, printedOn);
    }
    return page.take();
}

} // namespace clearmark::sheet
