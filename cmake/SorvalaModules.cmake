# SPDX-License-Identifier: MIT
# Modules: the code that links a large system library an idle program never needs (sound, the
# network, calendars) is built as a library the program loads at its first use
# (platform/module/LoadableModule). Installed under lib/sorvala/; in the build tree they sit at the
# same place relative to build/bin, so the programs find them there too.
include(GNUInstallDirs)
set(SORVALA_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/sorvala)
set(SORVALA_MODULE_BUILD_DIR ${PROJECT_BINARY_DIR}/${SORVALA_MODULE_INSTALL_DIR})

#   sorvala_add_module(NAME sound SOURCES PulseSoundServer.cpp LIBS PkgConfig::SORVALA_PULSE)
# builds sorvala-sound.so. A module links shared libraries only: the program's own code is static and
# not position-independent, so a module holds what it needs itself and is reached through the
# abstract class it offers.
function(sorvala_add_module)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
    set(target sorvala-${ARG_NAME})
    add_library(${target} MODULE ${ARG_SOURCES})
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${SORVALA_MODULE_BUILD_DIR}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} sorvala_warnings)
    # A symbol the module expects from the program would only fail when it is loaded: fail the link
    # instead (not under the sanitizers, whose runtime the program alone carries).
    if(NOT SORVALA_SANITIZE AND NOT SORVALA_FUZZ)
        target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
    install(TARGETS ${target} LIBRARY DESTINATION ${SORVALA_MODULE_INSTALL_DIR})
endfunction()
