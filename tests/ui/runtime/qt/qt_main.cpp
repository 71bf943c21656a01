// Entry point of the window tests on Qt: one application for all of them, headless unless
// the caller chose a platform.
#include "main/pictures.h"
#include "runtime/application.h"

#include <QByteArray>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    clearmark::registerPictures();
    clearmark::runtime::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
