# cmake -DBUILD=<build folder> -DPREFIX=<empty prefix> -P install_check.cmake
# Installs into the prefix and checks the layout: the program folder, the link on the path, the
# desktop entry pointing at it and the icon; a second install keeps the user's settings.
function(install_into prefix)
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
  endif()
endfunction()

file(REMOVE_RECURSE ${PREFIX})
install_into(${PREFIX})
foreach(path bin/orbivane lib/orbivane/orbivane lib/orbivane/orbivane.ini lib/orbivane/views.ini
             lib/orbivane/favorites.ini lib/orbivane/recent.ini lib/orbivane/textures/bg.png
             lib/orbivane/textures/fonts/default.png lib/orbivane/textures/fonts/default.txt
             share/applications/orbivane.desktop share/icons/hicolor/256x256/apps/orbivane.png)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
file(REAL_PATH ${PREFIX}/bin/orbivane linked)
if(NOT linked STREQUAL "${PREFIX}/lib/orbivane/orbivane")
  message(FATAL_ERROR "bin/orbivane leads to ${linked}")
endif()
file(READ ${PREFIX}/share/applications/orbivane.desktop entry)
string(FIND "${entry}" "\nExec=${PREFIX}/bin/orbivane\n" exec)
if(exec EQUAL -1)
  message(FATAL_ERROR "the desktop entry does not start ${PREFIX}/bin/orbivane:\n${entry}")
endif()

set(changed "[STARTUP]\nInitialRingMode=-1\n")
file(WRITE ${PREFIX}/lib/orbivane/orbivane.ini "${changed}")
install_into(${PREFIX})
file(READ ${PREFIX}/lib/orbivane/orbivane.ini kept)
if(NOT kept STREQUAL changed)
  message(FATAL_ERROR "a second install overwrote the user's settings")
endif()
file(REMOVE_RECURSE ${PREFIX})
