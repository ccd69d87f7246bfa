# The core library: everything but the user interface, with no Qt dependency.
# Also included by the fuzzing build, which compiles the same sources with clang.
set(LEMMIX_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(LEMMIX_CORE_DIRS shell types intrinsics expr notation book prover proofrun)

set(LEMMIX_CORE_SOURCES)
foreach(dir IN LISTS LEMMIX_CORE_DIRS)
  file(GLOB sources CONFIGURE_DEPENDS ${LEMMIX_ROOT}/${dir}/*.cpp)
  list(APPEND LEMMIX_CORE_SOURCES ${sources})
endforeach()

add_library(lemmix_core STATIC ${LEMMIX_CORE_SOURCES})
target_include_directories(lemmix_core PUBLIC ${LEMMIX_ROOT})
