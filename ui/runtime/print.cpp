#include "runtime/print.h"

#include "runtime/forms.h"
#include "runtime/implementation.h"
#include "runtime/msgbox.h"

#include <utility>

namespace clearmark::runtime {
namespace {

PrintPresenter& presenter() {
    static PrintPresenter current;
    return current;
}

} // namespace

// Most printers keep a quarter of an inch clear on every side.
constexpr double kMargin = 18;

PageArea a4Paper() {
    constexpr double width = 595.276; // 210 mm
    constexpr double height = 841.89; // 297 mm
    return {width, height, kMargin, kMargin, width - kMargin, height - kMargin};
}

PageArea letterPaper() {
    return {612, 792, kMargin, kMargin, 612 - kMargin, 792 - kMargin};
}

PrintPresenter setPrintPresenter(PrintPresenter next) {
    return std::exchange(presenter(), std::move(next));
}

void printPage(const std::string& documentName, const PageLayout& layout, PrintThen then) {
    beginModal();
    auto answered = [then = std::move(then)](const PrintResult& result) {
        endModal();
        if (then)
            dispatch([&then, result] { then(result); });
    };
    if (presenter())
        answered(presenter()(documentName, layout));
    else
        printOnScreen(documentName, layout, answered);
}

} // namespace clearmark::runtime
