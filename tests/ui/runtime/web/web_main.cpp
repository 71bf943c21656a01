// Entry point of the window tests in the browser: one application for all of them, on the
// page that loaded the test program.
#include "main/pictures.h"
#include "runtime/application.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    clearmark::registerPictures();
    clearmark::runtime::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
