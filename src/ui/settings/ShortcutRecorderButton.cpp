// SPDX-License-Identifier: MIT
#include "ui/settings/ShortcutRecorderButton.h"

#include "app/ShortcutRecorder.h"
#include "platform/x11/QtKeyCodes.h"

#include <QApplication>
#include <QKeyEvent>

namespace sorvala {
namespace {

// Pressing a modifier on its way to a combination is not the combination yet.
bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Mode_switch:
    case Qt::Key_unknown: return true;
    default: return false;
    }
}

} // namespace

ShortcutRecorderButton::ShortcutRecorderButton(QWidget* parent)
    : QPushButton(parent), m_beep([] { QApplication::beep(); }) {
    setCheckable(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] {
        if (!m_recording)
            startRecording();
    });
    refreshTitle();
}

void ShortcutRecorderButton::setShortcut(std::optional<KeyboardShortcut> shortcut) {
    if (m_recording)
        finishRecording();
    m_shortcut = std::move(shortcut);
    refreshTitle();
}

void ShortcutRecorderButton::cancelRecording() {
    if (m_recording)
        finishRecording();
}

void ShortcutRecorderButton::startRecording() {
    m_recording = true;
    setDown(true);
    refreshTitle();
    setFocus(Qt::OtherFocusReason);
    grabKeyboard();
    if (m_recordingChanged)
        m_recordingChanged(true);
}

void ShortcutRecorderButton::finishRecording() {
    m_recording = false;
    releaseKeyboard();
    setDown(false);
    refreshTitle();
    if (m_recordingChanged)
        m_recordingChanged(false);
}

void ShortcutRecorderButton::refreshTitle() {
    setText(QString::fromUtf8(m_recording ? i18n(ShortcutRecorder::recordingTitle.data())
                                          : ShortcutRecorder::title(m_shortcut)));
    // The name says which command this records (set by the window); the binding is read after it.
    setAccessibleDescription(text());
}

bool ShortcutRecorderButton::event(QEvent* event) {
    if (!m_recording)
        return QPushButton::event(event);
    // While recording every key belongs to the recorder: no Tab moves focus, no Escape closes
    // the window, no menu shortcut fires.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyRelease)
        return true;
    if (event->type() != QEvent::KeyPress)
        return QPushButton::event(event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (isModifierKey(key->key()))
        return true;
    const auto outcome = ShortcutRecorder::record(m_shortcut, QtKeyCodes::keyPress(*key));
    const bool changed = outcome.shortcut != m_shortcut;
    m_shortcut = outcome.shortcut;
    if (outcome.beep && m_beep)
        m_beep();
    finishRecording();
    if (changed)
        emit shortcutChanged();
    return true;
}

void ShortcutRecorderButton::focusOutEvent(QFocusEvent* event) {
    cancelRecording();
    QPushButton::focusOutEvent(event);
}

} // namespace sorvala
