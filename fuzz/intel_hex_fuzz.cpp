// The Intel HEX reader on any text. An accepted image is never above the size limit, and
// writing it and reading that back gives the same bytes, the last record padded with FF.
#include <vector>

#include "buffer/intel_hex.h"
#include "fuzz_input.h"

namespace {

// Only images up to this size are written and read back: the round trip of a many-MiB image
// would take most of the fuzzer's time, and 64 KiB segments with their address records fit.
constexpr std::size_t kMaxRoundTripBytes = 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik;
    const HexReadResult result = readIntelHex(fuzz::asText(data, size));
    fuzz::require(!hexReadMessage(result, 1).empty() || result.status == HexStatus::Ok,
                  "every failure has a message");
    if (result.status != HexStatus::Ok)
        return 0;
    fuzz::require(result.bytes.size() <= kMaxImageBytes, "an accepted image is at most 16 MiB");
    if (result.bytes.size() > kMaxRoundTripBytes)
        return 0;

    const HexReadResult again = readIntelHex(writeIntelHex(result.bytes));
    fuzz::require(again.status == HexStatus::Ok, "the writer's text reads back");
    std::vector<std::uint8_t> padded = result.bytes;
    padded.resize((padded.size() + 15) / 16 * 16, 0xFF);
    fuzz::require(again.bytes == padded, "the written image reads back as it was, padded");
    return 0;
}
