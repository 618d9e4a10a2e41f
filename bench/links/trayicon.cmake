# SPDX-License-Identifier: MIT
# The tray icon needs Qt Gui; without Qt there is nothing to measure.
if(TARGET sorvala_ui_menubar)
    target_link_libraries(${target} PRIVATE sorvala_ui_menubar)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
