# Installs the build into a fresh prefix and runs the installed programs from there.
# -DBUILD=<build folder> -DPREFIX=<a folder the test may replace>
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file bin/korvel bin/korvelctl share/korvel/Skins/Main.ini share/korvel/Skins/UpdateDlg.ini
        share/korvel/Skins/language.ini share/korvel/Skins/main_bg@2x.jpg
        share/korvel/Help/index.html
        share/korvel/udev/70-korvel.rules lib/udev/rules.d/70-korvel.rules
        share/applications/korvel.desktop share/metainfo/org.korvel.korvel.metainfo.xml
        share/icons/hicolor/scalable/apps/korvel.svg
        share/man/man1/korvel.1.gz share/man/man1/korvelctl.1.gz
        share/korvel/autostart/korvel-autostart.desktop)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "the install lacks ${file}")
  endif()
endforeach()

foreach(program korvel korvelctl)
  execute_process(COMMAND ${PREFIX}/bin/${program} --version RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out MATCHES "^${program} [0-9]+\\.[0-9]+\\.[0-9]+\n$")
    message(FATAL_ERROR "installed ${program} --version: status ${status}, '${out}' '${err}'")
  endif()
endforeach()

# A command that reads the language file (from share/korvel) and refuses a damaged profile file.
file(WRITE ${PREFIX}/broken.kvp "not a profile")
execute_process(COMMAND ${PREFIX}/bin/korvelctl validate ${PREFIX}/broken.kvp RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "installed korvelctl validate of a damaged file: status ${status}, '${err}'")
endif()
file(REMOVE_RECURSE ${PREFIX})
