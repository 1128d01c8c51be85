# Building blocks of zenobar-morphos, shared by morphos/ and its tests.

# Compiles a target's sources as this build's shared game code: every SDL
# call through its library's base, SDL's headers without SDL's libraries.
function(morphos_game_sources target)
  target_compile_options(${target} PRIVATE -include ${CMAKE_SOURCE_DIR}/morphos/inlines.h)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE PkgConfig::SDL)
endfunction()

# The layer that stands in for the system; `libs_dir` is the system's
# libraries folder, searched after the program's own libs/.
function(morphos_system_layer target libs_dir)
  add_library(${target} OBJECT
    ${CMAKE_SOURCE_DIR}/morphos/exec.cpp
    ${CMAKE_SOURCE_DIR}/morphos/dos.cpp
    ${CMAKE_SOURCE_DIR}/morphos/intuition.cpp
    ${CMAKE_SOURCE_DIR}/morphos/debug.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE SYSTEM_LIBS_DIR="${libs_dir}")
endfunction()

# One PowerSDL library file, `dir`/`name`.library, carrying `version`,
# linked to the host's SDL libraries it wraps. Further arguments are
# linker options.
function(powersdl_library target name version dir)
  add_library(${target} SHARED ${CMAKE_SOURCE_DIR}/morphos/libs/${name}.c)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME ${name} SUFFIX ".library" NO_SONAME ON
    LIBRARY_OUTPUT_DIRECTORY ${dir})
  target_compile_definitions(${target} PRIVATE LIB_VERSION=${version})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE PkgConfig::SDL)
  target_link_options(${target} PRIVATE "LINKER:--as-needed" ${ARGN})
endfunction()
