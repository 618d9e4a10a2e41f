// SPDX-License-Identifier: MIT
// The calendar module: the iCalendar reader and libical with it.
#include "platform/calendar/CalendarFiles.h"
#include "platform/calendar/ICalendarSources.h"

#include <QtGlobal>

namespace sorvala {

namespace {

class IcalReader final : public CalendarFiles::Reader {
public:
    std::vector<CalendarPause::Event> occurrences(const std::vector<std::string>& sources, Instant from,
                                                  Instant to) override {
        return m_sources.occurrences(sources, from, to);
    }

private:
    ICalendarSources m_sources;
};

class IcalCalendarFiles final : public CalendarFiles {
public:
    std::unique_ptr<Reader> reader() override { return std::make_unique<IcalReader>(); }
};

} // namespace

} // namespace sorvala

extern "C" Q_DECL_EXPORT void* sorvala_module() {
    static sorvala::IcalCalendarFiles files;
    return static_cast<sorvala::CalendarFiles*>(&files);
}
