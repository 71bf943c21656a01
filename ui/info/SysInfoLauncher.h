#pragma once

// Finds the system-information tool through the registry and starts it, or tells the user
// in one message that it cannot. Standard C++ only: the registry, the file search, the
// program start and the message come in through interfaces.
#include "runtime/platform/files.h"
#include "runtime/platform/registry.h"

#include <string>

namespace clearmark {

// The one message box of the launcher: one OK button, no icon, the application title as its
// caption.
class SysInfoMessages {
public:
    virtual ~SysInfoMessages() = default;
    virtual void show(const std::string& text) = 0;
};

class SysInfoLauncher {
public:
    static constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static constexpr const char* kToolValue = "PATH";
    static constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    static constexpr const char* kFolderValue = "MSINFO";
    static constexpr const char* kProgramFile = "\\MSINFO32.EXE";
    static constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";
    static constexpr std::size_t kBufferSize = 1024;

    SysInfoLauncher(platform::Registry& registry, platform::FileSearch& files,
                    platform::ProgramStarter& starter, SysInfoMessages& messages)
        : registry_(registry), files_(files), starter_(starter), messages_(messages) {}

    // Reads one value as text into KeyVal. False, with KeyVal empty, when the key cannot be
    // opened or the value cannot be read (also when it is longer than the 1024-byte
    // buffer). A string comes back without its terminating zero; a number as its decimal
    // digits; other types count as found and leave KeyVal as it came in. A value of zero
    // bytes raises platform::PlatformError. The key is closed in every case.
    bool GetKeyValue(platform::KeyRoot KeyRoot, const std::string& KeyName,
                     const std::string& SubKeyRef, std::string& KeyVal);

    // Starts the tool named by the first look-up, else the MSINFO32.EXE in the folder named
    // by the second; shows the one message when neither works. Never raises.
    void StartSysInfo();

private:
    // The look-ups and the start; false where the user is to be told.
    bool tryStart();

    platform::Registry& registry_;
    platform::FileSearch& files_;
    platform::ProgramStarter& starter_;
    SysInfoMessages& messages_;
};

} // namespace clearmark
