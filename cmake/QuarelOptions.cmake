# Warnings for every target of the project, in one interface target.
add_library(quarel_warnings INTERFACE)
target_compile_options(quarel_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                                                 -Wconversion-null -Wno-unused-parameter)
if(QUAREL_WERROR)
  target_compile_options(quarel_warnings INTERFACE -Werror)
endif()

# The plug-in targets the host's minimum CPU (SSE4.2); on baseline x86-64 std::floor is a
# library call on the hot path. No FMA: results stay bit-identical to plain float arithmetic.
add_library(quarel_arch INTERFACE)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64")
  target_compile_options(quarel_arch INTERFACE -march=x86-64-v2 -ffp-contract=off)
else()
  target_compile_options(quarel_arch INTERFACE -ffp-contract=off)
endif()

# Sanitizers, as a list such as "address;undefined" or "thread".
set(QUAREL_SANITIZE "" CACHE STRING "Sanitizers to build with")
if(QUAREL_SANITIZE)
  list(JOIN QUAREL_SANITIZE "," _quarel_san)
  add_compile_options(-fsanitize=${_quarel_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_quarel_san})
endif()

# Coverage instrumentation for every library the fuzzers link; the fuzz targets add the driver.
if(QUAREL_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Windows: wide text as on the host, none of <windows.h>'s min/max macros, and M_PI as glibc
# has it. Every target links the C++ and thread runtimes statically, so the module needs nothing
# beyond the system's DLLs and the host's core; objects and strings cross that boundary with one
# C runtime's heap.
if(WIN32)
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _USE_MATH_DEFINES)
  if(MINGW)
    add_link_options(-static)
  endif()
endif()

# The stand-in host, the preview and the test suites compile as unity builds: their files share
# heavy headers (GoogleTest, CLI11, JSON), which then parse once per batch instead of once per
# file. The plug-in's own folders stay one object per file. The Windows build turns it off, so
# the host's files are still compiled alone there.
option(QUAREL_UNITY_BUILD "Unity builds for the stand-in host, the preview and the tests" ON)

# A compiler cache, when the machine has one, makes a second build of the same sources cheap.
find_program(QUAREL_CCACHE ccache)
if(QUAREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${QUAREL_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${QUAREL_CCACHE})
endif()
