# SPDX-License-Identifier: MIT
# One GoogleTest executable per tested folder. Every *Test.cpp in the folder belongs to it.
#
#   sorvala_add_test_folder(NAME sorvala_core_tests LABELS unit LIBS sorvala_core)
#
# A folder whose tests need their own main (one that makes a QCoreApplication, say) passes
# NO_GTEST_MAIN and names the file with that main in SOURCES.
function(sorvala_add_test_folder)
    cmake_parse_arguments(ARG "NO_GTEST_MAIN" "NAME" "LABELS;LIBS;SOURCES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    add_executable(${ARG_NAME} ${sources} ${ARG_SOURCES})
    if(ARG_NO_GTEST_MAIN)
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
