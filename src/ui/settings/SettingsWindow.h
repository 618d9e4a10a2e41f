// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "settings/SettingsDraft.h"
#include "settings/SettingsPages.h"
#include "ui/settings/ApplicationCatalog.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QLayout;
class QListWidget;
class QStackedWidget;
class QTimeEdit;
class QVBoxLayout;

namespace sorvala {

class DrawingPreview;
class ShortcutRecorderButton;

/// The one window in which every setting is edited. Edits stay in the window until "Save"
/// writes them all and closes it; "Cancel" and the close button discard them; "Reset to
/// Defaults" puts every control back to its factory default without storing anything.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    /// What the window talks to. The functions may be empty; the dialogs have working defaults.
    struct Ports {
        Ports(PreferencesStore& store_, Logger& log_) : store(store_), log(log_) {}

        PreferencesStore& store;
        Logger& log;
        /// Plays a chime by name at a volume from 0 to 1 (the sound page's preview).
        std::function<bool(std::string_view sound, float volume)> playSound;
        /// True while a recorder listens, so our own global shortcuts step aside; false after.
        std::function<void(bool suspended)> suspendHotKeys;
        /// Run when the window opens and after it closes (the application object's snapshot and
        /// restart of the schedule; it re-registers the global shortcuts).
        std::function<void()> opened;
        std::function<void()> closed;
        /// Run after a save, before the window closes.
        std::function<void()> onSettingsSaved;
        /// Shown on the shortcuts page when the desktop lets nobody register global shortcuts.
        std::string shortcutsNote;

        /// A question with a button that agrees; true when the user agreed.
        std::function<bool(QWidget* parent, const QString& title, const QString& text, const QString& agree)>
            ask;
        /// A message the user acknowledges.
        std::function<void(QWidget* parent, const QString& title, const QString& text)> tell;
        /// The desktop-file ids the user picks, leaving out those already listed.
        std::function<std::vector<std::string>(QWidget* parent, const std::vector<std::string>& already)>
            chooseApplications;
        /// The calendar files (or, with `folders`, calendar folders) the user picks.
        std::function<std::vector<std::string>(QWidget* parent, bool folders)> chooseCalendarSources;
        /// Whether a calendar file or folder can be read.
        std::function<bool(const std::string& source)> isReadableCalendarSource;
        /// The name and icon of an installed application.
        std::function<std::optional<InstalledApplication>(const std::string& id)> findApplication;
    };

    explicit SettingsWindow(Ports ports, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    /// Opens the window filled from the store, or brings it to the front when it is open.
    void showAndRaise();
    /// Fills every control from the store.
    void loadControlValues();
    /// Refuses while a planned time can never fire; otherwise stores every control and closes.
    void saveAndClose();
    /// Puts every control back to its factory default; stores nothing.
    void resetToDefaults();
    /// Shows the page at `index` (0 to 8).
    void selectPage(int index);

    /// The window's unsaved state.
    const SettingsDraft& draft() const { return m_draft; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct DependentRow {
        std::string key;
        QWidget* row;
    };

    void build();
    QWidget* buildPage(const SettingsPages::Page& page);
    QWidget* buildRow(const SettingsPages::Row& row);
    QWidget* toggleRow(const SettingsPages::Row& row);
    QWidget* numberRow(const SettingsPages::Row& row);
    QWidget* choiceRow(const SettingsPages::Row& row);
    QWidget* volumeRow(const SettingsPages::Row& row);
    QWidget* speedRow(const SettingsPages::Row& row);
    QWidget* commandRow(const SettingsPages::Row& row);
    QWidget* plannedTimesRow();
    QWidget* workingHoursRow(const SettingsPages::Row& row);
    QWidget* weekdaysRow(const SettingsPages::Row& row);
    QWidget* busyAppsRow();
    QWidget* calendarSourcesRow();
    QWidget* drawingsRow();
    QWidget* shortcutsRow();
    QWidget* actionBar();

    void edited(std::string_view key, const PreferenceValue& value);
    void refreshState();
    void applyDraftToControls();
    void rebuildPlannedTimes();
    void plannedTimesEdited();
    void addPlannedTime();
    void rebuildBusyApps();
    void rebuildCalendarSources();
    void addCalendarSources(bool folders);
    bool calendarGranted() const;
    void calendarSwitchTurnedOn();
    void schedulePreview(std::string key);
    void playPreview();
    void applyTokens();
    /// Names for screen readers where no label says it, and the focus ring in the sidebar.
    void setUpAccessibility();
    /// Puts the rows of a list made after the window was built before `next` in the tab order.
    static void tabBefore(QLayout* list, QWidget* next);

    Ports m_ports;
    SettingsDraft m_draft;
    SettingsDraft m_opened;
    bool m_open = false;
    bool m_applyingTokens = false;

    QListWidget* m_sidebar = nullptr;
    QStackedWidget* m_pages = nullptr;
    std::vector<DependentRow> m_dependentRows;
    std::vector<std::function<void()>> m_loaders;
    std::vector<ShortcutRecorderButton*> m_recorders;

    QVBoxLayout* m_plannedList = nullptr;
    QLabel* m_plannedPlaceholder = nullptr;
    QLabel* m_plannedMark = nullptr;
    std::vector<QTimeEdit*> m_plannedEdits;

    QVBoxLayout* m_busyAppsList = nullptr;
    QVBoxLayout* m_calendarList = nullptr;
    QLabel* m_calendarNote = nullptr;
    DrawingPreview* m_preview = nullptr;

    QTimer m_previewDelay;
    std::string m_previewKey;
    ApplicationCatalog m_catalog;
};

} // namespace sorvala
