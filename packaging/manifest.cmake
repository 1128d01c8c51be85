# Lists the game folder's data files, one relative path a line, for the
# launcher to check and link. Rewritten only when the list changes, so that
# an unchanged build installs nothing new.
# usage: cmake -DGAME_DIR=... -DOUTPUT=... -P manifest.cmake
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${GAME_DIR}
     ${GAME_DIR}/gfx/* ${GAME_DIR}/sfx/* ${GAME_DIR}/quest/*)
list(SORT found)
list(JOIN found "\n" text)
if(found)
  string(APPEND text "\n")
endif()
set(old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
  file(WRITE ${OUTPUT} "${text}")
endif()
