// The HID report descriptor walk and the HID_ID property on any bytes: what the system hands
// the link for every hidraw node, whoever made the device.
#include "fuzz_input.h"
#include "link/hid_report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik;
    const ReportLengths lengths = parseReportDescriptor(std::span(data, size));
    // A length counts the report id byte and at least one byte of the report itself.
    fuzz::require(lengths.input != 1 && lengths.output != 1, "a report length is 0 or above 1");
    if (const auto ids = parseHidId(fuzz::asText(data, size)))
        fuzz::require(size >= 5, "HID_ID has three fields");
    return 0;
}
