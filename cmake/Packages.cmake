# Finds what the build needs. Whatever is missing is named by the Debian
# package that brings it, in one message, instead of a CMake trace per package.
set(RELCON4_MISSING_PACKAGES "")

macro(relcon4_needs found)
  if(NOT ${found})
    list(APPEND RELCON4_MISSING_PACKAGES ${ARGN})
  endif()
endmacro()

# One component at a time: a missing one must not hide the state of the next.
foreach(component Core Gui Widgets PrintSupport Network Sql SerialPort Test)
  find_package(Qt6 QUIET COMPONENTS ${component})
endforeach()
relcon4_needs(Qt6Core_FOUND qt6-base-dev qt6-base-dev-tools)
relcon4_needs(Qt6Gui_FOUND qt6-base-dev libgl-dev)
relcon4_needs(Qt6Widgets_FOUND qt6-base-dev)
relcon4_needs(Qt6PrintSupport_FOUND qt6-base-dev)
relcon4_needs(Qt6Network_FOUND qt6-base-dev)
relcon4_needs(Qt6Sql_FOUND qt6-base-dev)
relcon4_needs(Qt6Test_FOUND qt6-base-dev)
relcon4_needs(Qt6SerialPort_FOUND qt6-serialport-dev)
if(BUILD_TESTING)
  find_package(GTest QUIET)
  relcon4_needs(GTest_FOUND libgtest-dev)
endif()
list(REMOVE_DUPLICATES RELCON4_MISSING_PACKAGES)
