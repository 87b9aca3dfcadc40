// File names are UTF-8 strings in the program; the system gets them as std::filesystem::path,
// which is wide on Windows.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvik::platform {

inline std::filesystem::path pathFromUtf8(std::string_view name) {
    return std::filesystem::path(
        std::u8string_view(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

inline std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(reinterpret_cast<const char*>(name.data()), name.size());
}

} // namespace tarvik::platform
