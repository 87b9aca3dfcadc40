// The main menu as Qt menus and actions, built from the model's menu tree: every entry,
// separator, shortcut, radio group and hidden submenu. Triggering an entry runs its handler
// through the window; render() copies captions, check marks, enabled and visible states.
#pragma once

#include <string_view>
#include <vector>

#include "form/main_menu.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

namespace tarvik {

class MainWindow;

class MenuBarView {
public:
    MenuBarView(QMenuBar& bar, MainWindow& window);
    void render(const TMainForm& form);
    QAction* action(std::string_view name) const;

private:
    struct Node {
        const menu::MenuEntry* entry;
        QAction* action;
        int parent; // index into nodes_, -1 for the menu bar's own entries
    };
    void add(std::span<const menu::MenuEntry> entries, QMenuBar* bar, QMenu* menu, int parent);

    MainWindow& window_;
    std::vector<Node> nodes_;
    QActionGroup* chipGroup_;
    QActionGroup* languageGroup_;
};

} // namespace tarvik
