// SPDX-License-Identifier: MIT
#include "platform/calendar/CalendarFiles.h"

#include "platform/calendar/ICalendarSources.h"
#include "platform/module/LoadableModule.h"

#include <fstream>
#include <system_error>

namespace sorvala {

CalendarFiles* CalendarFiles::load(Logger* log) {
    return LoadableModule::load<CalendarFiles>("calendar", log);
}

// Here rather than beside the parsing: asking whether a source can be read needs no libical.
bool ICalendarSources::isReadable(const std::string& source) {
    std::error_code error;
    const auto status = std::filesystem::status(source, error);
    if (error)
        return false;
    if (std::filesystem::is_directory(status)) {
        std::filesystem::directory_iterator it(source, error);
        return !error;
    }
    std::ifstream in(source);
    return in.good();
}

} // namespace sorvala
