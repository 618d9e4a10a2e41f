// SPDX-License-Identifier: MIT
#include "platform/calendar/SystemCalendar.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <cmath>

namespace sorvala {

struct SystemCalendar::Zone {
    explicit Zone(const QTimeZone& asked) : valid(asked.isValid()), zone(valid ? asked : QTimeZone::utc()) {}

    bool valid;
    QTimeZone zone;
};

SystemCalendar::SystemCalendar() : m_zone(std::make_unique<Zone>(QTimeZone::systemTimeZone())) {}

SystemCalendar::SystemCalendar(std::string_view zoneId)
    : m_zone(std::make_unique<Zone>(QTimeZone(QByteArray(zoneId.data(), static_cast<qsizetype>(zoneId.size()))))) {}

SystemCalendar::~SystemCalendar() = default;

int SystemCalendar::utcOffsetSeconds(Instant instant) const {
    const double milliseconds = std::floor(instant.secondsSinceEpoch() * 1000.0);
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(milliseconds), Qt::UTC);
    return m_zone->zone.offsetFromUtc(at);
}

int SystemCalendar::firstWeekday() const {
    // Qt counts Monday = 1 ... Sunday = 7; the calendar counts Sunday = 1 ... Saturday = 7.
    const int qtDay = static_cast<int>(QLocale::system().firstDayOfWeek());
    return qtDay == Qt::Sunday ? 1 : qtDay + 1;
}

std::vector<std::string> SystemCalendar::veryShortWeekdaySymbols() const {
    const QLocale locale = QLocale::system();
    std::vector<std::string> symbols;
    for (const int qtDay : {7, 1, 2, 3, 4, 5, 6}) // Qt numbers Monday 1 to Sunday 7
        symbols.push_back(locale.standaloneDayName(qtDay, QLocale::NarrowFormat).toStdString());
    return symbols;
}

std::string SystemCalendar::timeZoneId() const {
    return m_zone->zone.id().toStdString();
}

bool SystemCalendar::isValid() const {
    return m_zone->valid;
}

} // namespace sorvala
