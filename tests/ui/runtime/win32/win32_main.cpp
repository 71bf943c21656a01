// Entry point of the window tests on Win32.
#include "main/pictures.h"
#include "runtime/application.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    clearmark::registerPictures();
    clearmark::runtime::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
