# The Windows build (cross-compiled with MinGW-w64 against the Qt that
# scripts/windows builds): the program and its Windows tests. The Linux-only
# parts (the simulator program, most benchmarks, packaging) stay out; the
# simulated units are built as a library for the tests, on the COM pairs the
# run links.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network Sql PrintSupport Test)

add_compile_options(-Wall -Wextra)
# The host's rcc compresses with zstd when it can; the cross Qt has no zstd to unpack it.
set(CMAKE_AUTORCC_OPTIONS --no-zstd)
add_subdirectory(src)
set_target_properties(relcon4 PROPERTIES WIN32_EXECUTABLE ON)

# The programs' icon (made from the PNGs the Linux menu uses) and the version
# in their properties, as Windows resources.
enable_language(RC)
find_program(RELCON4_ICOTOOL icotool)
if(NOT RELCON4_ICOTOOL)
  message(FATAL_ERROR "icotool not found: sudo apt install icoutils")
endif()
set(RELCON4_ICO ${CMAKE_BINARY_DIR}/relcon4.ico)
set(icon_pngs "")
foreach(size 32 48 64 128)
  list(APPEND icon_pngs ${CMAKE_SOURCE_DIR}/data/icons/relcon4-${size}.png)
endforeach()
add_custom_command(OUTPUT ${RELCON4_ICO}
  COMMAND ${RELCON4_ICOTOOL} -c -o ${RELCON4_ICO} ${icon_pngs}
          -r ${CMAKE_SOURCE_DIR}/data/icons/relcon4-256.png
  DEPENDS ${icon_pngs} ${CMAKE_SOURCE_DIR}/data/icons/relcon4-256.png VERBATIM)
add_custom_target(relcon4-icon DEPENDS ${RELCON4_ICO})
set(version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} 0 0)
if(PROJECT_VERSION_PATCH)
  list(REMOVE_AT version_parts 2)
  list(INSERT version_parts 2 ${PROJECT_VERSION_PATCH})
endif()
list(JOIN version_parts "," RELCON4_RC_VERSION)
# Windows reads the strings as UTF-16; windres takes this file as UTF-8.
function(relcon4_windows_resources target description)
  set(RELCON4_RC_NAME ${target})
  set(RELCON4_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_BINARY_DIR}/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/data/windows/relcon4.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${RELCON4_ICO})
  add_dependencies(${target} relcon4-icon)
endfunction()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
relcon4_windows_resources(relcon4 "Relcon4: сервис блоков реле и приводов")
if(TARGET relcon4-cli)
  relcon4_windows_resources(relcon4-cli "Relcon4: командная строка")
endif()
# The screenshot tool, for the picture of the program under Wine.
add_subdirectory(tools)

set(RELCON4_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build the Windows tests from")
option(RELCON4_WINDOWS_TESTS "Build the Windows tests (GoogleTest from RELCON4_GOOGLETEST_DIR)" ON)
if(RELCON4_WINDOWS_TESTS)
  add_subdirectory(sim)
  add_subdirectory(tests/core/platform/win32)
  # The two timing benches, for figures beside the Linux ones: built only when
  # asked for (BENCH=1 scripts/windows --test builds and runs them on the
  # suite's COM pairs).
  foreach(name bench_send bench_commands)
    add_executable(${name} EXCLUDE_FROM_ALL bench/${name}.cpp bench/win32/bench_process_win.cpp)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench)
    target_link_libraries(${name} PRIVATE relcon4windows relcon4sim psapi)
  endforeach()
endif()
