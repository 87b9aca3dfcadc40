// toUtf8, toWide: the system's own conversions, sized by a first call.
#include "link/windows/wide_text.h"

#include <windows.h>

#include <climits>

namespace tarvik {

std::string toUtf8(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::wstring toWide(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (units <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), units);
    return out;
}

} // namespace tarvik
