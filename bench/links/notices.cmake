# SPDX-License-Identifier: MIT
# The notices benchmark measures the overtime badge's pointer sampling; without Qt there is none.
if(TARGET sorvala_ui_notices)
    target_link_libraries(${target} PRIVATE sorvala_ui_notices sorvala_platform sorvala_simulation)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
