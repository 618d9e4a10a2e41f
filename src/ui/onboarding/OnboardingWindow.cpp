// SPDX-License-Identifier: MIT
#include "ui/onboarding/OnboardingWindow.h"

#include "app/SettingsSchema.h"
#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "i18n/QtI18n.h"
#include "platform/dbus/BoundedDBus.h"
#include "ui/breakscreen/QtBreakChrome.h"
#include "ui/onboarding/OnboardingFigures.h"
#include "ui/style/QtDesignTokens.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>

namespace sorvala {

namespace {

constexpr int textWidth = 492;

QLabel* label(const std::string& text, double pixels, QWidget* parent, bool wraps = false) {
    auto* l = new QLabel(QString::fromStdString(text), parent);
    QFont font = l->font();
    font.setPixelSize(int(pixels + 0.5));
    l->setFont(font);
    l->setWordWrap(wraps);
    if (wraps)
        l->setFixedWidth(textWidth);
    return l;
}

int factoryMicroMinutes() {
    return int(SettingsSchema::integerDefault(SettingsSchema::microMinutesKey));
}

} // namespace

OnboardingWindow::OnboardingWindow(Services services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)) {
    setWindowTitle(qi18n("Welcome to Sorvala"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(560, 466);
    setModal(false);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    // A notification service started (or stopped) while the tray page is open changes what it says.
    auto* notificationService =
        new QDBusServiceWatcher(QStringLiteral("org.freedesktop.Notifications"), QDBusConnection::sessionBus(),
                                QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(notificationService, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this] { refresh({OnboardingFlow::Step::menuBar}); });
}

OnboardingFlow::NotificationState OnboardingWindow::notificationServiceState() {
    BoundedDBus bus(QDBusConnection::sessionBus(), 500);
    return bus.isOwned(QStringLiteral("org.freedesktop.Notifications"))
               ? OnboardingFlow::NotificationState::granted
               : OnboardingFlow::NotificationState::denied;
}

void OnboardingWindow::showIfNeeded() {
    if (m_services.store.boolean(OnboardingFlow::onboardingShownKey))
        return;
    present();
}

void OnboardingWindow::present() {
    m_services.log.log("onboarding opened");
    if (isVisible()) {
        raise();
        activateWindow();
        refresh({OnboardingFlow::Step::menuBar});
        return;
    }
    m_step = OnboardingFlow::Step::theBreak;
    render();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void OnboardingWindow::refresh(std::initializer_list<OnboardingFlow::Step> steps) {
    if (!isVisible())
        return;
    for (auto step : steps)
        if (step == m_step) {
            render();
            return;
        }
}

void OnboardingWindow::setScheduleReminder(std::function<void()> scheduleReminder) {
    m_services.scheduleReminder = std::move(scheduleReminder);
}

void OnboardingWindow::render() {
    const auto notifications =
        m_services.notifications ? m_services.notifications() : OnboardingFlow::NotificationState::denied;
    const auto facts = OnboardingFlow::storedFacts(m_services.store, factoryMicroMinutes(), notifications);
    const auto page = OnboardingFlow::page(m_step, facts);

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (page.figure) {
        column->addWidget(OnboardingFigures::view(*page.figure, m_services.store, content));
        column->addWidget(QtDesignTokens::separator(content));
    }

    auto* text = new QVBoxLayout;
    text->setContentsMargins(34, 18, 34, 14);
    text->setSpacing(9);
    auto* title = label(page.title, 19, content);
    QFont titleFont = title->font();
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    text->addWidget(title);
    auto* body = label(page.body, 13, content, true);
    body->setForegroundRole(QPalette::PlaceholderText);
    text->addWidget(body);
    if (page.control) {
        text->addSpacing(20 - 9);
        text->addWidget(controlView(*page.control));
    }
    if (page.footnote) {
        text->addSpacing(12 - 9);
        auto* footnote = label(*page.footnote, 11.5, content, true);
        footnote->setForegroundRole(QPalette::PlaceholderText);
        text->addWidget(footnote);
    }
    text->addStretch(1);
    column->addLayout(text, 1);
    column->addWidget(QtDesignTokens::separator(content));

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(20, 12, 20, 14);
    footer->setSpacing(10);
    auto* position = label(page.position, 11.5, content);
    position->setForegroundRole(QPalette::PlaceholderText);
    footer->addWidget(position);
    footer->addStretch(1);
    if (OnboardingFlow::previous(m_step)) {
        auto* backButton = new QPushButton(qi18n("Back"), content);
        backButton->setAutoDefault(false);
        connect(backButton, &QPushButton::clicked, this, [this] { back(); });
        footer->addWidget(backButton);
    }
    auto* advanceButton = new QPushButton(QString::fromStdString(page.advanceTitle), content);
    advanceButton->setDefault(true);
    connect(advanceButton, &QPushButton::clicked, this, [this] { advance(); });
    footer->addWidget(advanceButton);
    column->addLayout(footer);

    clearContent();
    m_content = content;
    m_layout->addWidget(content);
    content->show();
    // A long page (a denied notification service, large fonts) grows the window rather than
    // cutting its last lines off.
    setFixedHeight(std::max(466, content->sizeHint().height()));
    advanceButton->setFocus();
    // Pages change without a fade where the desktop asks for less motion, as the break screen does.
    if (m_hasRendered && !QtBreakChrome::reduceMotion()) {
        auto* effect = new QGraphicsOpacityEffect(content);
        effect->setOpacity(0);
        content->setGraphicsEffect(effect);
        auto* fade = new QPropertyAnimation(effect, "opacity", content);
        fade->setDuration(180);
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        // The effect is dropped once opaque, so the live drawing repaints without it.
        connect(fade, &QPropertyAnimation::finished, content,
                [content] { content->setGraphicsEffect(nullptr); });
        fade->start();
    }
    m_hasRendered = true;
}

QWidget* OnboardingWindow::controlView(const OnboardingFlow::Control& control) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    if (const auto* micro = std::get_if<OnboardingFlow::MicroBreaksSwitch>(&control)) {
        layout->setSpacing(10);
        auto* toggle = new QCheckBox(qi18n("Short eye breaks"), row);
        QFont font = toggle->font();
        font.setPixelSize(13);
        toggle->setFont(font);
        toggle->setChecked(micro->on);
        connect(toggle, &QCheckBox::toggled, this, [this](bool on) { setMicroBreaks(on); });
        layout->addWidget(toggle);
        layout->addStretch(1);
        return row;
    }
    const auto state = std::get<OnboardingFlow::NotificationsControl>(control).state;
    const auto button = OnboardingFlow::notificationButtonTitle(state);
    auto* status = label(OnboardingFlow::notificationStatusLine(state), 12, row);
    if (!button) {
        layout->setSpacing(7);
        auto* check = new QLabel(row);
        check->setPixmap(style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(16, 16));
        layout->addWidget(check);
    } else {
        layout->setSpacing(12);
        auto* press = new QPushButton(QString::fromStdString(*button), row);
        press->setAutoDefault(false);
        connect(press, &QPushButton::clicked, this, [this] { notificationButtonPressed(); });
        layout->addWidget(press);
        if (state == OnboardingFlow::NotificationState::denied)
            status->setForegroundRole(QPalette::PlaceholderText);
    }
    layout->addWidget(status);
    layout->addStretch(1);
    return row;
}

void OnboardingWindow::setMicroBreaks(bool on) {
    const int stored = OnboardingFlow::storeMicroBreaks(m_services.store, on, factoryMicroMinutes());
    m_services.log.log("onboarding set microMinutes=" + std::to_string(stored));
    if (m_services.scheduleReminder)
        m_services.scheduleReminder();
    render();
}

void OnboardingWindow::notificationButtonPressed() {
    const auto state =
        m_services.notifications ? m_services.notifications() : OnboardingFlow::NotificationState::denied;
    if (state == OnboardingFlow::NotificationState::denied) {
        // No desktop-wide notification settings page exists; open the desktop's own panel when
        // one of the known ones is installed.
        const std::pair<QString, QStringList> panels[] = {
            {QStringLiteral("gnome-control-center"), {QStringLiteral("notifications")}},
            {QStringLiteral("systemsettings"), {QStringLiteral("kcm_notifications")}},
            {QStringLiteral("xfce4-notifyd-config"), {}},
        };
        bool opened = false;
        for (const auto& [program, arguments] : panels)
            if (!QStandardPaths::findExecutable(program).isEmpty() &&
                QProcess::startDetached(program, arguments)) {
                opened = true;
                break;
            }
        if (!opened)
            m_services.log.log("notification settings not opened reason=no-settings-panel");
    }
    // Asking is not a thing here: look again and show what we find.
    refresh({OnboardingFlow::Step::menuBar});
}

void OnboardingWindow::advance() {
    const auto next = OnboardingFlow::next(m_step);
    if (!next) {
        close();
        return;
    }
    m_step = *next;
    render();
    if (OnboardingFlow::marksSeen(*next) && !m_seenLastStep) {
        m_seenLastStep = true;
        m_services.store.set(OnboardingFlow::onboardingShownKey, true);
        m_services.log.log("onboarding completed");
    }
}

void OnboardingWindow::back() {
    if (const auto previous = OnboardingFlow::previous(m_step)) {
        m_step = *previous;
        render();
    }
}

void OnboardingWindow::clearContent() {
    if (!m_content)
        return;
    m_layout->removeWidget(m_content);
    m_content->hide();
    m_content->deleteLater();
    m_content = nullptr;
}

void OnboardingWindow::reject() {
    // Closing by "Done", the close button or Escape all end here. The drawing leaves with the
    // content, so nothing animates behind a closed window, and the next showing comes without
    // the fade.
    clearContent();
    m_hasRendered = false;
    QDialog::reject();
}

} // namespace sorvala
