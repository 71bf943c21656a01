// GetKeyValue and StartSysInfo over arbitrary registry answers: any type, any byte count,
// any data. The key is always closed again, the result follows the rules for the type, and
// StartSysInfo either starts one program or shows one box, never both.
#include "fuzz/fuzz_check.h"
#include "info/SysInfoLauncher.h"
#include "support/memory_registry.h"

#include <string>

namespace {

using clearmark::SysInfoLauncher;

class Files final : public clearmark::platform::FileSearch {
public:
    explicit Files(int mode) : mode_(mode) {}
    std::string find(const std::string& path) override {
        if (mode_ == 2)
            throw clearmark::platform::PlatformError("invalid");
        return mode_ == 1 ? path : std::string();
    }

private:
    int mode_;
};

class Starter final : public clearmark::platform::ProgramStarter {
public:
    void start(const std::string& path, int) override {
        if (path.empty() || fail)
            throw clearmark::platform::PlatformError("cannot start");
        ++started;
    }
    bool fail = false;
    int started = 0;
};

class Messages final : public clearmark::SysInfoMessages {
public:
    void show(const std::string&) override { ++shown; }
    int shown = 0;
};

using clearmark::fuzzing::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    // Byte 0: the first value's type; byte 1: the second's; byte 2: where the data splits;
    // byte 3: which values exist, the file search's answer and whether the start fails.
    const std::uint32_t firstType = data[0] % 6;
    const std::uint32_t secondType = data[1] % 6;
    const std::string rest(reinterpret_cast<const char*>(data + 4), size - 4);
    // Long values too: the split point scales so that data over 1024 bytes reaches the reader.
    const std::size_t split = std::min(rest.size(), static_cast<std::size_t>(data[2]) * 8);
    const std::string first = rest.substr(0, split);
    const std::string second = rest.substr(split);
    const int flags = data[3];

    clearmark::testing_support::MemoryRegistry registry;
    if (flags & 1)
        registry.set(SysInfoLauncher::kToolKey, "PATH", firstType, first);
    if (flags & 2)
        registry.set(SysInfoLauncher::kFolderKey, "MSINFO", secondType, second);
    Files files((flags >> 2) % 3);
    Starter starter;
    starter.fail = (flags & 32) != 0;
    Messages messages;
    SysInfoLauncher launcher(registry, files, starter, messages);

    if (flags & 1) {
        std::string keyVal;
        bool found = false;
        bool raised = false;
        try {
            found = launcher.GetKeyValue(clearmark::platform::kHkeyLocalMachine,
                                         SysInfoLauncher::kToolKey, "PATH", keyVal);
        } catch (const clearmark::platform::PlatformError&) {
            raised = true;
        }
        check(registry.openKeys() == 0, "a key was left open");
        check(raised == first.empty(), "only zero-length data raises");
        if (!raised) {
            check(found == (first.size() <= 1024), "found exactly when the data fits");
            const std::string text =
                !first.empty() && first.back() == '\0' ? first.substr(0, first.size() - 1) : first;
            if (!found)
                check(keyVal.empty(), "not found leaves the text empty");
            else if (firstType == clearmark::platform::kRegSz)
                check(keyVal == text, "a string is its bytes less the terminating zero");
            else if (firstType == clearmark::platform::kRegDword && text.size() <= 4) {
                unsigned long long value = 0;
                for (std::size_t i = text.size(); i-- > 0;)
                    value = value * 256 + static_cast<unsigned char>(text[i]);
                check(keyVal == std::to_string(value), "a number is its decimal digits");
            } else if (firstType != clearmark::platform::kRegDword)
                check(keyVal.empty(), "other types leave the text as it came in");
        }
    }

    launcher.StartSysInfo();
    check(registry.openKeys() == 0, "a key was left open by StartSysInfo");
    check(starter.started + messages.shown == 1, "not exactly one outcome");
    return 0;
}
