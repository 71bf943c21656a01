#pragma once

#include "appinfo.h"
#include "form.h"

namespace clearmark {

// The About window: title, version, description, disclaimer, and the way to the system's
// information tool.
class frmAbout : public runtime::Form {
    Q_OBJECT
public:
    static constexpr const char* kFormName = "frmAbout";

    frmAbout();

    // "Version " and the version numbers in plain decimals: Version 1.0.0.
    static QString versionCaption(const runtime::AppVersion& version);

    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void Form_Load() override;
};

// Looks up the system-information tool and starts it, or tells the user it cannot.
void StartSysInfo();

} // namespace clearmark
