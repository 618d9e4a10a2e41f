# SPDX-License-Identifier: MIT
target_link_libraries(${target} PRIVATE sorvala_simulation)
target_compile_definitions(${target} PRIVATE SORVALA_BENCH_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
