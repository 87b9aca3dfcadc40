// The Motorola S-record reader on any text. An accepted image is never above the size limit,
// every failure has a message, and writing an image and reading that back gives the same bytes.
#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "fuzz_input.h"

namespace {

// Only images up to this size are written and read back, to keep the fuzzer's time on the
// reader.
constexpr std::size_t kMaxRoundTripBytes = 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik;
    const SRecordReadResult result = readSRecord(fuzz::asText(data, size));
    fuzz::require(!sRecordReadMessage(result, 1).empty() || result.status == SRecordStatus::Ok,
                  "every failure has a message");
    if (result.status != SRecordStatus::Ok)
        return 0;
    fuzz::require(result.bytes.size() <= kMaxImageBytes, "an accepted image is at most 16 MiB");
    if (result.bytes.size() > kMaxRoundTripBytes)
        return 0;
    const SRecordReadResult again = readSRecord(writeSRecord(result.bytes));
    fuzz::require(again.status == SRecordStatus::Ok, "the writer's text reads back");
    fuzz::require(again.bytes == result.bytes, "the written image reads back as it was");
    return 0;
}
