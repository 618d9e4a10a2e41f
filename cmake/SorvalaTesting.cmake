# SPDX-License-Identifier: MIT
# One GoogleTest executable per tested folder. Every *Test.cpp in the folder belongs to it.
#
#   sorvala_add_test_folder(NAME sorvala_core_tests LABELS unit LIBS sorvala_core)
function(sorvala_add_test_folder)
    cmake_parse_arguments(ARG "" "NAME" "LABELS;LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    add_executable(${ARG_NAME} ${sources})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} sorvala_test_support
                          GTest::gtest GTest::gmock GTest::gtest_main sorvala_warnings)
    target_compile_definitions(${ARG_NAME} PRIVATE
        SORVALA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${ARG_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
