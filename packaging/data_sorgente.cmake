# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack as it makes the package: without SOURCE_DATE_EPOCH, the time
# of the last commit of the source is taken for every time inside it.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CMAKE_CURRENT_LIST_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoca OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE esito)
  if(esito EQUAL 0 AND epoca)
    set(ENV{SOURCE_DATE_EPOCH} "${epoca}")
  endif()
endif()
