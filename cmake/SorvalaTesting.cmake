# SPDX-License-Identifier: MIT
# One GoogleTest executable per tested folder. Every *Test.cpp in the folder belongs to it.
#
#   sorvala_add_test_folder(NAME sorvala_core_tests LABELS unit LIBS sorvala_core)
#
# MAIN names a source file with the executable's own main() in place of GoogleTest's, for tests
# that need an application object first (tests/support/GuiTestMain.cpp for Qt Gui).
function(sorvala_add_test_folder)
    cmake_parse_arguments(ARG "" "NAME;MAIN" "LABELS;LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    if(ARG_MAIN)
        add_executable(${ARG_NAME} ${sources} ${ARG_MAIN})
        set(main_library "")
    else()
        add_executable(${ARG_NAME} ${sources})
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
