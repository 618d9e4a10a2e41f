# SPDX-License-Identifier: MIT
# Fails when po/sorvala.pot is not what xgettext makes of today's sources (its date aside).
execute_process(COMMAND ${XGETTEXT} --output=${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "xgettext failed (${status})")
endif()
foreach(file IN ITEMS POT OUT)
    file(READ ${${file}} text)
    string(REGEX REPLACE "\"POT-Creation-Date: [^\"]*\"\n" "" text "${text}")
    set(${file}_text "${text}")
endforeach()
if(NOT POT_text STREQUAL OUT_text)
    message(FATAL_ERROR "po/sorvala.pot is out of date with the sources: run "
                        "`cmake --build build --target update-pot update-po`, translate what is new "
                        "in po/<lang>.po and commit")
endif()
