// SPDX-License-Identifier: MIT
#include "ui/settings/SettingsWindow.h"

#include "app/SettingsSchema.h"
#include "app/ShortcutAction.h"
#include "drawing/AppearanceKeys.h"
#include "drawing/DrawingPace.h"
#include "drawing/SorvalaGenerator.h"
#include "i18n/QtI18n.h"
#include "notices/SoundDesign.h"
#include "platform/calendar/ICalendarSources.h"
#include "sensing/BlockerPermission.h"
#include "ui/access/AccessibleRole.h"
#include "ui/settings/ApplicationChooser.h"
#include "ui/settings/DrawingPreview.h"
#include "ui/settings/ShortcutRecorderButton.h"
#include "ui/style/QtDesignTokens.h"
#include "ui/style/ShownText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace sorvala {
namespace {

using namespace SettingsSchema;
using SettingsPages::RowKind;

constexpr int drawingCount = SorvalaGenerator::drawingCount;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString rgba(const QColor& colour) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(colour.alphaF(), 0, 'f', 3);
}

QLabel* smallLabel(const QString& text, const char* role, QWidget* parent = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setProperty("role", role);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    return label;
}

// A row: the control line on top, its note (if any) beneath.
QWidget* rowWidget(QLayout* line, const std::string& note) {
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(2);
    layout->addLayout(line);
    if (!note.empty())
        layout->addWidget(smallLabel(shownText(note), "note"));
    return row;
}

QHBoxLayout* labelled(const std::string& label, QWidget* control, QWidget* after = nullptr) {
    auto* line = new QHBoxLayout;
    auto* text = new QLabel(qs(label));
    text->setBuddy(control);
    line->addWidget(text);
    line->addStretch(1);
    line->addWidget(control);
    if (after)
        line->addWidget(after);
    return line;
}

// The locale's short time without seconds: a 12- or 24-hour clock as the user reads it.
QString clockFormat() {
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    format.remove(QStringLiteral(":ss"));
    return format;
}

QTime timeOfMinutes(std::int64_t minutes) {
    const int m = static_cast<int>(std::clamp<std::int64_t>(minutes, 0, 1439));
    return QTime(m / 60, m % 60);
}

std::int64_t minutesOfTime(const QTime& time) {
    return time.hour() * 60 + time.minute();
}

// A plain glyph for pages whose icon the desktop's theme does not have.
QIcon fallbackIcon(const QString& title) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x3a, 0x80, 0xb7));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 7, 7);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(17);
    painter.setFont(font);
    painter.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, title.left(1));
    return QIcon(pixmap);
}

bool askWithMessageBox(QWidget* parent, const QString& title, const QString& text, const QString& agree) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
    auto* yes = box.addButton(agree, QMessageBox::AcceptRole);
    box.addButton(qi18n("Not Now"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void tellWithMessageBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::vector<std::string> chooseCalendarsWithDialog(QWidget* parent, bool folders) {
    std::vector<std::string> chosen;
    if (folders) {
        const QString folder =
            QFileDialog::getExistingDirectory(parent, qi18n("Choose a Calendar Folder"));
        if (!folder.isEmpty())
            chosen.push_back(folder.toStdString());
        return chosen;
    }
    const QStringList files = QFileDialog::getOpenFileNames(parent, qi18n("Choose Calendar Files"),
                                                            {}, qi18n("Calendars (*.ics)"));
    for (const auto& file : files)
        chosen.push_back(file.toStdString());
    return chosen;
}

// Several lines each have a "Remove": a screen reader tells them apart by the time they hold.
void namePlannedTime(QTimeEdit& edit, QPushButton& remove) {
    edit.setAccessibleName(qi18n("Planned break time"));
    const auto rename = [&edit, &remove] {
        // TRANSLATORS: a screen reader's name for a button; %1 is a time of day such as 12:00.
        AccessibleRole::rename(remove, qi18n("Remove the planned break at %1",
                                             edit.time().toString(QStringLiteral("HH:mm"))));
    };
    rename();
    QObject::connect(&edit, &QTimeEdit::timeChanged, &remove, rename);
}

} // namespace

SettingsWindow::SettingsWindow(Ports ports, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ports(std::move(ports)), m_draft(SettingsDraft::factory(drawingCount)),
      m_opened(m_draft) {
    if (!m_ports.ask)
        m_ports.ask = askWithMessageBox;
    if (!m_ports.tell)
        m_ports.tell = tellWithMessageBox;
    if (!m_ports.chooseCalendarSources)
        m_ports.chooseCalendarSources = chooseCalendarsWithDialog;
    if (!m_ports.isReadableCalendarSource)
        m_ports.isReadableCalendarSource = [](const std::string& source) {
            return ICalendarSources::isReadable(source);
        };
    if (!m_ports.chooseApplications)
        m_ports.chooseApplications = [this](QWidget* owner, const std::vector<std::string>& already) {
            return ApplicationChooser::choose(owner, m_catalog, already);
        };
    if (!m_ports.findApplication)
        m_ports.findApplication = [this](const std::string& id) { return m_catalog.find(id); };

    setWindowTitle(qi18n("Sorvala Settings"));
    setObjectName(QStringLiteral("settingsWindow"));
    m_previewDelay.setSingleShot(true);
    m_previewDelay.setInterval(180);
    connect(&m_previewDelay, &QTimer::timeout, this, &SettingsWindow::playPreview);
    build();
    applyTokens();
    setUpAccessibility();
    resize(880, 640);
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::build() {
    m_sidebar = new QListWidget;
    m_sidebar->setObjectName(QStringLiteral("sidebar"));
    m_sidebar->setIconSize(QSize(20, 20));
    m_sidebar->setFixedWidth(190);
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_pages = new QStackedWidget;
    for (const auto& page : SettingsPages::pages()) {
        const QString title = shownText(page.title);
        auto* item =
            new QListWidgetItem(QIcon::fromTheme(qs(page.iconName), fallbackIcon(title)), title, m_sidebar);
        item->setSizeHint(QSize(0, 34));
        m_pages->addWidget(buildPage(page));
    }
    connect(m_sidebar, &QListWidget::currentRowChanged, m_pages, &QStackedWidget::setCurrentIndex);
    m_sidebar->setCurrentRow(0);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(m_sidebar);
    body->addWidget(m_pages, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body, 1);
    layout->addWidget(actionBar());

    refreshState();
}

QWidget* SettingsWindow::actionBar() {
    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("actionBar"));
    bar->setAttribute(Qt::WA_StyledBackground);
    auto* reset = new QPushButton(qi18n("Reset to Defaults"));
    reset->setObjectName(QStringLiteral("resetButton"));
    auto* cancel = new QPushButton(qi18n("Cancel"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* save = new QPushButton(qi18nc("settings window", "Save"));
    save->setObjectName(QStringLiteral("saveButton"));
    save->setDefault(true);
    for (auto* button : {reset, cancel, save})
        button->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, &SettingsWindow::resetToDefaults);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(save, &QPushButton::clicked, this, &SettingsWindow::saveAndClose);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->addWidget(reset);
    layout->addStretch(1);
    layout->addWidget(cancel);
    layout->addWidget(save);
    return bar;
}

QWidget* SettingsWindow::buildPage(const SettingsPages::Page& page) {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("page"));
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(6);

    auto* title = new QLabel(shownText(page.title));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    auto* subtitle = smallLabel(shownText(page.subtitle), "footer");
    layout->addWidget(subtitle);

    for (const auto& section : page.sections) {
        layout->addSpacing(12);
        if (!section.title.empty()) {
            auto* caption = QtDesignTokens::caption(shownText(section.title));
            caption->setProperty("role", "caption");
            layout->addWidget(caption);
        }
        auto* card = new QFrame;
        card->setObjectName(QStringLiteral("card"));
        auto* rows = new QVBoxLayout(card);
        rows->setContentsMargins(14, 8, 14, 8);
        rows->setSpacing(2);
        for (const auto& row : section.rows) {
            QWidget* widget = buildRow(row);
            rows->addWidget(widget);
            const auto found = byKey().find(row.key);
            if (found != byKey().end() && !found->second->dependsOn.empty())
                m_dependentRows.push_back({row.key, widget});
        }
        layout->addWidget(card);
        if (!section.footer.empty())
            layout->addWidget(smallLabel(shownText(section.footer), "footer"));
    }
    layout->addStretch(1);

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

QWidget* SettingsWindow::buildRow(const SettingsPages::Row& row) {
    switch (row.kind) {
    case RowKind::toggle: return toggleRow(row);
    case RowKind::number: return numberRow(row);
    case RowKind::choice: return choiceRow(row);
    case RowKind::volume: return volumeRow(row);
    case RowKind::speed: return speedRow(row);
    case RowKind::command: return commandRow(row);
    case RowKind::plannedTimes: return plannedTimesRow();
    case RowKind::workingHours: return workingHoursRow(row);
    case RowKind::weekdays: return weekdaysRow(row);
    case RowKind::busyApps: return busyAppsRow();
    case RowKind::calendarSources: return calendarSourcesRow();
    case RowKind::drawings: return drawingsRow();
    case RowKind::shortcuts: return shortcutsRow();
    }
    return new QWidget;
}

QWidget* SettingsWindow::toggleRow(const SettingsPages::Row& row) {
    auto* box = new QCheckBox(shownText(row.label));
    box->setObjectName(qs(row.key));
    auto* line = new QHBoxLayout;
    line->addWidget(box);
    line->addStretch(1);
    QWidget* widget = rowWidget(line, row.note);
    const std::string key = row.key;
    if (key == pauseDuringCalendarEventsKey) {
        m_calendarNote = smallLabel({}, "warning");
        m_calendarNote->setObjectName(QStringLiteral("calendarPermissionNote"));
        widget->layout()->addWidget(m_calendarNote);
    }
    connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
        edited(key, on);
        if (on && key == pauseDuringCalendarEventsKey && !calendarGranted())
            calendarSwitchTurnedOn();
    });
    m_loaders.push_back([this, box, key] {
        const QSignalBlocker block(box);
        box->setChecked(m_draft.boolean(key));
    });
    return widget;
}

QWidget* SettingsWindow::numberRow(const SettingsPages::Row& row) {
    auto* spin = new QSpinBox;
    spin->setObjectName(qs(row.key));
    spin->setRange(static_cast<int>(row.minimum), static_cast<int>(row.maximum));
    spin->setMinimumWidth(80);
    spin->setAlignment(Qt::AlignRight);
    auto* unit = new QLabel(shownText(row.unit));
    unit->setMinimumWidth(60);
    const std::string key = row.key;
    connect(spin, &QSpinBox::valueChanged, this,
            [this, key](int value) { edited(key, std::int64_t(value)); });
    m_loaders.push_back([this, spin, key] {
        const QSignalBlocker block(spin);
        spin->setValue(static_cast<int>(m_draft.integer(key)));
    });
    return rowWidget(labelled(row.label, spin, unit), row.note);
}

QWidget* SettingsWindow::choiceRow(const SettingsPages::Row& row) {
    auto* combo = new QComboBox;
    combo->setObjectName(qs(row.key));
    for (const auto& choice : row.choices)
        combo->addItem(shownText(choice.label));
    const std::string key = row.key;
    const auto choices = row.choices;
    connect(combo, &QComboBox::activated, this, [this, key, choices, combo](int index) {
        if (index >= 0 && index < int(choices.size()))
            edited(key, choices[std::size_t(index)].value);
        if (key == soundPairKey)
            schedulePreview(std::string(breaksSoundVolumeKey));
        (void)combo;
    });
    m_loaders.push_back([this, combo, key, choices] {
        const QSignalBlocker block(combo);
        const auto* value = m_draft.value(key);
        // A value stored by hand that the list does not offer shows as itself, so nothing
        // changes unless the user picks another.
        while (combo->count() > int(choices.size()))
            combo->removeItem(combo->count() - 1);
        for (std::size_t i = 0; i < choices.size(); ++i)
            if (value && choices[i].value == *value) {
                combo->setCurrentIndex(int(i));
                return;
            }
        combo->addItem(value ? qs(describe(*value)) : QString());
        combo->setCurrentIndex(combo->count() - 1);
    });
    return rowWidget(labelled(row.label, combo), row.note);
}

QWidget* SettingsWindow::volumeRow(const SettingsPages::Row& row) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(qs(row.key));
    slider->setRange(0, 100);
    slider->setPageStep(10);
    slider->setMinimumWidth(200);
    const std::string key = row.key;
    connect(slider, &QSlider::valueChanged, this, [this, key](int value) {
        edited(key, value / 100.0);
        schedulePreview(key);
    });
    m_loaders.push_back([this, slider, key] {
        const QSignalBlocker block(slider);
        slider->setValue(static_cast<int>(std::lround(m_draft.number(key) * 100)));
    });
    return rowWidget(labelled(row.label, slider), row.note);
}

QWidget* SettingsWindow::speedRow(const SettingsPages::Row& row) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(qs(row.key));
    slider->setRange(1, 10);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setMinimumWidth(200);
    auto* level = new QLabel;
    level->setObjectName(QStringLiteral("speedLevel"));
    level->setMinimumWidth(36);
    auto* estimate = smallLabel({}, "note");
    estimate->setObjectName(QStringLiteral("speedEstimate"));
    m_preview = new DrawingPreview;
    m_preview->setObjectName(QStringLiteral("drawingPreview"));

    const auto show = [level, estimate](double speed) {
        const int whole = static_cast<int>(std::lround(speed));
        QString text = QString::number(whole);
        if (whole == static_cast<int>(DrawingPace::recommendedSpeed))
            text += QStringLiteral(" ★");
        level->setText(text);
        estimate->setText(qs(DrawingPace::estimateDescription(whole)));
    };
    const std::string key = row.key;
    connect(slider, &QSlider::valueChanged, this, [this, key, show](int value) {
        edited(key, double(value));
        show(value);
    });
    m_loaders.push_back([this, slider, key, show] {
        const QSignalBlocker block(slider);
        slider->setValue(static_cast<int>(std::lround(m_draft.number(key))));
        show(m_draft.number(key));
    });
    QWidget* widget = rowWidget(labelled(row.label, slider, level), {});
    widget->layout()->addWidget(estimate);
    auto* previewLine = new QHBoxLayout;
    previewLine->addStretch(1);
    previewLine->addWidget(m_preview);
    previewLine->addStretch(1);
    static_cast<QVBoxLayout*>(widget->layout())->addLayout(previewLine);
    return widget;
}

QWidget* SettingsWindow::commandRow(const SettingsPages::Row& row) {
    auto* field = new QLineEdit;
    field->setObjectName(qs(row.key));
    field->setPlaceholderText(shownText(row.placeholder));
    field->setMinimumWidth(360);
    const std::string key = row.key;
    connect(field, &QLineEdit::textEdited, this,
            [this, key](const QString& text) { edited(key, text.toStdString()); });
    m_loaders.push_back([this, field, key] {
        const QSignalBlocker block(field);
        field->setText(qs(m_draft.text(key)));
    });
    return rowWidget(labelled(row.label, field), row.note);
}

QWidget* SettingsWindow::plannedTimesRow() {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 4, 0, 4);
    m_plannedList = new QVBoxLayout;
    m_plannedPlaceholder = new QLabel(shownText(SettingsPages::noPlannedBreaks));
    m_plannedPlaceholder->setProperty("role", "footer");
    m_plannedMark = smallLabel({}, "warning");
    m_plannedMark->setObjectName(QStringLiteral("plannedMark"));
    auto* add = new QPushButton(qi18n("Add Time…"));
    add->setObjectName(QStringLiteral("addPlannedTime"));
    connect(add, &QPushButton::clicked, this, &SettingsWindow::addPlannedTime);
    auto* addLine = new QHBoxLayout;
    addLine->addWidget(add);
    addLine->addStretch(1);
    layout->addWidget(m_plannedPlaceholder);
    layout->addLayout(m_plannedList);
    layout->addWidget(m_plannedMark);
    layout->addLayout(addLine);
    m_loaders.push_back([this] { rebuildPlannedTimes(); });
    return widget;
}

void SettingsWindow::rebuildPlannedTimes() {
    for (auto* edit : m_plannedEdits)
        delete edit->parentWidget();
    m_plannedEdits.clear();
    for (const auto& time : m_draft.plannedTimes()) {
        auto* line = new QWidget;
        auto* layout = new QHBoxLayout(line);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* edit = new QTimeEdit(QTime(time.hour, time.minute));
        edit->setDisplayFormat(clockFormat());
        edit->setObjectName(QStringLiteral("plannedTime%1").arg(m_plannedEdits.size()));
        auto* remove = new QPushButton(qi18n("Remove"));
        remove->setObjectName(QStringLiteral("removePlannedTime%1").arg(m_plannedEdits.size()));
        layout->addWidget(edit);
        layout->addWidget(remove);
        layout->addStretch(1);
        m_plannedList->addWidget(line);
        m_plannedEdits.push_back(edit);
        connect(edit, &QTimeEdit::timeChanged, this, &SettingsWindow::plannedTimesEdited);
        connect(remove, &QPushButton::clicked, this, [this, edit] {
            m_plannedEdits.erase(std::find(m_plannedEdits.begin(), m_plannedEdits.end(), edit));
            edit->parentWidget()->deleteLater();
            plannedTimesEdited();
        });
        namePlannedTime(*edit, *remove);
    }
    tabBefore(m_plannedList, findChild<QPushButton*>(QStringLiteral("addPlannedTime")));
}

void SettingsWindow::plannedTimesEdited() {
    std::vector<ClockTime> times;
    for (const auto* edit : m_plannedEdits)
        times.push_back({edit->time().hour(), edit->time().minute()});
    edited(fixedBreakTimesKey, FixedBreakTimes::formatted(times));
}

void SettingsWindow::addPlannedTime() {
    // A new time starts an hour after the last one, or the next hour (then minute) still free, so
    // it never repeats a time in the list.
    auto times = m_draft.plannedTimes();
    const auto taken = [&times](int minutes) {
        return std::any_of(times.begin(), times.end(),
                           [minutes](const ClockTime& time) { return time.minutesOfDay() == minutes; });
    };
    int minutes = 12 * 60;
    if (!m_plannedEdits.empty())
        minutes = static_cast<int>((minutesOfTime(m_plannedEdits.back()->time()) + 60) % 1440);
    for (int tries = 0; tries < 1440 && taken(minutes); ++tries)
        minutes = (minutes + (tries < 23 ? 60 : 1)) % 1440;
    times.push_back({minutes / 60, minutes % 60});
    m_draft.setPlannedTimes(times);
    rebuildPlannedTimes();
    refreshState();
    if (!m_plannedEdits.empty())
        m_plannedEdits.back()->setFocus();
}

QWidget* SettingsWindow::workingHoursRow(const SettingsPages::Row& row) {
    auto* start = new QTimeEdit;
    start->setObjectName(qs(workingHoursStartMinutesKey));
    start->setDisplayFormat(clockFormat());
    auto* end = new QTimeEdit;
    end->setObjectName(qs(workingHoursEndMinutesKey));
    end->setDisplayFormat(clockFormat());
    auto* line = new QHBoxLayout;
    auto* label = new QLabel(shownText(row.label));
    label->setBuddy(start);
    line->addWidget(label);
    line->addStretch(1);
    line->addWidget(start);
    line->addWidget(new QLabel(qi18nc("between the start and the end of working hours", "to")));
    line->addWidget(end);
    connect(start, &QTimeEdit::timeChanged, this,
            [this](const QTime& t) { edited(workingHoursStartMinutesKey, minutesOfTime(t)); });
    connect(end, &QTimeEdit::timeChanged, this,
            [this](const QTime& t) { edited(workingHoursEndMinutesKey, minutesOfTime(t)); });
    m_loaders.push_back([this, start, end] {
        const QSignalBlocker blockStart(start);
        const QSignalBlocker blockEnd(end);
        start->setTime(timeOfMinutes(m_draft.integer(workingHoursStartMinutesKey)));
        end->setTime(timeOfMinutes(m_draft.integer(workingHoursEndMinutesKey)));
    });
    return rowWidget(line, {});
}

QWidget* SettingsWindow::weekdaysRow(const SettingsPages::Row& row) {
    auto* line = new QHBoxLayout;
    line->addWidget(new QLabel(shownText(row.label)));
    line->addStretch(1);
    std::vector<QCheckBox*> boxes;
    // The locale's first day first; weekday w (1 = Sunday … 7 = Saturday) is bit w − 1.
    const QLocale locale;
    for (int i = 0; i < 7; ++i) {
        const int qtDay = (int(locale.firstDayOfWeek()) - 1 + i) % 7 + 1; // 1 = Monday … 7 = Sunday
        const int weekday = qtDay % 7 + 1;
        auto* box = new QCheckBox(locale.dayName(qtDay, QLocale::ShortFormat));
        box->setObjectName(QStringLiteral("weekday%1").arg(weekday));
        box->setProperty("weekday", weekday);
        line->addWidget(box);
        boxes.push_back(box);
    }
    for (auto* box : boxes)
        connect(box, &QCheckBox::toggled, this, [this, boxes] {
            std::int64_t mask = 0;
            for (const auto* b : boxes)
                if (b->isChecked())
                    mask |= std::int64_t(1) << (b->property("weekday").toInt() - 1);
            edited(workingWeekdaysMaskKey, mask);
        });
    m_loaders.push_back([this, boxes] {
        const auto mask = m_draft.integer(workingWeekdaysMaskKey);
        for (auto* box : boxes) {
            const QSignalBlocker block(box);
            box->setChecked(mask & (std::int64_t(1) << (box->property("weekday").toInt() - 1)));
        }
    });
    return rowWidget(line, {});
}

QWidget* SettingsWindow::busyAppsRow() {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 4, 0, 4);
    m_busyAppsList = new QVBoxLayout;
    layout->addLayout(m_busyAppsList);
    auto* add = new QPushButton(qi18n("Add App…"));
    add->setObjectName(QStringLiteral("addBusyApp"));
    connect(add, &QPushButton::clicked, this, [this] {
        auto ids = m_draft.textList(excludedAppBundleIdentifiersKey);
        for (const auto& id : m_ports.chooseApplications(this, ids))
            if (std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
        edited(excludedAppBundleIdentifiersKey, ids);
        rebuildBusyApps();
    });
    auto* addLine = new QHBoxLayout;
    addLine->addWidget(add);
    addLine->addStretch(1);
    layout->addLayout(addLine);
    m_loaders.push_back([this] { rebuildBusyApps(); });
    return widget;
}

void SettingsWindow::rebuildBusyApps() {
    while (auto* item = m_busyAppsList->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const auto ids = m_draft.textList(excludedAppBundleIdentifiersKey);
    if (ids.empty()) {
        auto* placeholder = new QLabel(shownText(SettingsPages::noExcludedApps));
        placeholder->setProperty("role", "footer");
        m_busyAppsList->addWidget(placeholder);
    }
    for (const auto& id : ids) {
        const auto application = m_ports.findApplication(id);
        auto* line = new QWidget;
        auto* layout = new QHBoxLayout(line);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* icon = new QLabel;
        icon->setPixmap(
            ApplicationCatalog::icon(application ? application->iconName : QString()).pixmap(20, 20));
        auto* name = new QLabel(application ? application->name : qs(id));
        name->setToolTip(qs(id));
        auto* remove = new QPushButton(qi18n("Remove"));
        remove->setObjectName(QStringLiteral("removeBusyApp-%1").arg(qs(id)));
        // TRANSLATORS: the spoken name of a list row's remove button; %1 is an app or a calendar file.
        remove->setAccessibleName(qi18n("Remove %1", name->text()));
        layout->addWidget(icon);
        layout->addWidget(name);
        layout->addStretch(1);
        layout->addWidget(remove);
        m_busyAppsList->addWidget(line);
        connect(remove, &QPushButton::clicked, this, [this, id] {
            auto list = m_draft.textList(excludedAppBundleIdentifiersKey);
            list.erase(std::remove(list.begin(), list.end(), id), list.end());
            edited(excludedAppBundleIdentifiersKey, list);
            QTimer::singleShot(0, this, &SettingsWindow::rebuildBusyApps);
        });
    }
    tabBefore(m_busyAppsList, findChild<QPushButton*>(QStringLiteral("addBusyApp")));
}

QWidget* SettingsWindow::calendarSourcesRow() {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 4, 0, 4);
    auto* title = new QLabel(qi18n("Calendars"));
    layout->addWidget(title);
    m_calendarList = new QVBoxLayout;
    layout->addLayout(m_calendarList);
    auto* addFiles = new QPushButton(qi18n("Add Calendar File…"));
    addFiles->setObjectName(QStringLiteral("addCalendarFile"));
    auto* addFolder = new QPushButton(qi18n("Add Calendar Folder…"));
    addFolder->setObjectName(QStringLiteral("addCalendarFolder"));
    connect(addFiles, &QPushButton::clicked, this, [this] { addCalendarSources(false); });
    connect(addFolder, &QPushButton::clicked, this, [this] { addCalendarSources(true); });
    auto* addLine = new QHBoxLayout;
    addLine->addWidget(addFiles);
    addLine->addWidget(addFolder);
    addLine->addStretch(1);
    layout->addLayout(addLine);
    m_loaders.push_back([this] { rebuildCalendarSources(); });
    return widget;
}

void SettingsWindow::rebuildCalendarSources() {
    while (auto* item = m_calendarList->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const auto sources = m_draft.textList(calendarSourcesKey);
    if (sources.empty()) {
        auto* placeholder = new QLabel(shownText(SettingsPages::noCalendars));
        placeholder->setProperty("role", "footer");
        m_calendarList->addWidget(placeholder);
    }
    for (const auto& source : sources) {
        auto* line = new QWidget;
        auto* layout = new QHBoxLayout(line);
        layout->setContentsMargins(0, 0, 0, 0);
        QString text = qs(source);
        if (!m_ports.isReadableCalendarSource(source))
            text = qi18nc("a calendar source", "%1 (cannot be read)", text);
        auto* path = new QLabel(text);
        path->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* remove = new QPushButton(qi18n("Remove"));
        remove->setAccessibleName(qi18n("Remove %1", qs(source)));
        layout->addWidget(path, 1);
        layout->addWidget(remove);
        m_calendarList->addWidget(line);
        connect(remove, &QPushButton::clicked, this, [this, source] {
            auto list = m_draft.textList(calendarSourcesKey);
            list.erase(std::remove(list.begin(), list.end(), source), list.end());
            edited(calendarSourcesKey, list);
            QTimer::singleShot(0, this, &SettingsWindow::rebuildCalendarSources);
        });
    }
    tabBefore(m_calendarList, findChild<QPushButton*>(QStringLiteral("addCalendarFile")));
}

void SettingsWindow::addCalendarSources(bool folders) {
    auto sources = m_draft.textList(calendarSourcesKey);
    for (const auto& source : m_ports.chooseCalendarSources(this, folders))
        if (std::find(sources.begin(), sources.end(), source) == sources.end())
            sources.push_back(source);
    edited(calendarSourcesKey, sources);
    rebuildCalendarSources();
}

bool SettingsWindow::calendarGranted() const {
    const auto sources = m_draft.textList(calendarSourcesKey);
    return std::any_of(sources.begin(), sources.end(), m_ports.isReadableCalendarSource);
}

void SettingsWindow::calendarSwitchTurnedOn() {
    if (m_ports.ask(this, qi18n("Calendar Access"), qs(explanation(BlockerPermission::calendar)),
                    qi18n("Choose Calendars…")))
        addCalendarSources(false);
}

QWidget* SettingsWindow::drawingsRow() {
    auto* widget = new QWidget;
    auto* grid = new QGridLayout(widget);
    grid->setContentsMargins(0, 4, 0, 4);
    for (int number = 0; number < drawingCount; ++number) {
        auto* box = new QCheckBox(shownText(SorvalaGenerator::drawingNames[std::size_t(number)]));
        box->setObjectName(QStringLiteral("drawing%1").arg(number));
        grid->addWidget(box, number / 3, number % 3);
        connect(box, &QCheckBox::toggled, this, [this, number](bool on) {
            m_draft.setDrawingEnabled(number, on);
            refreshState();
        });
        m_loaders.push_back([this, box, number] {
            const QSignalBlocker block(box);
            box->setChecked(m_draft.enabledDrawings().count(number) > 0);
        });
    }
    return widget;
}

QWidget* SettingsWindow::shortcutsRow() {
    auto* widget = new QWidget;
    auto* grid = new QGridLayout(widget);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setColumnStretch(1, 1);
    int line = 0;
    for (const auto action : allShortcutActions) {
        auto* recorder = new ShortcutRecorderButton;
        recorder->setObjectName(QStringLiteral("shortcut-%1").arg(qs(text(action))));
        recorder->setMinimumWidth(200);
        auto* label = new QLabel(shownText(title(action)));
        label->setBuddy(recorder);
        grid->addWidget(label, line, 0);
        grid->addWidget(recorder, line, 2);
        ++line;
        recorder->setRecordingChanged([this](bool recording) {
            if (m_ports.suspendHotKeys)
                m_ports.suspendHotKeys(recording);
        });
        connect(recorder, &ShortcutRecorderButton::shortcutChanged, this, [this, recorder, action] {
            m_draft.setShortcut(action, recorder->shortcut());
            refreshState();
        });
        m_loaders.push_back([this, recorder, action] { recorder->setShortcut(m_draft.shortcut(action)); });
        m_recorders.push_back(recorder);
    }
    if (!m_ports.shortcutsNote.empty())
        grid->addWidget(smallLabel(qs(m_ports.shortcutsNote), "note"), line, 0, 1, 3);
    return widget;
}

void SettingsWindow::edited(std::string_view key, const PreferenceValue& value) {
    m_draft.set(key, value);
    refreshState();
}

void SettingsWindow::refreshState() {
    for (const auto& [key, row] : m_dependentRows)
        row->setEnabled(m_draft.isLive(key));

    if (m_calendarNote) {
        const auto note = rowNote(BlockerPermission::calendar, m_draft.boolean(pauseDuringCalendarEventsKey),
                                  calendarGranted());
        m_calendarNote->setText(note ? qs(*note) : QString());
        m_calendarNote->setVisible(note.has_value());
    }

    if (m_plannedPlaceholder) {
        const auto never = m_draft.neverFiringTimes();
        m_plannedPlaceholder->setVisible(m_plannedEdits.empty());
        for (auto* edit : m_plannedEdits) {
            const auto formatted = edit->time().toString(QStringLiteral("HH:mm")).toStdString();
            const bool marked = std::find(never.begin(), never.end(), formatted) != never.end();
            edit->setProperty("neverFires", marked);
            edit->setToolTip(marked ? shownText(SettingsPages::neverFiresMark) : QString());
            edit->style()->unpolish(edit);
            edit->style()->polish(edit);
        }
        QStringList list;
        for (const auto& time : never)
            list << qs(time);
        m_plannedMark->setText(list.isEmpty() ? QString()
                                              : shownText(SettingsPages::neverFiresMark) + QStringLiteral(": ") +
                                                    list.join(QStringLiteral(", ")));
        m_plannedMark->setVisible(!list.isEmpty());
    }
    if (m_preview)
        m_preview->setAppearance(m_draft.appearance());
}

void SettingsWindow::applyDraftToControls() {
    for (auto* recorder : m_recorders)
        recorder->cancelRecording();
    for (const auto& load : m_loaders)
        load();
    refreshState();
}

void SettingsWindow::schedulePreview(std::string key) {
    m_previewKey = std::move(key);
    m_previewDelay.start();
}

void SettingsWindow::playPreview() {
    if (!m_ports.playSound)
        return;
    const auto pair = m_draft.text(soundPairKey);
    SoundDesign::Event event = SoundDesign::Event::breakStart;
    if (m_previewKey == remindersSoundVolumeKey)
        event = SoundDesign::Event::reminder;
    else if (m_previewKey == nudgesSoundVolumeKey)
        event = SoundDesign::Event::overtimeNudge;
    const double volume = m_draft.number(SoundDesign::volumeKey(event));
    if (volume <= 0)
        return;
    const auto name = SoundDesign::soundName(event, pair);
    if (!m_ports.playSound(name, static_cast<float>(std::min(volume, 1.0))))
        m_ports.log.log("sound preview failed name=" + std::string(name));
}

void SettingsWindow::showAndRaise() {
    if (!m_open) {
        loadControlValues();
        m_open = true;
        if (m_ports.opened)
            m_ports.opened();
    }
    show();
    raise();
    activateWindow();
}

void SettingsWindow::loadControlValues() {
    m_opened = SettingsDraft::load(m_ports.store, drawingCount);
    m_draft = m_opened;
    applyDraftToControls();
}

void SettingsWindow::saveAndClose() {
    // What is checked is what gets written: the edits over whatever changed elsewhere meanwhile
    // (working hours switched on by sorvalactl, say).
    const auto merged = m_draft.mergedOver(m_opened, SettingsDraft::load(m_ports.store, drawingCount));
    if (const auto rejection = merged.plannedBreakRejection()) {
        selectPage(0);
        m_ports.tell(this, shownText(SettingsPages::plannedRejectionTitle), qs(*rejection));
        return;
    }
    for (auto* recorder : m_recorders)
        recorder->cancelRecording();
    merged.save(m_ports.store);
    if (m_ports.onSettingsSaved)
        m_ports.onSettingsSaved();
    close();
}

void SettingsWindow::resetToDefaults() {
    m_draft = SettingsDraft::factory(drawingCount);
    applyDraftToControls();
}

void SettingsWindow::selectPage(int index) {
    m_sidebar->setCurrentRow(index);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    for (auto* recorder : m_recorders)
        recorder->cancelRecording();
    m_previewDelay.stop();
    if (m_open) {
        m_open = false;
        if (m_ports.closed)
            m_ports.closed();
    }
    event->accept();
}

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
    // Escape cancels, as in a dialog; a control that uses Escape itself never lets it reach here.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    // Return presses the focused button, anywhere else "Save", as in a dialog. Fields, lists and
    // boxes pass Return on; an open drop-down or a recording shortcut keeps it.
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        else
            saveAndClose();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SettingsWindow::setUpAccessibility() {
    m_sidebar->setAccessibleName(qi18n("Settings pages"));
    // A page scrolls to the control Tab reaches; the scroll area itself would be a stop that shows
    // no focus at all.
    for (auto* scroll : m_pages->findChildren<QScrollArea*>())
        scroll->setFocusPolicy(Qt::NoFocus);
    if (auto* start = findChild<QTimeEdit*>(qs(workingHoursStartMinutesKey)))
        start->setAccessibleName(qi18n("Start of working hours"));
    if (auto* end = findChild<QTimeEdit*>(qs(workingHoursEndMinutesKey)))
        end->setAccessibleName(qi18n("End of working hours"));
    if (m_preview) {
        m_preview->setAccessibleName(qi18n("Drawing preview"));
        // TRANSLATORS: read by screen readers for the small live drawing on the drawing page.
        m_preview->setAccessibleDescription(qi18n("A drawing made stroke by stroke at the chosen speed."));
        AccessibleRole::set(*m_preview, QAccessible::Animation);
    }
    // The three sound sections each have a "Volume"; spoken alone they cannot be told apart.
    const std::pair<std::string_view, QString> volumes[] = {
        {breaksSoundVolumeKey, qi18n("Break volume")},
        {remindersSoundVolumeKey, qi18n("Reminder volume")},
        {nudgesSoundVolumeKey, qi18n("Nudge volume")},
    };
    for (const auto& [key, name] : volumes)
        if (auto* slider = findChild<QSlider*>(qs(key)))
            slider->setAccessibleName(name);
    // A recorder's text is its binding; the label beside it says which command it binds. (A
    // drop-down needs nothing: its label reaches the screen reader as "labelled by".)
    for (auto* label : findChildren<QLabel*>())
        if (auto* recorder = qobject_cast<ShortcutRecorderButton*>(label->buddy()))
            recorder->setAccessibleName(label->text());
}

void SettingsWindow::tabBefore(QLayout* list, QWidget* next) {
    if (!list || !next)
        return;
    QWidget* previous = next->previousInFocusChain();
    for (int i = 0; i < list->count(); ++i) {
        QWidget* line = list->itemAt(i)->widget();
        if (!line)
            continue;
        for (auto* control : line->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (control->focusPolicy() & Qt::TabFocus) {
                QWidget::setTabOrder(previous, control);
                previous = control;
            }
    }
    QWidget::setTabOrder(previous, next);
}

void SettingsWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyTokens();
}

void SettingsWindow::applyTokens() {
    if (m_applyingTokens)
        return;
    m_applyingTokens = true;
    const auto colour = [this](const DesignTokens::Themed& token) {
        return rgba(QtDesignTokens::colour(token, *this));
    };
    QColor secondary = palette().color(QPalette::WindowText);
    secondary.setAlphaF(0.62f);
    const QString sheet =
        QStringLiteral(
            "QListWidget#sidebar { background: %1; padding-top: 10px; outline: 0; }"
            "QListWidget#sidebar::item { padding: 4px 8px; border-radius: 6px; margin: 1px 8px; }"
            "QListWidget#sidebar::item:selected { background: %2; color: palette(window-text); }"
            "QFrame#card { background: %3; border: 1px solid %4; border-radius: 8px; }"
            "QWidget#actionBar { background: %5; border-top: 1px solid %4; }"
            "QLabel[role=\"footer\"], QLabel[role=\"note\"] { color: %6; }"
            "QLabel[role=\"caption\"] { color: %7; }"
            "QLabel[role=\"warning\"] { color: %8; }"
            "QTimeEdit[neverFires=\"true\"] { color: %8; }"
            "sorvala--ShortcutRecorderButton { background: %9; border: 1px solid %4; border-radius: 6px;"
            " padding: 4px 12px; }"
            "sorvala--ShortcutRecorderButton:focus { border-color: palette(highlight); }")
            .arg(colour(DesignTokens::sidebarSurface), colour(DesignTokens::selectedRowSurface),
                 colour(DesignTokens::cardSurface), colour(DesignTokens::cardBorder),
                 colour(DesignTokens::actionBarSurface), rgba(secondary),
                 rgba(QtDesignTokens::colour(DesignTokens::sectionHeaderText)),
                 rgba(QtDesignTokens::colour(DesignTokens::chartSkipped)), colour(DesignTokens::chipSurface));
    // The sidebar draws no dotted outline: its current page shows a ring while it has the focus.
    const QString focusRings = QStringLiteral(
        "QListWidget#sidebar::item:selected:focus { border: 2px solid palette(highlight); }");
    if (styleSheet() != sheet + focusRings)
        setStyleSheet(sheet + focusRings);
    m_applyingTokens = false;
}

} // namespace sorvala
