# SPDX-License-Identifier: MIT
# The calendar benchmark measures the iCalendar reader of the platform library; without Qt there is none.
if(TARGET sorvala_platform)
    target_link_libraries(${target} PRIVATE sorvala_platform)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
