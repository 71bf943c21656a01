#include "form.h"

#include "forms.h"
#include "icons.h"
#include "twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace clearmark::runtime {
namespace {

Qt::WindowFlags flagsFor(const WindowDesign& design) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (design.border == Border::Sizable)
        return flags | Qt::Window | Qt::WindowMinimizeButtonHint;
#ifndef Q_OS_WIN
    // X11 and Wayland keep utility windows out of the task bar; on Windows they would get
    // a narrow title bar instead, so there a dialog stays a dialog.
    if (!design.inTaskBar)
        return flags | Qt::Tool;
#endif
    return flags | Qt::Dialog;
}

} // namespace

Form::Form(const WindowDesign& design)
    : QWidget(nullptr, flagsFor(design)), design_(design), client_(new QWidget(this)) {
    setObjectName(QString::fromLatin1(design.name));
    setWindowTitle(QString::fromUtf8(design.caption));
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowIcon(applicationIcon());

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
    std::vector<QWidget*> windowed;
    for (const ControlDesign& row : design) {
        QWidget* widget = createControl(client_, row);
        if (row.kind != ControlKind::Label && row.kind != ControlKind::ParagraphLabel) {
            windowed.push_back(widget);
            byTabIndex.emplace_back(row.tabIndex, widget);
        }
    }
    // Labels are drawn on the window itself, beneath every windowed control: raising the
    // windowed controls in their own order keeps both groups' stacking.
    for (QWidget* widget : windowed)
        widget->raise();

    std::stable_sort(byTabIndex.begin(), byTabIndex.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    tabOrder_.clear();
    for (const auto& entry : byTabIndex)
        tabOrder_.push_back(entry.second);
    QWidget* previous = nullptr;
    for (QWidget* widget : tabOrder_) {
        if (previous != nullptr)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void Form::nameFromLabel(const char* box, const char* label) {
    control<QWidget>(box)->setAccessibleName(control<QLabel>(label)->text());
}

void Form::focusFirstControl() {
    for (QWidget* widget : tabOrder_) {
        if (!widget->isHidden() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Form::setDefaultButtons(QPushButton* defaultButton, QPushButton* cancelButton) {
    defaultButton_ = defaultButton;
    cancelButton_ = cancelButton;
    if (defaultButton != nullptr)
        defaultButton->setDefault(true);
    // Enter presses the focused button; elsewhere it reaches the window, for its default.
    for (QPushButton* button : client_->findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

void Form::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && defaultButton_ != nullptr && event->modifiers() == Qt::NoModifier) {
        defaultButton_->click();
        return;
    }
    if (event->key() == Qt::Key_Escape && cancelButton_ != nullptr) {
        cancelButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
    // The title-bar close button, the system menu and the close keystroke unload the
    // window; the runtime hides and destroys it itself.
    event->ignore();
    if (!unloading_)
        forms().unload(formName());
}

} // namespace clearmark::runtime
