#include "form.h"

#include "forms.h"
#include "twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>

namespace clearmark::runtime {
namespace {

Qt::WindowFlags flagsFor(Border border) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (border == Border::Sizable)
        return flags | Qt::Window | Qt::WindowMinimizeButtonHint;
    return flags | Qt::Dialog;
}

} // namespace

Form::Form(const WindowDesign& design)
    : QWidget(nullptr, flagsFor(design.border)), design_(design), client_(new QWidget(this)) {
    setObjectName(QString::fromLatin1(design.name));
    setWindowTitle(QString::fromUtf8(design.caption));
    setAttribute(Qt::WA_QuitOnClose, false);

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, systemColor(design.backColor));
    setPalette(palette);
    setAutoFillBackground(true);

    client_->setObjectName(QStringLiteral("client"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client_);
    applyDesignGeometry();
}

void Form::applyDesignGeometry() {
    const QSize clientSize = twipsSize(design_.clientWidth, design_.clientHeight);
    int menuHeight = 0;
    if (menuBar_ != nullptr)
        menuHeight = menuBar_->hasHeightForWidth() ? menuBar_->heightForWidth(clientSize.width())
                                                   : menuBar_->sizeHint().height();
    const QSize size(clientSize.width(), clientSize.height() + menuHeight);
    if (design_.fixedStart)
        setGeometry(QRect(twipsPoint(design_.startLeft, design_.startTop), size));
    else
        resize(size);
    if (design_.border == Border::FixedDialog)
        setFixedSize(size);
}

void Form::setMenuBar(QMenuBar* menuBar) {
    menuBar_ = menuBar;
    layout()->setMenuBar(menuBar);
    applyDesignGeometry();
}

void Form::buildControls(std::span<const ControlDesign> design) {
    std::vector<std::pair<int, QWidget*>> byTabIndex;
    std::vector<QWidget*> labels;
    for (const ControlDesign& row : design) {
        QWidget* widget = createControl(client_, row);
        if (row.kind == ControlKind::Label)
            labels.push_back(widget);
        else
            byTabIndex.emplace_back(row.tabIndex, widget);
    }
    // Labels are drawn on the window itself, beneath every windowed control, keeping their
    // own stacking among themselves.
    for (auto it = labels.rbegin(); it != labels.rend(); ++it)
        (*it)->lower();

    std::stable_sort(byTabIndex.begin(), byTabIndex.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    tabOrder_.clear();
    for (const auto& entry : byTabIndex)
        tabOrder_.push_back(entry.second);
    for (std::size_t i = 1; i < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
}

void Form::focusFirstControl() {
    for (QWidget* widget : tabOrder_) {
        if (!widget->isHidden() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Form::closeEvent(QCloseEvent* event) {
    // The title-bar close button, the system menu and the close keystroke unload the
    // window; the runtime hides and destroys it itself.
    event->ignore();
    if (!unloading_)
        forms().unload(formName());
}

} // namespace clearmark::runtime
