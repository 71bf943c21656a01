#pragma once

#include <string>

namespace clearmark::runtime {

struct AppVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The application's title ("Clearmark"), the caption of every box that is given none.
std::string appTitle();
AppVersion appVersion();
// "major.minor.revision" in plain decimals: 1.0.0, 2.3.14.
std::string formatVersion(const AppVersion& version);

} // namespace clearmark::runtime
