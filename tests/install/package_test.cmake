# Builds the Debian package with CPack and checks that its file list holds everything a user needs.
# -DCONFIG=<CPackConfig.cmake> -DOUT=<a folder the test may replace>
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND cpack -G DEB --config ${CONFIG} -B ${OUT} RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${status}\n${out}\n${err}")
endif()
file(GLOB debs ${OUT}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one .deb in ${OUT}, found: ${debs}")
endif()
execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -c failed")
endif()
foreach(file usr/bin/korvel usr/bin/korvelctl usr/share/korvel/Skins/Main.ini
        usr/share/korvel/Skins/language.ini usr/share/korvel/Skins/main_bg@2x.jpg
        usr/share/korvel/Help/index.html
        usr/lib/udev/rules.d/70-korvel.rules usr/share/applications/korvel.desktop
        usr/share/metainfo/org.korvel.korvel.metainfo.xml
        usr/share/icons/hicolor/scalable/apps/korvel.svg usr/share/man/man1/korvel.1.gz
        usr/share/man/man1/korvelctl.1.gz)
  string(FIND "${listing}" "./${file}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${file}")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb -f ${debs} Depends OUTPUT_VARIABLE depends)
foreach(library libqt6widgets6 libhidapi-hidraw0)
  string(FIND "${depends}" "${library}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package does not depend on ${library}: ${depends}")
  endif()
endforeach()
# The single-instance guard is a plain local socket: the network library stays out.
string(FIND "${depends}" "libqt6network" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the package depends on Qt's network library: ${depends}")
endif()
file(REMOVE_RECURSE ${OUT})
