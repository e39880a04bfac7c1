# Builds the Debian package with CPack and checks what it holds: the programs, the package's
# data, the desktop entries, icons and MIME types, and dependencies found from the programs'
# libraries.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DCPACK=... -P deb_check.cmake
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
# zstd packs quickly; the compression is not what is checked here.
execute_process(COMMAND ${CPACK} -G DEB -B ${SCRATCH} --config ${BUILD_DIR}/CPackConfig.cmake
                        -D CPACK_DEBIAN_COMPRESSION_TYPE=zstd
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed (${status}):\n${out}\n${err}")
endif()
file(GLOB debs ${SCRATCH}/vorm_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one vorm_*.deb, found: ${debs}")
endif()

execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE contents RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -c failed on ${debs}")
endif()
foreach(entry
        "./usr/bin/vorm -> ../lib/vorm/Vorm" "./usr/bin/quarvel -> ../lib/vorm/Quarvel"
        "./usr/bin/tolvik -> ../lib/vorm/Tolvik" ./usr/lib/vorm/Vorm ./usr/lib/vorm/Quarvel
        ./usr/lib/vorm/Tolvik ./usr/lib/vorm/PKUNZIP ./usr/lib/vorm/Pelgon ./usr/lib/vorm/Fentar
        ./usr/lib/vorm/libDialog.so ./usr/lib/vorm/Yornik/Gralt ./usr/lib/vorm/Kaddle
        ./usr/lib/vorm/Pantex ./usr/lib/vorm/Ciffon ./usr/lib/vorm/Brimto ./usr/share/vorm/Tablesw.dat
        ./usr/share/vorm/Mattabw.dat ./usr/share/vorm/StdMat.dat ./usr/share/vorm/StdProf.dat
        ./usr/share/vorm/VORMEW.ZIP ./usr/share/vorm/VORMBW.ZIP ./usr/share/vorm/VORMRW.ZIP
        ./usr/share/vorm/portal.d05 ./usr/share/applications/vorm.desktop
        ./usr/share/applications/vorm-quarvel.desktop ./usr/share/mime/packages/vorm.xml
        ./usr/share/icons/hicolor/scalable/apps/vorm.svg
        ./usr/share/icons/hicolor/scalable/apps/vorm-quarvel.svg
        ./usr/share/icons/hicolor/16x16/apps/vorm.png
        ./usr/share/icons/hicolor/256x256/apps/vorm-quarvel.png)
    string(FIND "${contents}" " ${entry}\n" at)
    if(at LESS 0)
        message(FATAL_ERROR "the package lacks ${entry}:\n${contents}")
    endif()
endforeach()
# Nothing of the build's own folders or of the tests.
if(contents MATCHES "tst_|/build/|Error\\.txt|MESSW\\.TXT")
    message(FATAL_ERROR "the package holds files that are not the package's:\n${contents}")
endif()

execute_process(COMMAND dpkg-deb -f ${debs} Package Depends Maintainer Description
                OUTPUT_VARIABLE fields)
foreach(field "Package: vorm" "Depends: .*libqt6core6" "Maintainer: " "Description: ")
    if(NOT fields MATCHES "${field}")
        message(FATAL_ERROR "the control fields lack \"${field}\":\n${fields}")
    endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
