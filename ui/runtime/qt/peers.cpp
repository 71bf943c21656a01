// The Qt implementation of the window runtime's peers.
#include "runtime/implementation.h"
#include "runtime/peer_access.h"

#include "runtime/qt/access.h"
#include "runtime/qt/fonts.h"
#include "runtime/qt/icons.h"
#include "runtime/qt/syscolors.h"
#include "runtime/qt/widgets.h"
#include "runtime/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <algorithm>
#include <cctype>
#include <limits>

namespace clearmark::runtime::qt {
namespace {

QString toQt(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QWidget* makeWidget(QWidget* client, const ControlDesign& design) {
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
    case ControlKind::CommandButton:
        return new CommandButton(caption, client);
    case ControlKind::TextBox: {
        auto* box = new TextBox(caption, client);
        box->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (design.readOnly) {
            // The user may select and copy; Tab passes it by.
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::ClickFocus);
        }
        return box;
    }
    case ControlKind::Label: {
        auto* label = new Label(caption, client);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setMargin(0);
        label->setIndent(0);
        label->setAlignment(
            (design.alignment == Alignment::Centred ? Qt::AlignHCenter : Qt::AlignLeft) |
            Qt::AlignTop);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, systemColor(SystemColor::ButtonFace));
        label->setPalette(palette);
        label->setFocusPolicy(Qt::NoFocus);
        return label;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(caption, client);
        option->setAutoExclusive(true);
        return option;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption, client);
    case ControlKind::Picture: {
        // Shows an icon inside a sunken border.
        auto* picture = new QLabel(client);
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setLineWidth(2);
        picture->setAlignment(Qt::AlignCenter);
        picture->setFocusPolicy(Qt::TabFocus);
        return picture;
    }
    case ControlKind::MenuItem:
        break;
    }
    throw std::logic_error("a menu entry is no control of the window's table");
}

class QtControl final : public ControlPeer {
public:
    QtControl(std::string name, ControlKind kind, QObject* object)
        : ControlPeer(std::move(name), kind), object_(object) {
        const auto raise = [this] {
            if (clicked)
                clicked();
        };
        if (auto* button = qobject_cast<QAbstractButton*>(object))
            clickConnection_ = QObject::connect(button, &QAbstractButton::clicked, raise);
        else if (auto* action = qobject_cast<QAction*>(object))
            clickConnection_ = QObject::connect(action, &QAction::triggered, raise);
        else if (auto* box = qobject_cast<QLineEdit*>(object))
            // Every change but the program's own: typing, pasting, deleting, and a text set
            // from outside (a screen reader's or a dictation tool's edit).
            changeConnection_ = QObject::connect(box, &QLineEdit::textChanged, [this] {
                if (!settingText_ && changed)
                    changed();
            });
    }
    ~QtControl() override {
        QObject::disconnect(clickConnection_);
        QObject::disconnect(changeConnection_);
    }
    QtControl(const QtControl&) = delete;
    QtControl& operator=(const QtControl&) = delete;

    QObject* object() const { return object_.data(); }

    std::string text() const override {
        if (auto* box = qobject_cast<QLineEdit*>(object_))
            return box->text().toStdString();
        if (auto* label = qobject_cast<QLabel*>(object_))
            return label->text().toStdString();
        if (auto* button = qobject_cast<QAbstractButton*>(object_))
            return button->text().toStdString();
        if (auto* action = qobject_cast<QAction*>(object_))
            return action->text().toStdString();
        return {};
    }
    void setText(const std::string& text) override {
        if (auto* box = qobject_cast<QLineEdit*>(object_)) {
            // A text the program writes is read from its start, as on Windows; QLineEdit
            // would leave the cursor, and so the view, at its end. Typing and pasting never
            // come here.
            settingText_ = true;
            box->setText(toQt(text));
            settingText_ = false;
            box->setCursorPosition(0);
        } else if (auto* label = qobject_cast<QLabel*>(object_))
            label->setText(toQt(text));
        else if (auto* button = qobject_cast<QAbstractButton*>(object_))
            button->setText(toQt(text));
    }
    bool visible() const override {
        if (auto* action = qobject_cast<QAction*>(object_))
            return action->isVisible();
        return !widget()->isHidden();
    }
    void setVisible(bool visible) override {
        if (auto* action = qobject_cast<QAction*>(object_))
            action->setVisible(visible);
        else
            widget()->setVisible(visible);
    }
    bool enabled() const override {
        if (auto* action = qobject_cast<QAction*>(object_))
            return action->isEnabled();
        return widget()->isEnabled();
    }
    void setEnabled(bool enabled) override {
        // A disabled widget hands the focus on through its window's Tab rule.
        if (auto* action = qobject_cast<QAction*>(object_))
            action->setEnabled(enabled);
        else
            widget()->setEnabled(enabled);
    }
    void move(int left, int top) override {
        // Menu entries have no place of their own.
        if (auto* w = qobject_cast<QWidget*>(object_))
            w->move(twipsToPixels(left), twipsToPixels(top));
    }
    bool value() const override {
        if (auto* check = qobject_cast<QCheckBox*>(object_))
            return check->isChecked();
        auto* option = qobject_cast<QRadioButton*>(object_);
        return option != nullptr && option->isChecked();
    }
    void setValue(bool selected) override {
        if (auto* check = qobject_cast<QCheckBox*>(object_)) {
            check->setChecked(selected);
            return;
        }
        auto* option = qobject_cast<QRadioButton*>(object_);
        if (option == nullptr)
            return;
        if (selected || !option->isChecked()) {
            option->setChecked(selected);
            return;
        }
        // Qt keeps one button of an exclusive group checked; the window may hold none.
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    void setPicture(const std::string& name) override {
        if (auto* picture = qobject_cast<QLabel*>(object_))
            picture->setPixmap(pictureIcon(name).pixmap(32, 32));
    }
    void setAccessibleName(const std::string& name) override {
        // Qt tells assistive technology of the new name itself.
        if (auto* w = qobject_cast<QWidget*>(object_))
            w->setAccessibleName(toQt(name));
    }
    bool canTakeFocus() const override {
        const QWidget* w = qobject_cast<QWidget*>(object_);
        return w != nullptr && !w->isHidden() && w->isEnabled() &&
               (w->focusPolicy() & Qt::TabFocus) != 0;
    }
    void setFocus() override { widget()->setFocus(Qt::OtherFocusReason); }

    QWidget* widget() const {
        auto* w = qobject_cast<QWidget*>(object_);
        if (w == nullptr)
            throw std::logic_error(name() + " has no widget");
        return w;
    }

private:
    QPointer<QObject> object_;
    QMetaObject::Connection clickConnection_;
    QMetaObject::Connection changeConnection_;
    bool settingText_ = false; // the program is writing the box's text
};

class QtWindow final : public WindowPeer {
public:
    explicit QtWindow(const WindowDesign& design) : window_(new Window(design)) {
        window_->closeRequested = [this] {
            if (closeRequested)
                closeRequested();
        };
    }
    ~QtWindow() override {
        // The window may be unloading itself from one of its own handlers, called by one of
        // its widgets: the widgets go once the event loop has them back.
        if (window_ == nullptr)
            return;
        window_->closeRequested = nullptr;
        window_->hide();
        window_->deleteLater();
    }
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    Window* window() const { return window_.data(); }

    std::unique_ptr<ControlPeer> createControl(const ControlDesign& design) override {
        QWidget* widget = makeWidget(window_->client(), design);
        widget->setObjectName(QString::fromLatin1(design.name));
        widget->setGeometry(QRect(twipsToPixels(design.left), twipsToPixels(design.top),
                                  twipsToPixels(design.width), twipsToPixels(design.height)));
        widget->setFont(designFont(design.font.points, design.font.bold));
        if (design.foreColor) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, QColor::fromRgb(*design.foreColor));
            widget->setPalette(palette);
        }
        if (design.visibility == Visibility::Hidden)
            widget->setVisible(false);
        // Labels are drawn on the window itself, beneath every windowed control; each group
        // keeps its stored order.
        if (design.kind != ControlKind::Label)
            lowestWindowed_ = lowestWindowed_ != nullptr ? lowestWindowed_ : widget;
        else if (lowestWindowed_ != nullptr)
            widget->stackUnder(lowestWindowed_);
        return std::make_unique<QtControl>(design.name, design.kind, widget);
    }

    void addLine(const LineDesign& design) override {
        (new Line(window_->client(), design))->lower();
    }

    std::vector<std::unique_ptr<ControlPeer>>
    createMenus(std::span<const MenuDesign> menus) override {
        auto* menuBar = new QMenuBar(window_);
        menuBar->setObjectName(QStringLiteral("menuBar"));
        menuBar->setNativeMenuBar(false);
        std::vector<std::unique_ptr<ControlPeer>> entries;
        for (const MenuDesign& design : menus) {
            QMenu* menu = menuBar->addMenu(QString::fromUtf8(design.caption));
            menu->setObjectName(QString::fromLatin1(design.name));
            for (const MenuEntryDesign& entry : design.entries) {
                // Qt reads the caption's '&' as the access key itself.
                QAction* action = menu->addAction(QString::fromUtf8(entry.caption));
                action->setObjectName(QString::fromLatin1(entry.name));
                if (entry.shortcut) {
                    // Qt shows it beside the entry and chooses the entry, while it is enabled,
                    // from anywhere in the window.
                    const int letter =
                        std::toupper(static_cast<unsigned char>(entry.shortcut->letter));
                    action->setShortcut(QKeySequence(
                        QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_A + (letter - 'A')))));
                    action->setShortcutContext(Qt::WindowShortcut);
                }
                entries.push_back(
                    std::make_unique<QtControl>(entry.name, ControlKind::MenuItem, action));
            }
        }
        window_->layout()->setMenuBar(menuBar);
        window_->applyDesignGeometry();
        return entries;
    }

    void setKeyboardOrder(const KeyboardOrder& order) override {
        order_ = order;
        // Qt's own focus chain in the same order, for what reads it (assistive technology).
        QWidget* previous = nullptr;
        for (const KeyStop& stop : order_) {
            QWidget* widget = static_cast<QtControl*>(stop.control)->widget();
            if (previous != nullptr)
                QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
        const auto canFocus = [this](const ControlPeer& c) {
            const QWidget* w = static_cast<const QtControl&>(c).widget();
            return w->isVisibleTo(window_) && w->isEnabled();
        };
        window_->tabTarget = [this, canFocus](bool next) -> QWidget* {
            ControlPeer* target = nextTabStop(order_, focusedPeer(), next, canFocus);
            return target != nullptr ? static_cast<QtControl*>(target)->widget() : nullptr;
        };
        window_->focusTarget = [this, canFocus]() -> QWidget* {
            // Qt keeps the window's focus widget; the runtime's rule says what it must be.
            ControlPeer* target = focusToGiveBack(order_, focusedPeer(), canFocus);
            return target != nullptr ? static_cast<QtControl*>(target)->widget() : nullptr;
        };
    }

    void setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) override {
        const auto button = [](ControlPeer* peer) {
            return peer == nullptr
                       ? nullptr
                       : qobject_cast<QPushButton*>(static_cast<QtControl*>(peer)->widget());
        };
        window_->setDefaultButton(button(defaultButton));
        window_->keyTarget = [this, defaultButton, cancelButton, button](bool enter) {
            return button(buttonForKey(enter ? WindowKey::Enter : WindowKey::Escape, focusedPeer(),
                                       defaultButton, cancelButton));
        };
    }

    std::string caption() const override { return window_->windowTitle().toStdString(); }
    void setCaption(const std::string& caption) override { window_->setWindowTitle(toQt(caption)); }
    void setModified(bool modified) override { window_->setWindowModified(modified); }
    bool visible() const override { return window_->isVisible(); }
    void setClientHeight(int twips) override { window_->setClientHeight(twipsToPixels(twips)); }
    void show() override {
        window_->show();
        // Shown active, as the interface promises; a window manager may otherwise leave a
        // utility window (About) behind the window that opened it.
        window_->raise();
        window_->activateWindow();
    }
    void hide() override { window_->hide(); }
    bool hasFocusedControl() const override { return window_->focusWidget() != nullptr; }

private:
    // The control of the window that holds (or last held) the keyboard focus.
    ControlPeer* focusedPeer() const {
        for (const KeyStop& stop : order_)
            if (static_cast<QtControl*>(stop.control)->widget() == window_->focusWidget())
                return stop.control;
        return nullptr;
    }

    QPointer<Window> window_;
    QWidget* lowestWindowed_ = nullptr;
    KeyboardOrder order_;
};

} // namespace

QWidget* widgetOf(const Form& form) {
    return static_cast<QtWindow&>(peerOf(form)).window();
}

QWidget* clientOf(const Form& form) {
    return static_cast<QtWindow&>(peerOf(form)).window()->client();
}

QObject* objectOf(const Control& control) {
    return static_cast<QtControl&>(peerOf(control)).object();
}

} // namespace clearmark::runtime::qt

namespace clearmark::runtime {

std::unique_ptr<WindowPeer> createWindowPeer(const WindowDesign& design) {
    return std::make_unique<qt::QtWindow>(design);
}

} // namespace clearmark::runtime
