// SPDX-License-Identifier: MIT
#pragma once

#include "app/KeyboardShortcut.h"

#include <QPushButton>

#include <functional>
#include <optional>

namespace sorvala {

/// A button that shows a binding and records a new one: click it, then press a combination.
/// Escape cancels, Backspace or Delete clears, a combination without Super, Ctrl or Alt beeps.
class ShortcutRecorderButton : public QPushButton {
    Q_OBJECT
public:
    explicit ShortcutRecorderButton(QWidget* parent = nullptr);

    std::optional<KeyboardShortcut> shortcut() const { return m_shortcut; }
    /// Shows `shortcut` (ends a recording in progress without a change).
    void setShortcut(std::optional<KeyboardShortcut> shortcut);
    bool isRecording() const { return m_recording; }
    /// Stops a recording in progress; the binding stays as it was.
    void cancelRecording();

    /// Called with true when a recording starts and false when it ends, so our own global
    /// shortcuts can step aside while the user presses a combination they hold.
    void setRecordingChanged(std::function<void(bool recording)> changed) {
        m_recordingChanged = std::move(changed);
    }
    /// The alert sound of an invalid combination; the desktop's beep unless replaced.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

signals:
    /// The user recorded or cleared a binding.
    void shortcutChanged();

protected:
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void startRecording();
    void finishRecording();
    void refreshTitle();

    std::optional<KeyboardShortcut> m_shortcut;
    bool m_recording = false;
    std::function<void(bool)> m_recordingChanged;
    std::function<void()> m_beep;
};

} // namespace sorvala
