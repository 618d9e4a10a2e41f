# SPDX-License-Identifier: MIT
# The platform benchmark measures the Linux probes; without Qt there are none.
if(TARGET sorvala_platform)
    target_link_libraries(${target} PRIVATE sorvala_platform)
    target_compile_definitions(${target} PRIVATE SORVALA_BENCH_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
