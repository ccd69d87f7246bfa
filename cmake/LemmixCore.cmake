# The core library: everything but the user interface, with no Qt dependency.
# Also included by the fuzzing build, which compiles the same sources with clang.
set(LEMMIX_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(LEMMIX_CORE_DIRS shell types intrinsics expr notation book prover proofrun session)

set(LEMMIX_CORE_SOURCES)
foreach(dir IN LISTS LEMMIX_CORE_DIRS)
  file(GLOB sources CONFIGURE_DEPENDS ${LEMMIX_ROOT}/${dir}/*.cpp)
  list(APPEND LEMMIX_CORE_SOURCES ${sources})
endforeach()

# The Unicode characters of the mathematical font's codes, from its code map.
set(LEMMIX_SYMBOLON_TABLE ${CMAKE_BINARY_DIR}/generated/symbolon_map.inc)
add_custom_command(
  OUTPUT ${LEMMIX_SYMBOLON_TABLE}
  COMMAND ${CMAKE_COMMAND} -DMAP=${LEMMIX_ROOT}/fonts/symbolon.map -DOUTPUT=${LEMMIX_SYMBOLON_TABLE}
          -P ${LEMMIX_ROOT}/cmake/SymbolonMap.cmake
  DEPENDS ${LEMMIX_ROOT}/fonts/symbolon.map ${LEMMIX_ROOT}/cmake/SymbolonMap.cmake
  COMMENT "Tabulating the codes of the mathematical font")

add_library(lemmix_core STATIC ${LEMMIX_CORE_SOURCES} ${LEMMIX_SYMBOLON_TABLE})
target_include_directories(lemmix_core PUBLIC ${LEMMIX_ROOT} PRIVATE ${CMAKE_BINARY_DIR}/generated)
