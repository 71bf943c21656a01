// Reference for the startup benchmark: an empty Qt Widgets window.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(496, 233);
    window.show();
    return QApplication::exec();
}
