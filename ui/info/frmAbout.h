#pragma once

#include "runtime/appinfo.h"
#include "runtime/form.h"

#include <string>

namespace clearmark {

// The About window: title, version, description, disclaimer, and the way to the system's
// information tool.
class frmAbout : public runtime::Form {
public:
    frmAbout();

    // "Version " and the version numbers in plain decimals: Version 1.0.0.
    static std::string versionCaption(const runtime::AppVersion& version);

    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void Form_Load() override;

private:
    runtime::Label lblTitle = control<runtime::Label>("lblTitle");
    runtime::Label lblVersion = control<runtime::Label>("lblVersion");
};

// Looks up the system-information tool and starts it, or tells the user it cannot.
void StartSysInfo();

} // namespace clearmark
