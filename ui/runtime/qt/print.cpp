#include "runtime/qt/print.h"

#include "runtime/implementation.h"

#include <QApplication>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace clearmark::runtime::qt {
namespace {

QFont pageFont(const PageText& text) {
    QFont font;
    // Liberation Sans and Arial have Helvetica's widths, which the layout measured with.
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(text.size);
    font.setBold(text.bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void drawPage(QPainter& painter, const Page& page, double dots) {
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PageFill& fill : page.fills)
        painter.fillRect(
            QRectF(fill.x * dots, fill.y * dots, fill.width * dots, fill.height * dots),
            QColor(fill.grey, fill.grey, fill.grey));
    for (const PageLine& line : page.lines) {
        QPen pen(Qt::black, line.width * dots);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(line.x1 * dots, line.y1 * dots),
                         QPointF(line.x2 * dots, line.y2 * dots));
    }
    painter.setPen(Qt::black);
    for (const PageText& text : page.texts) {
        painter.setFont(pageFont(text));
        painter.drawText(QPointF(text.x * dots, text.baseline * dots),
                         QString::fromStdString(text.text));
    }
}

} // namespace

PageArea areaOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const QRectF paper = layout.fullRectPoints();
    const QRectF printable = layout.paintRectPoints();
    return {paper.width(),   paper.height(),    printable.left(),
            printable.top(), printable.right(), printable.bottom()};
}

PrintResult printOn(QPrinter& printer, const PageLayout& layout) {
    // The printable area is the page layout's, read before the painter is told to count from
    // the paper's corner (which takes the layout's margins away).
    const Page page = layout(areaOf(printer));
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return {PrintOutcome::Failed, "the printer could not be started"};
    drawPage(painter, page, printer.resolution() / 72.0);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return {PrintOutcome::Failed, "the printer reported an error"};
    return {PrintOutcome::Printed, {}};
}

PrintResult printToPdf(const std::string& path, const PageArea& paper, const PageLayout& layout) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(paper.width, paper.height), QPageSize::Point, {}, QPageSize::ExactMatch),
        QPageLayout::Portrait,
        QMarginsF(paper.left, paper.top, paper.width - paper.right, paper.height - paper.bottom),
        QPageLayout::Point));
    return printOn(printer, layout);
}

} // namespace clearmark::runtime::qt

namespace clearmark::runtime {

void printOnScreen(const std::string& documentName, const PageLayout& layout,
                   const std::function<void(const PrintResult&)>& answered) {
    // Over the window whose handler asks, which gets the keyboard back when it closes.
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(documentName));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, owner);
    dialog.setObjectName(QStringLiteral("printDialog"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    if (owner)
        owner->activateWindow();
    answered(chosen ? qt::printOn(printer, layout) : PrintResult{});
}

} // namespace clearmark::runtime
