// SPDX-License-Identifier: MIT
#pragma once

#include "updater/UpdatePresentation.h"
#include "updater/qt/SelfUpdater.h"

#include <QDialog>

#include <functional>
#include <vector>

class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;

namespace sorvala {

/// "About Sorvala": the updater's current card (icon, title, subtitle, progress and buttons)
/// above the version line, the licence and the project's address. Made once and shown again.
class AboutWindow final : public QDialog, public SelfUpdater::Window {
public:
    /// `onAction` receives every card button; the window closes itself for "Later" and "Close".
    AboutWindow(UpdatePresentation::Version current, std::function<void(UpdatePresentation::Action)> onAction,
                QWidget* parent = nullptr);

    void render(const UpdatePresentation::State& state) override;
    void present() override;

    /// The card on show.
    const UpdatePresentation::Card& card() const { return m_card; }
    /// The buttons on show, in card order.
    const std::vector<QPushButton*>& buttons() const { return m_buttons; }

private:
    void apply();

    std::function<void(UpdatePresentation::Action)> m_onAction;
    UpdatePresentation::Card m_card;
    QLabel* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_subtitle = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_step = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
    std::vector<QPushButton*> m_buttons;
};

} // namespace sorvala
