// SPDX-License-Identifier: MIT
#include "ui/menubar/StatusMenuView.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace sorvala {

namespace {

void walk(const std::vector<StatusMenu::Item>& items, std::vector<const StatusMenu::Item*>& out) {
    for (const auto& item : items) {
        out.push_back(&item);
        walk(item.submenu, out);
    }
}

} // namespace

StatusMenuView::StatusMenuView(QMenu& menu, const std::vector<StatusMenu::Item>& items,
                               std::function<void(const MenuCommand&)> onCommand, std::function<void()> onQuit)
    : m_onCommand(std::move(onCommand)), m_onQuit(std::move(onQuit)) {
    build(menu, items);
    apply(items);
}

QString StatusMenuView::keySequenceText(const std::string& combination) {
    auto text = QString::fromStdString(combination);
    text.replace(QStringLiteral("Super+"), QStringLiteral("Meta+"));
    return text;
}

void StatusMenuView::build(QMenu& menu, const std::vector<StatusMenu::Item>& items) {
    using Role = StatusMenu::Item::Role;
    for (const auto& item : items) {
        QAction* action = nullptr;
        switch (item.role) {
        case Role::separator: action = menu.addSeparator(); break;
        case Role::submenu: {
            auto* submenu = menu.addMenu(QString::fromStdString(item.label));
            action = submenu->menuAction();
            m_actions.push_back(action);
            build(*submenu, item.submenu);
            continue;
        }
        case Role::statusLine:
        case Role::streak:
        case Role::command:
        case Role::quit: {
            action = menu.addAction(QString::fromStdString(item.label));
            if (item.command) {
                const auto command = *item.command;
                QObject::connect(action, &QAction::triggered, action, [this, command] { m_onCommand(command); });
            } else if (item.role == Role::quit) {
                QObject::connect(action, &QAction::triggered, action, [this] { m_onQuit(); });
            }
            break;
        }
        }
        m_actions.push_back(action);
    }
}

void StatusMenuView::apply(const std::vector<StatusMenu::Item>& items) {
    std::vector<const StatusMenu::Item*> flat;
    walk(items, flat);
    for (std::size_t i = 0; i < flat.size() && i < m_actions.size(); ++i) {
        const auto& item = *flat[i];
        auto* action = m_actions[i];
        if (item.role == StatusMenu::Item::Role::separator)
            continue;
        const auto title = QString::fromStdString(item.label);
        // Every setter tells an exporting tray host about the change, even an unchanged value.
        if (action->text() != title)
            action->setText(title);
        if (action->isVisible() == item.hidden)
            action->setVisible(!item.hidden);
        if (action->isEnabled() != item.enabled)
            action->setEnabled(item.enabled);
        if (action->isCheckable() != item.checkable)
            action->setCheckable(item.checkable);
        if (item.checkable && action->isChecked() != item.checked)
            action->setChecked(item.checked);
        const QKeySequence keys(keySequenceText(item.keySequence));
        if (action->shortcut() != keys)
            action->setShortcut(keys);
    }
}

} // namespace sorvala
