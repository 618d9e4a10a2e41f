# SPDX-License-Identifier: MIT
# The sensing benchmark sweeps over the test suite's fake system signals and reads its fixtures.
if(TARGET sorvala_test_support)
    target_link_libraries(${target} PRIVATE sorvala_sensing sorvala_test_support)
    target_compile_definitions(${target} PRIVATE SORVALA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
else()
    # Without the tests there is no fake to sweep over.
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
