// Reading and writing the settings file's INI text (see settings_ini.h).
#include "shell/posix/settings_ini.h"

#include <vector>

namespace tarvik {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

// Whether the character at i is escaped: an odd number of backslashes stands before it.
bool isEscaped(std::string_view s, std::size_t i) {
    std::size_t backslashes = 0;
    while (i > backslashes && s[i - backslashes - 1] == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

// Drops the blanks around a text, but not an escaped one at its end.
std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()) && !isEscaped(s, s.size() - 1))
        s.remove_suffix(1);
    return s;
}

// Escapes a name (or a value, which only needs its backslashes, line breaks and the blanks
// at its ends escaped, so that trimming the line keeps them).
std::string escape(std::string_view text, bool isName) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool atEnd = i == 0 || i + 1 == text.size();
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if ((isName && (c == '=' || (i == 0 && (c == '[' || c == ';' || c == '#')))) ||
                 (atEnd && isSpace(c)))
            out += {'\\', c};
        else
            out += c;
    }
    return out;
}

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

// The position of the first '=' that no backslash escapes, or npos.
std::size_t findSeparator(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string_view::npos;
}

// Where the writer splits a key into section and name: at the last '/' that leaves a name and
// a section that a section line holds as it is (no line break, no blanks at its ends). A key
// with none, which only a hand-edited name can make, goes before the first section whole.
std::size_t sectionEnd(std::string_view key) {
    for (std::size_t slash = key.rfind('/'); slash != std::string_view::npos && slash > 0;
         slash = key.rfind('/', slash - 1)) {
        const std::string_view section = key.substr(0, slash);
        if (slash + 1 < key.size() && section.find_first_of("\r\n") == std::string_view::npos &&
            !isSpace(section.front()) && !isSpace(section.back()))
            return slash;
    }
    return std::string_view::npos;
}

} // namespace

SettingsMap parseSettingsIni(std::string_view text) {
    SettingsMap values;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = trim(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = std::string(trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t separator = findSeparator(line);
        if (separator == std::string_view::npos)
            continue;
        const std::string name = unescape(trim(line.substr(0, separator)));
        if (name.empty())
            continue;
        values[section.empty() ? name : section + '/' + name] =
            unescape(trim(line.substr(separator + 1)));
    }
    return values;
}

std::string writeSettingsIni(const SettingsMap& values) {
    // Keys without a section first, then one block per section in sorted order.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
    for (const auto& [key, value] : values) {
        const std::size_t slash = sectionEnd(key);
        const std::string section = slash == std::string::npos ? "" : key.substr(0, slash);
        const std::string name = slash == std::string::npos ? key : key.substr(slash + 1);
        sections[section].emplace_back(name, value);
    }
    std::string text;
    for (const auto& [section, entries] : sections) {
        if (!section.empty())
            text += (text.empty() ? "[" : "\n[") + section + "]\n";
        for (const auto& [name, value] : entries)
            text += escape(name, true) + '=' + escape(value, false) + '\n';
    }
    return text;
}

} // namespace tarvik
