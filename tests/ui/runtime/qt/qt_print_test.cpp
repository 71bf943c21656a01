// Printing on Qt: the face the page is drawn in has the widths the layout measured with, the
// job sheet printed to a PDF file reads back whole and in order, a printer that cannot start
// says so, and the print dialog cancelled prints nothing.
#include "runtime/implementation.h"
#include "runtime/print.h"
#include "runtime/qt/print.h"
#include "runtime/text_metrics.h"
#include "sheet/job_page.h"
#include "support/gui_support.h"
#include "ui/sheet/worked_job.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <variant>

namespace clearmark {
namespace {

using runtime::Page;
using runtime::PageArea;
using runtime::PrintOutcome;

TEST(PrintedFace, LiberationSansHasTheWidthsThePageIsLaidOutWith) {
    for (const bool bold : {false, true}) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(2048); // the face's own units
        font.setBold(bold);
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        ASSERT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
        const QFontMetricsF metrics(font);
        QString characters;
        for (char16_t c = 0x20; c <= 0x7E; ++c)
            characters += QChar(c);
        characters += QStringLiteral("\u00A0\u00B0\u00D7\u2013\u2014\u2026");
        for (const QChar c : characters) {
            const std::string utf8 = QString(c).toStdString();
            const double expected = runtime::textWidth(utf8, 2048, bold);
            EXPECT_NEAR(metrics.horizontalAdvance(c), expected, 2.0)
                << (bold ? "bold " : "") << "U+" << std::hex << int(c.unicode());
        }
    }
}

std::string pdfText(const std::string& path) {
    const std::string command = "pdftotext -layout '" + path + "' -";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    if (!pipe)
        return text;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, n);
    return text;
}

struct PdfCase {
    const char* file; // kept in the tests' folder, for the pictures of the printed pages
    sheet::PageKind kind;
    PageArea paper;
};

class PrintedPdf : public ::testing::TestWithParam<PdfCase> {};

TEST_P(PrintedPdf, ReadsBackEveryTextOfThePageInOrder) {
    const PdfCase& c = GetParam();
    const sheet::PrintedJob printed = testing_support::workedJob();
    Page page;
    const auto result = runtime::qt::printToPdf(c.file, c.paper, [&](const PageArea& area) {
        page = sheet::jobPage(printed, c.kind, area);
        return page;
    });
    ASSERT_EQ(result.outcome, PrintOutcome::Printed) << result.reason;
    // The printer reports the paper and margins it was given.
    EXPECT_NEAR(page.area.width, c.paper.width, 0.5);
    EXPECT_NEAR(page.area.height, c.paper.height, 0.5);
    EXPECT_NEAR(page.area.left, c.paper.left, 0.5);
    EXPECT_NEAR(page.area.bottom, c.paper.bottom, 0.5);

    const std::string text = pdfText(c.file);
    ASSERT_FALSE(text.empty()) << "pdftotext read nothing from " << c.file;
    EXPECT_EQ(text.find('\f'), text.rfind('\f')) << "more than one page";
    std::size_t at = 0;
    for (const runtime::PageText& run : page.texts) {
        const std::size_t found = text.find(run.text, at);
        ASSERT_NE(found, std::string::npos)
            << '"' << run.text << "\" is not read back after offset " << at << ":\n"
            << text;
        at = found + run.text.size();
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(JobSheet, PrintedPdf, ::testing::Values(
    PdfCase{"printed-job.pdf",          sheet::PageKind::Plan,  runtime::a4Paper()},
    PdfCase{"printed-blank.pdf",        sheet::PageKind::Blank, runtime::a4Paper()},
    PdfCase{"printed-job-letter.pdf",   sheet::PageKind::Plan,  runtime::letterPaper()}),
    [](const auto& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        std::erase(name, '-');
        return name;
    });
// clang-format on

TEST(PrintedPdf, APrinterThatCannotStartSaysSo) {
    bool laidOut = false;
    const auto result = runtime::qt::printToPdf("/nonexistent-folder/job.pdf", runtime::a4Paper(),
                                                [&](const PageArea& area) {
                                                    laidOut = true;
                                                    return Page{area, {}, {}, {}};
                                                });
    EXPECT_EQ(result.outcome, PrintOutcome::Failed);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_TRUE(laidOut);
}

TEST(PrintDialogOnScreen, CancelledPrintsNothing) {
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(widget);
                dialog && dialog->objectName() == QStringLiteral("printDialog") &&
                dialog->isVisible()) {
                dialogSeen = true;
                dialog->reject();
            }
    });
    bool laidOut = false;
    std::optional<runtime::PrintResult> answer;
    runtime::printOnScreen(
        "Valve Sheet",
        [&](const PageArea& area) {
            laidOut = true;
            return Page{area, {}, {}, {}};
        },
        [&](const runtime::PrintResult& result) { answer = result; });
    EXPECT_TRUE(dialogSeen);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->outcome, PrintOutcome::Cancelled);
    EXPECT_FALSE(laidOut);
}

} // namespace
} // namespace clearmark
