# SPDX-License-Identifier: MIT
# One GoogleTest executable per tested folder. Every *Test.cpp in the folder belongs to it.
#
#   sorvala_add_test_folder(NAME sorvala_core_tests LABELS unit LIBS sorvala_core)
#
# A folder whose tests need their own main (one that makes a QCoreApplication or a
# QGuiApplication first) names that file with MAIN (tests/support/GuiTestMain.cpp for Qt Gui,
# tests/platform/main.cpp for Qt Core). SOURCES adds further files to the executable.
function(sorvala_add_test_folder)
    cmake_parse_arguments(ARG "NO_GTEST_MAIN" "NAME;MAIN" "LABELS;LIBS;SOURCES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    add_executable(${ARG_NAME} ${sources} ${ARG_SOURCES} ${ARG_MAIN})
    if(ARG_NO_GTEST_MAIN OR ARG_MAIN)
        set(main_library "")
    else()
        set(main_library GTest::gtest_main)
    endif()
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} sorvala_test_support
                          GTest::gtest GTest::gmock ${main_library} sorvala_warnings)
    target_compile_definitions(${ARG_NAME} PRIVATE
        SORVALA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${ARG_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
