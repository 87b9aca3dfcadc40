// Looking up entries of the main menu tree by name.
#include "form/main_menu.h"

namespace tarvik::menu {

const MenuEntry* findMenuEntry(std::string_view name) {
    const MenuEntry* found = nullptr;
    forEachMenuEntry([&](const MenuEntry& entry) {
        if (found == nullptr && entry.name == name)
            found = &entry;
    });
    return found;
}

} // namespace tarvik::menu
