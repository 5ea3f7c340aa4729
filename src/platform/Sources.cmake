# The OS layer is chosen at build time: win32/ on Windows, the POSIX files
# (termios, sysfs, pseudo-terminals, signals) everywhere else.
set(RELCON4_POSIX_ONLY_SOURCES
  instance_signal.cpp port_map.cpp pty.cpp stop_signals.cpp tty_custom_baud.cpp tty_device.cpp)

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

# What the Windows layer links: the multimedia timer (timeBeginPeriod).
function(relcon4_platform_link target)
  if(WIN32)
    target_link_libraries(${target} PRIVATE winmm)
  endif()
endfunction()
