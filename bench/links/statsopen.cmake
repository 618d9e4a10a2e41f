# SPDX-License-Identifier: MIT
# The windows need Qt Widgets; without Qt there is nothing to measure.
if(TARGET sorvala_ui_stats)
    target_link_libraries(${target} PRIVATE sorvala_ui_stats sorvala_ui_reports sorvala_platform sorvala_app sorvala_simulation)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
