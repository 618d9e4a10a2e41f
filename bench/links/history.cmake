# SPDX-License-Identifier: MIT
target_link_libraries(${target} PRIVATE sorvala_history)
