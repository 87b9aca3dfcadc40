// Building the Qt menus from the model's menu tree and following the model's menu state.
#include "shell/menu_bar_view.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "shell/main_window.h"

namespace tarvik {

namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QActionGroup* radioGroup(QObject* parent) {
    auto* group = new QActionGroup(parent);
    // The model keeps exactly one entry marked; "optional" lets the view show none before
    // the first selection (no language chosen yet) without Qt forcing a mark.
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    return group;
}

} // namespace

MenuBarView::MenuBarView(QMenuBar& bar, MainWindow& window)
    : window_(window), chipGroup_(radioGroup(&bar)), languageGroup_(radioGroup(&bar)) {
    add(menu::kMainMenu, &bar, nullptr, -1);
}

void MenuBarView::add(std::span<const menu::MenuEntry> entries, QMenuBar* bar, QMenu* menu,
                      int parent) {
    for (const menu::MenuEntry& entry : entries) {
        QAction* action = nullptr;
        QMenu* submenu = nullptr;
        if (!entry.children.empty()) {
            submenu = bar ? bar->addMenu(QString()) : menu->addMenu(QString());
            action = submenu->menuAction();
        } else if (entry.separator) {
            action = bar ? bar->addSeparator() : menu->addSeparator();
        } else {
            action = bar ? bar->addAction(QString()) : menu->addAction(QString());
        }
        action->setObjectName(qText(entry.name));
        if (!entry.shortcut.empty()) {
            QList<QKeySequence> keys{QKeySequence(qText(entry.shortcut))};
            keys += QKeySequence::listFromString(qText(entry.moreShortcuts));
            action->setShortcuts(keys);
        }
        if (entry.radioGroup == menu::RadioGroup::Chips)
            chipGroup_->addAction(action);
        else if (entry.radioGroup == menu::RadioGroup::Languages)
            languageGroup_->addAction(action);
        if (entry.handler) {
            const auto handler = entry.handler;
            QObject::connect(action, &QAction::triggered, action,
                             [this, handler] { window_.call(handler); });
        }
        nodes_.push_back({&entry, action, parent});
        if (submenu)
            add(entry.children, nullptr, submenu, int(nodes_.size()) - 1);
    }
}

void MenuBarView::render(const TMainForm& form) {
    // A menu closed during a job still opens for an enabled entry that is meant for that time
    // (Action → Abort), and then offers that entry alone.
    std::vector<bool> opensForJob(nodes_.size());
    for (const Node& node : nodes_) {
        if (node.entry->duringJob && (form.*(node.entry->item)).enabled)
            for (int up = node.parent; up >= 0; up = nodes_[std::size_t(up)].parent)
                opensForJob[std::size_t(up)] = true;
    }
    // Whether each node's entries can be reached: its own state and all its parents'. An entry
    // under a disabled or hidden menu is disabled too, so its shortcut can't fire either.
    std::vector<bool> reachable(nodes_.size());
    std::vector<bool> opened(nodes_.size());
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const Node& node = nodes_[i];
        const MenuItem& item = form.*(node.entry->item);
        const bool parentReachable = node.parent < 0 || reachable[std::size_t(node.parent)] ||
                                     (node.entry->duringJob && opened[std::size_t(node.parent)]);
        reachable[i] = parentReachable && item.enabled && item.visible;
        opened[i] = reachable[i] || (opensForJob[i] && item.visible &&
                                     (node.parent < 0 || opened[std::size_t(node.parent)]));

        QAction* action = node.action;
        if (!node.entry->separator) {
            const QString caption = qText(item.caption);
            if (action->text() != caption)
                action->setText(caption);
        }
        // As in the designed menus, only a marked entry shows a mark.
        if (action->isCheckable() != item.checked || action->isChecked() != item.checked) {
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
        }
        const bool enabled = (parentReachable && item.enabled) || opened[i];
        if (action->isEnabled() != enabled)
            action->setEnabled(enabled);
        if (action->isVisible() != item.visible)
            action->setVisible(item.visible);
    }
}

QAction* MenuBarView::action(std::string_view name) const {
    for (const Node& node : nodes_)
        if (node.entry->name == name)
            return node.action;
    return nullptr;
}

} // namespace tarvik
