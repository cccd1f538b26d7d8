# Installs the build into a scratch prefix and checks that every file lands
# where the desktop and the program look for it.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(path
        bin/dedevav-flow
        bin/qxvoc.txt
        share/applications/dedevav-flow.desktop
        share/mime/packages/dedevav-flow.xml
        share/icons/hicolor/scalable/apps/dedevav-flow.svg)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

file(READ "${PREFIX}/share/applications/dedevav-flow.desktop" entry)
file(READ "${PREFIX}/share/mime/packages/dedevav-flow.xml" mime)
foreach(needle "Name[zh_CN]=DEDEVAV流程图" "Comment[zh_CN]=" "Exec=dedevav-flow %f"
        "Icon=dedevav-flow" "MimeType=application/x-dedevav-flowchart;")
    string(FIND "${entry}" "${needle}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the menu entry lacks ${needle}")
    endif()
endforeach()
foreach(needle "type=\"application/x-dedevav-flowchart\"" "pattern=\"*.rer\"")
    string(FIND "${mime}" "${needle}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the file type lacks ${needle}")
    endif()
endforeach()

# The installed program runs its commands from its new place.
execute_process(COMMAND "${PREFIX}/bin/dedevav-flow" --version
    OUTPUT_VARIABLE version RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT version MATCHES "^dedevav-flow ")
    message(FATAL_ERROR "the installed program does not run: ${result} ${version}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
