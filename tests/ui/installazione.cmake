cmake_minimum_required(VERSION 3.25)
# Installs the build into a scratch prefix: the program, its menu entry and its icon must land
# where the desktop looks for them, and the entry must name them.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE esito OUTPUT_QUIET)
if(NOT esito EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${esito}")
endif()
foreach(file bin/vantor share/applications/vantor.desktop
             share/icons/hicolor/scalable/apps/vantor.svg)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(STRINGS ${PREFIX}/share/applications/vantor.desktop voci)
foreach(voce "Name=Vantor" "Exec=vantor" "Icon=vantor" "Categories=Science;Math;Education;")
    if(NOT voce IN_LIST voci)
        message(FATAL_ERROR "the desktop entry lacks ${voce}")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
