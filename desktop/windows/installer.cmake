# The Windows installer, made by `cpack -G NSIS` (Debian's nsis package runs
# makensis on Linux) from the same install rules as the zip:
# varnhold-editors-<version>-win64-setup.exe. It installs for the current
# user alone, without administrator rights, into
# %LOCALAPPDATA%\Programs\Varnhold editors or a folder the player picks; asks
# for the game folder, in which the Start menu entries start the editors;
# offers to put the console program on the user's PATH; associates .brk,
# .vlc and .edt with the editors; and lists itself in "Apps" with an
# uninstaller that takes away what it added and nothing else.
#
# NSIS.template.in is CMake's own template made per user; varnhold.nsh,
# configured here, holds the pages and the registry work of our own.
# Included by CMakeLists.txt before include(CPack).

set(CPACK_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR})
# One key names the install in the registry for every version, so that an
# upgrade finds the last one's choices and replaces its entry in "Apps".
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY varnhold-editors)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Varnhold editors")
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_DISPLAY_NAME "Varnhold editors")
set(CPACK_NSIS_INSTALLED_ICON_NAME "brackel.exe")
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_BINARY_DIR}/icons/brackel.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_BINARY_DIR}/icons/brackel.ico)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt)
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "  Call VarnholdInstall")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "  Call un.VarnholdUninstall")
set(CPACK_VARNHOLD_NSH ${CMAKE_CURRENT_BINARY_DIR}/varnhold.nsh)
# The installer's file name and title follow the version cpack is given
# (`cpack -D CPACK_PACKAGE_VERSION=...` makes an older one for the upgrade
# test); the zip keeps its own name and top folder.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/installer-config.cmake)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/installer-config.cmake
"if(CPACK_GENERATOR STREQUAL \"NSIS\")
  set(CPACK_PACKAGE_FILE_NAME \"varnhold-editors-\${CPACK_PACKAGE_VERSION}-win64-setup\")
  set(CPACK_NSIS_PACKAGE_NAME \"Varnhold editors \${CPACK_PACKAGE_VERSION}\")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
")

# The game builds the programs know, by their exact length, as
# platform/gamefiles.h lists them: the game folder page looks for one.
set(builds_header ${PROJECT_SOURCE_DIR}/platform/gamefiles.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${builds_header})
file(READ ${builds_header} header)
if(NOT header MATCHES "std::array<GameBuild, ([0-9]+)> kGameBuilds = {{\n([^}]*(}[^}][^}]*)*)}};")
  message(FATAL_ERROR "${builds_header}: no list kGameBuilds of the known builds")
endif()
set(expected ${CMAKE_MATCH_1})
string(REGEX MATCHALL "\n *{([0-9]+), \"" entries "\n${CMAKE_MATCH_2}")
set(VARNHOLD_NSIS_LENGTH_TESTS "")
set(count 0)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "[^0-9]*([0-9]+).*" "\\1" length "${entry}")
  string(APPEND VARNHOLD_NSIS_LENGTH_TESTS "      StrCmp $R5 ${length} found\n")
  math(EXPR count "${count} + 1")
endforeach()
if(NOT count EQUAL expected)
  message(FATAL_ERROR "${builds_header}: read ${count} lengths of the ${expected} known builds")
endif()
string(REGEX REPLACE "\n$" "" VARNHOLD_NSIS_LENGTH_TESTS "${VARNHOLD_NSIS_LENGTH_TESTS}")

set(VARNHOLD_MENU_FOLDER "Varnhold editors")
set(VARNHOLD_PROGID_BRK Varnhold.Brackel.brk)
set(VARNHOLD_PROGID_VLC Varnhold.Velloc.vlc)
set(VARNHOLD_PROGID_EDT Varnhold.Velloc.edt)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/varnhold.nsh.in ${CPACK_VARNHOLD_NSH} @ONLY)
