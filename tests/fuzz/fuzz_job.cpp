// Reading job files: any bytes are read without a crash or a hang, and every job read is
// written to bytes that read back to the same job and are written the same again.
#include "fuzz/fuzz_check.h"
#include "sheet/job.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

using clearmark::fuzzing::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace clearmark::sheet;
    const auto read = readJob(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!std::holds_alternative<Job>(read))
        return 0;
    const Job& job = std::get<Job>(read);
    const std::string bytes = writeJob(job);
    const auto again = readJob(bytes);
    check(std::holds_alternative<Job>(again), "a job read is not read again once written");
    check(std::get<Job>(again) == job, "a job written and read back is another job");
    check(writeJob(std::get<Job>(again)) == bytes, "a job read back is written otherwise");
    check(!job.plan || planFits(job.sheet, *job.plan),
          "a job was read with a plan that does not fit");
    return 0;
}
