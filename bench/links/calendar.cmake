# SPDX-License-Identifier: MIT
# The calendar benchmark measures the iCalendar reader (built in here; in the application it is the
# calendar module's) and the background reading of the platform library; without Qt there is none.
if(TARGET sorvala_platform)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/platform/calendar/ICalendarSources.cpp)
    target_link_libraries(${target} PRIVATE sorvala_platform PkgConfig::SORVALA_ICAL)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
