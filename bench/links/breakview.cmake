# SPDX-License-Identifier: MIT
# The break screen's windows need Qt Widgets; without Qt there is nothing to measure.
if(TARGET sorvala_ui_breakscreen)
    target_link_libraries(${target} PRIVATE sorvala_ui_breakscreen sorvala_simulation)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
