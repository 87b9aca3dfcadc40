// Reading the vendor and product ids out of an interface path.
#include "link/windows/interface_path.h"

#include <algorithm>

namespace tarvik {

namespace {

wchar_t lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

int hexDigit(wchar_t c) {
    c = lower(c);
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

bool startsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](wchar_t p, wchar_t t) { return p == lower(t); });
}

// Exactly four hexadecimal digits at the start of text, not followed by a fifth.
std::optional<std::uint16_t> fourHexDigits(std::wstring_view text) {
    if (text.size() < 4 || (text.size() > 4 && hexDigit(text[4]) >= 0))
        return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<unsigned>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::optional<UsbIds> idsFromInterfacePath(std::wstring_view path) {
    constexpr std::wstring_view kVendor = L"vid_";
    constexpr std::wstring_view kProduct = L"&pid_";
    for (std::size_t at = 0; at < path.size(); ++at) {
        const std::wstring_view rest = path.substr(at);
        if (!startsWithIgnoringCase(rest, kVendor))
            continue;
        const auto vendor = fourHexDigits(rest.substr(kVendor.size()));
        const std::wstring_view afterVendor =
            rest.substr(std::min(rest.size(), kVendor.size() + 4));
        if (!vendor || !startsWithIgnoringCase(afterVendor, kProduct))
            continue;
        if (const auto product = fourHexDigits(afterVendor.substr(kProduct.size())))
            return UsbIds{*vendor, *product};
    }
    return std::nullopt;
}

std::wstring interfacePathKey(std::wstring_view path) {
    std::wstring key(path);
    std::transform(key.begin(), key.end(), key.begin(), lower);
    return key;
}

} // namespace tarvik
