# SPDX-License-Identifier: MIT
# Saving a drawing renders it with Qt Gui and writes it through the platform's gallery.
if(TARGET sorvala_platform)
    target_link_libraries(${target} PRIVATE sorvala_platform sorvala_render sorvala_test_support)
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
