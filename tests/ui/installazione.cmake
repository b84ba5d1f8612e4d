# Installs the build into a scratch prefix: the program, its menu entry and its icon must land
# where the desktop looks for them.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} OUTPUT_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
file(STRINGS ${PREFIX}/share/applications/vantor.desktop voci)
if(NOT EXISTS ${PREFIX}/bin/vantor OR NOT "Icon=vantor" IN_LIST voci OR
   NOT EXISTS ${PREFIX}/share/icons/hicolor/scalable/apps/vantor.svg)
    message(FATAL_ERROR "incomplete installation under ${PREFIX}")
endif()
file(REMOVE_RECURSE ${PREFIX})
