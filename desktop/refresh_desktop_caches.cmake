# Run by `cmake --install` after the desktop files are in place: rebuilds the MIME database, the
# desktop entry cache and the icon cache of the install prefix, with whichever of the tools the
# system has. Skipped for a staged install (DESTDIR or a package build), where the tools would
# index a folder that is not the one the files end up in.
if(NOT "$ENV{DESTDIR}" STREQUAL "" OR CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
  return()
endif()

set(data "${CMAKE_INSTALL_PREFIX}/${ORV_INSTALL_DATADIR}")
foreach(step "update-mime-database;${data}/mime"
             "update-desktop-database;-q;${data}/applications"
             "gtk-update-icon-cache;-q;-t;-f;${data}/icons/hicolor")
  list(POP_FRONT step tool)
  find_program(tool_path ${tool})
  if(tool_path)
    message(STATUS "Refreshing: ${tool} ${step}")
    execute_process(COMMAND ${tool_path} ${step} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(WARNING "${tool} failed (${result}); the desktop may not see orv until its next refresh")
    endif()
  endif()
  unset(tool_path CACHE)
  unset(tool_path)
endforeach()
