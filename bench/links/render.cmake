# SPDX-License-Identifier: MIT
# The renderer's painting needs Qt Gui; without Qt there is nothing to measure.
if(TARGET sorvala_render)
    target_link_libraries(${target} PRIVATE sorvala_render)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
