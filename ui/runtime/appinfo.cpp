#include "appinfo.h"

#include "clearmark_metadata.h"

namespace clearmark::runtime {

QString appTitle() {
    return QString::fromLatin1(metadata::kTitle);
}

AppVersion appVersion() {
    return {metadata::kVersionMajor, metadata::kVersionMinor, metadata::kVersionRevision};
}

QString formatVersion(const AppVersion& version) {
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

} // namespace clearmark::runtime
