#include "runtime/appinfo.h"

#include "clearmark_metadata.h"

namespace clearmark::runtime {

std::string appTitle() {
    return metadata::kTitle;
}

AppVersion appVersion() {
    return {metadata::kVersionMajor, metadata::kVersionMinor, metadata::kVersionRevision};
}

std::string formatVersion(const AppVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

} // namespace clearmark::runtime
