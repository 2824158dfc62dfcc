# cmake -DDATA=<data folder> -DSOURCE=<source folder> -DOUT=<scratch folder> -P desktop_files_check.cmake
# The desktop entry (as installed in /usr) under desktop-file-validate, without so much as a hint,
# and the AppStream metainfo under appstreamcli validate --no-net; each screenshot the metainfo names is committed in the
# repository. Without a validator the check says so and is skipped (install-deps installs both).
foreach(tool desktop-file-validate appstreamcli)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message("SKIPPED: ${tool} is not installed (scripts/install-deps installs it)")
    return()
  endif()
endforeach()

set(ORBIVANE_EXEC /usr/bin/orbivane)
set(entry ${OUT}/io.github.orbivane.Orbivane.desktop)
configure_file(${DATA}/io.github.orbivane.Orbivane.desktop.in ${entry} @ONLY)
set(metainfo ${DATA}/io.github.orbivane.Orbivane.metainfo.xml)
# desktop-file-validate prints nothing for a clean entry, and a hint (such as "more than one main
# category") is a fault of ours too; appstreamcli may add remarks ("I:") but no warning or error.
execute_process(COMMAND ${found_desktop-file-validate} ${entry} OUTPUT_VARIABLE output ERROR_VARIABLE output
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate (${result}):\n${output}")
endif()
execute_process(COMMAND ${found_appstreamcli} validate --no-net ${metainfo} OUTPUT_VARIABLE output
                ERROR_VARIABLE output RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR output MATCHES "(^|\n)[EW]:")
  message(FATAL_ERROR "appstreamcli validate --no-net (${result}):\n${output}")
endif()

file(READ ${metainfo} text)
string(REGEX MATCHALL "/main/docs/screenshots/[^<]+" shots "${text}")
if(NOT shots)
  message(FATAL_ERROR "the metainfo shows no screenshot")
endif()
foreach(shot IN LISTS shots)
  string(REPLACE "/main/" "" path "${shot}")
  if(NOT EXISTS ${SOURCE}/${path})
    message(FATAL_ERROR "the screenshot ${path} is not committed")
  endif()
endforeach()
