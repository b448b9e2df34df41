# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cmake --build <dir> --target package` in a release
# build makes quillmere_<version>_<arch>.deb with CPack, holding everything
# `cmake --install` installs, under /usr. Its dependencies come from
# dpkg-shlibdeps (dpkg-dev), which reads them off the installed binaries.

set(QUILLMERE_DEBIAN_DIR ${CMAKE_CURRENT_LIST_DIR})

# What Debian wants beside the programs and that a plain `cmake --install`
# into a home folder has no use for: the machine-readable copyright and the
# changelog. A component of their own, outside the default installation,
# that the package adds after it.
set(QUILLMERE_DEBIAN_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${QUILLMERE_DEBIAN_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${QUILLMERE_DEBIAN_DIR}/changelog ${QUILLMERE_DEBIAN_CHANGELOG}
  DEPENDS ${QUILLMERE_DEBIAN_DIR}/changelog
  VERBATIM)
add_custom_target(quillmere-debian-changelog ALL DEPENDS ${QUILLMERE_DEBIAN_CHANGELOG})
install(FILES ${QUILLMERE_DEBIAN_DIR}/copyright ${QUILLMERE_DEBIAN_CHANGELOG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmere COMPONENT debian EXCLUDE_FROM_ALL)
# The stripped programs and the plug-in also lose the compilers' notes, as
# Debian's own packages do (the build id stays).
install(CODE "set(quillmere_objcopy \"${CMAKE_OBJCOPY}\")" COMPONENT debian EXCLUDE_FROM_ALL)
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE installed LIST_DIRECTORIES false "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/*")
    foreach(file IN LISTS installed)
      file(READ "${file}" magic LIMIT 4 HEX)
      if(magic STREQUAL "7f454c46")
        execute_process(COMMAND "${quillmere_objcopy}" --remove-section=.comment --remove-section=.note "${file}"
          COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endforeach()
  endif()
]] COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_CONTACT "The Quillmere developers <developers@quillmere.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plan, run and review blocks of focused work")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The whole installation, then the Debian files.
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillmere.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Quillmere runs without a session bus, but then a second start cannot hand
# over to the first, quillmerectl cannot reach it and the widget redraws on
# its own schedule only.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-dbus-session-bus | dbus-session-bus")
# GNOME shows the status-area item only with the AppIndicator extension;
# Qt's own dialog buttons are translated by qt6-translations-l10n.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-shell-extension-appindicator, qt6-translations-l10n")
# The synopsis is the summary above; this is the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillmere is a desktop tool for structured focus work. You prepare a
block of work (its outcomes, why it matters, the test that tells it is
done, hazards and a measurable check) and run it as cycles of a planned
focus session, a short review and a break. After the last session you
write a short reflection, and the block moves to a history where every
answer stays editable.

Beside the work cycle it keeps a list of open questions for the coding
agents working next to you and tells them whether you may be
interrupted, over a file, D-Bus, the quillmerectl command line and a
Model Context Protocol server. Nothing ever goes over a network.

The package holds the application with its status-area item and
notifications, a desktop widget with its small host, and quillmerectl.")
include(CPack)
