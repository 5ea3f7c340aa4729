# The OS layer is chosen at build time: win32/ on Windows, the POSIX files
# (termios, sysfs, pseudo-terminals, signals) everywhere else.
set(RELCON4_POSIX_ONLY_SOURCES
  instance_signal.cpp open_error_hint.cpp port_map.cpp pty.cpp serial_adapters.cpp stop_signals.cpp thread_priority.cpp
  tty_custom_baud.cpp tty_device.cpp)

# Drops from the list in `sources_var` what the target system cannot build.
function(relcon4_platform_sources sources_var)
  set(sources ${${sources_var}})
  if(WIN32)
    foreach(file IN LISTS RELCON4_POSIX_ONLY_SOURCES)
      list(FILTER sources EXCLUDE REGEX "/platform/${file}$")
    endforeach()
  else()
    list(FILTER sources EXCLUDE REGEX "/platform/win32/")
  endif()
  set(${sources_var} ${sources} PARENT_SCOPE)
endfunction()

# What the OS layer links: on Windows the multimedia timer (timeBeginPeriod)
# and the device installer's list of ports; elsewhere Qt Serial Port, for the
# adapters' identity (only serial_adapters.cpp includes it).
function(relcon4_platform_link target)
  if(WIN32)
    target_link_libraries(${target} PRIVATE winmm setupapi)
  else()
    target_link_libraries(${target} PRIVATE Qt6::SerialPort)
  endif()
endfunction()
