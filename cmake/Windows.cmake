# The Windows build (cross-compiled with MinGW-w64 against the Qt that
# scripts/windows builds): the program and its Windows tests. The Linux-only
# parts (simulator, Linux test suite, benchmarks, packaging) stay out.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network Sql)

add_compile_options(-Wall -Wextra)
# The host's rcc compresses with zstd when it can; the cross Qt has no zstd to unpack it.
set(CMAKE_AUTORCC_OPTIONS --no-zstd)
add_subdirectory(src)
set_target_properties(relcon4 PROPERTIES WIN32_EXECUTABLE ON)
# The screenshot tool, for the picture of the program under Wine.
add_subdirectory(tools)

set(RELCON4_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build the Windows tests from")
option(RELCON4_WINDOWS_TESTS "Build the Windows tests (GoogleTest from RELCON4_GOOGLETEST_DIR)" ON)
if(RELCON4_WINDOWS_TESTS)
  add_subdirectory(tests/core/platform/win32)
endif()
