# cmake -DBUILD=<build folder> -DPREFIX=<empty prefix> -P install_check.cmake
# Installs into the prefix and checks the installed layout: the executables on the path, the data
# in share/orbivane/, the desktop entry starting the program of this prefix, the icons, metainfo
# and manual pages; the installed program then knows itself as installed and names the user's
# folders, which a second install leaves alone, and the installed counter records into them.
function(install_into prefix)
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
  endif()
endfunction()

file(REMOVE_RECURSE ${PREFIX})
install_into(${PREFIX})
set(entry_file share/applications/io.github.orbivane.Orbivane.desktop)
foreach(path bin/orbivane bin/orbivane-snapshot bin/orbivane-sizes
             share/orbivane/orbivane.ini share/orbivane/views.ini share/orbivane/favorites.ini
             share/orbivane/recent.ini share/orbivane/orbivane.html share/orbivane/manual/ring.png
             share/orbivane/textures/bg.png share/orbivane/textures/fonts/default.png
             share/orbivane/textures/fonts/default.txt ${entry_file}
             share/icons/hicolor/16x16/apps/io.github.orbivane.Orbivane.png
             share/icons/hicolor/48x48/apps/io.github.orbivane.Orbivane.png
             share/icons/hicolor/256x256/apps/io.github.orbivane.Orbivane.png
             share/icons/hicolor/scalable/apps/io.github.orbivane.Orbivane.svg
             share/metainfo/io.github.orbivane.Orbivane.metainfo.xml
             share/man/man1/orbivane.1.gz share/man/man1/orbivane-snapshot.1.gz share/man/man1/orbivane-sizes.1.gz
             share/doc/orbivane/copyright share/doc/orbivane/changelog.gz)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
if(EXISTS ${PREFIX}/lib/orbivane OR EXISTS ${PREFIX}/share/orbivane/console.txt)
  message(FATAL_ERROR "the installed layout keeps nothing of the user's beside the program")
endif()
file(READ ${PREFIX}/${entry_file} entry)
string(FIND "${entry}" "\nExec=${PREFIX}/bin/orbivane %U\n" exec)
if(exec EQUAL -1)
  message(FATAL_ERROR "the desktop entry does not start ${PREFIX}/bin/orbivane:\n${entry}")
endif()

# The installed program reads its data from the prefix and keeps the user's files in the XDG
# folders of the user's home.
set(home ${PREFIX}/home)
file(MAKE_DIRECTORY ${home})
file(WRITE ${PREFIX}/share/orbivane/orbivane.ini "[STARTUP]\nInitialRingMode=-1\n")
install_into(${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ORBIVANE_HOME --unset=XDG_CONFIG_HOME
                        --unset=XDG_STATE_HOME HOME=${home} ${PREFIX}/bin/orbivane --help
                OUTPUT_VARIABLE help RESULT_VARIABLE result)
foreach(line "Files (installed layout):" "data, read only:    ${PREFIX}/share/orbivane/"
             "settings and lists: ${home}/.config/orbivane/" "log and state:      ${home}/.local/state/orbivane/")
  string(FIND "${help}" "${line}" found)
  if(NOT result EQUAL 0 OR found EQUAL -1)
    message(FATAL_ERROR "orbivane --help (${result}) does not say \"${line}\":\n${help}")
  endif()
endforeach()
file(READ ${PREFIX}/share/orbivane/orbivane.ini shipped)
if(shipped MATCHES "InitialRingMode=-1\n$")
  message(FATAL_ERROR "a second install kept a changed file of the program's data")
endif()
file(GLOB left ${home}/*)
if(left)
  message(FATAL_ERROR "--help wrote into the home folder: ${left}")
endif()

# The installed counter records quietly into the user's state folder.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ORBIVANE_HOME --unset=XDG_STATE_HOME HOME=${home}
                        ${PREFIX}/bin/orbivane-sizes --record ${PREFIX}/share/orbivane/textures
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
file(GLOB histories ${home}/.local/state/orbivane/sizes/*.orbivane-sizes)
if(NOT result EQUAL 0 OR NOT "${out}${err}" STREQUAL "" OR NOT histories)
  message(FATAL_ERROR "orbivane-sizes --record (${result}) did not record quietly into the state folder: ${out}${err}")
endif()
file(REMOVE_RECURSE ${PREFIX})
