// Reference for the startup benchmark: the machinery every Qt form loads, a menu bar with
// one menu, a line edit and a push button.
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* menuBar = new QMenuBar(&window);
    menuBar->addMenu(QStringLiteral("Help"))->addAction(QStringLiteral("About"));
    layout->setMenuBar(menuBar);
    layout->addWidget(new QLineEdit(&window));
    layout->addWidget(new QPushButton(QStringLiteral("OK"), &window));
    window.resize(496, 233);
    window.show();
    return QApplication::exec();
}
