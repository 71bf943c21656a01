// Entry point of the window tests in the browser: one application for all of them, on the
// page that loaded the test program.
#include "main/pictures.h"
#include "runtime/application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    clearmark::registerPictures();
    int status = 0;
    {
        clearmark::runtime::Application app(argc, argv);
        status = RUN_ALL_TESTS();
    }
    // Ended explicitly: a main that waited for the browser on the way no longer returns its
    // status to the page.
    std::exit(status);
}
