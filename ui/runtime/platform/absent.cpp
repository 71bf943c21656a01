// A system without a registry: every key is missing, so the system-information launcher
// never gets as far as searching for a file or starting a program.
#include "runtime/platform/files.h"
#include "runtime/platform/registry.h"

namespace clearmark::platform {
namespace {

class AbsentRegistry final : public Registry {
public:
    long openKey(KeyRoot /*root*/, const std::string& /*keyName*/, std::uint32_t /*access*/,
                 KeyHandle& /*key*/) override {
        return kErrorFileNotFound;
    }
    long queryValue(KeyHandle /*key*/, const std::string& /*valueName*/, std::uint32_t& /*type*/,
                    unsigned char* /*data*/, std::uint32_t& /*length*/) override {
        return kErrorFileNotFound;
    }
    long closeKey(KeyHandle /*key*/) override { return kErrorSuccess; }
};

class NoFiles final : public FileSearch {
public:
    std::string find(const std::string& /*path*/) override { return {}; }
};

class NoPrograms final : public ProgramStarter {
public:
    void start(const std::string& path, int /*showCommand*/) override {
        throw PlatformError("cannot start " + path);
    }
};

} // namespace

std::unique_ptr<Registry> systemRegistry() {
    return std::make_unique<AbsentRegistry>();
}

std::unique_ptr<FileSearch> systemFileSearch() {
    return std::make_unique<NoFiles>();
}

std::unique_ptr<ProgramStarter> systemProgramStarter() {
    return std::make_unique<NoPrograms>();
}

} // namespace clearmark::platform
