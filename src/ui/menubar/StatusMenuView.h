// SPDX-License-Identifier: MIT
#pragma once

#include "menubar/StatusMenu.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace sorvala {

/// A QMenu built once from the status menu's items, whose titles, check marks and hidden states
/// are re-applied from fresh items of the same shape.
class StatusMenuView {
public:
    /// Builds the menu; each actionable item calls `onCommand`, "Quit Sorvala" calls `onQuit`.
    StatusMenuView(QMenu& menu, const std::vector<StatusMenu::Item>& items,
                   std::function<void(const MenuCommand&)> onCommand, std::function<void()> onQuit);

    /// Applies titles and states; items past the built shape are ignored.
    void apply(const std::vector<StatusMenu::Item>& items);

    /// The QKeySequence form of a key combination written "Ctrl+Alt+Super+B".
    static QString keySequenceText(const std::string& combination);

private:
    void build(QMenu& menu, const std::vector<StatusMenu::Item>& items);

    std::function<void(const MenuCommand&)> m_onCommand;
    std::function<void()> m_onQuit;
    /// Every item's action in depth-first order, the order `apply` walks.
    std::vector<QAction*> m_actions;
};

} // namespace sorvala
