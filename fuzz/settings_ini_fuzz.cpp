// The settings file reader on any text (the file is meant to be edited by hand). Whatever it
// reads, the writer writes so that reading it again gives the same names and values.
#include "fuzz_input.h"
#include "shell/posix/settings_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik;
    const SettingsMap values = parseSettingsIni(fuzz::asText(data, size));
    fuzz::require(parseSettingsIni(writeSettingsIni(values)) == values,
                  "the settings read back as they were written");
    return 0;
}
