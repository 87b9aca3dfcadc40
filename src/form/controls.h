// The state of the main window's controls as plain data: what a view renders and what the
// handlers read and write. No widget code lives here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

struct MenuItem {
    std::string caption;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    bool radioItem = false; // one of a radio group: exactly one of the group carries the mark
};

struct Button {
    std::string caption;
    bool enabled = true;
};

struct Edit {
    std::string text;
};

struct Label {
    std::string caption;
};

struct CheckListItem {
    std::string text;
    bool checked = false;
    bool enabled = true; // a disabled entry shows its mark but can't be toggled
};

struct CheckList {
    std::vector<CheckListItem> items;
    bool enabled = true;
};

// The log: lines are only appended, or all cleared.
struct Memo {
    std::vector<std::string> lines;
    std::uint64_t clears = 0; // counts clears, so a view can tell a clear from appends
};

// Progress gauge; the shown position is clamped to the maximum.
struct Gauge {
    std::int64_t maxValue = 100;
    std::int64_t progress = 0;
};

struct StatusBar {
    std::array<std::string, 3> panels;
};

// A question put to the user with two answers (a message box in the window). The view shows
// it while `asked` holds and passes the answer to the handler the question belongs to, which
// withdraws it.
struct Question {
    bool asked = false;
    std::string title;
    std::string text;
    std::string yesCaption;
    std::string noCaption;
};

struct FileDialog {
    std::string title;
    std::string filter; // "description|pattern|description|pattern…"
    std::string defaultExt;
    std::string fileName; // the current file name: kept when the user cancels
};

} // namespace tarvik
