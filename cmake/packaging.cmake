# `make install` and `make package`: the programs and data/ under GNU directories,
# and a Debian package of the same files built by CPack.

install(TARGETS vivarix vivarix-lab vivarix-sweep RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The package's version is its changelog's latest, as in every Debian package, and
# its maintainer the one who signed that entry: data/changelog (installed
# compressed, as the changelog of a native package) is the one place to change
# either.  The program calls itself "0.4alpha"; "~" sorts the Debian version below
# the final 0.4.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog)
file(STRINGS ${PROJECT_SOURCE_DIR}/data/changelog vivarix_changelog_top LIMIT_COUNT 1)
string(REGEX MATCH "^vivarix \\(([^)]+)\\) " vivarix_changelog_head "${vivarix_changelog_top}")
set(CPACK_DEBIAN_PACKAGE_VERSION "${CMAKE_MATCH_1}")
string(REPLACE "." "\\." vivarix_version_pattern "${PROJECT_VERSION}")
if(NOT CPACK_DEBIAN_PACKAGE_VERSION MATCHES "^${vivarix_version_pattern}([~+]|$)")
  message(FATAL_ERROR "data/changelog: the latest entry is not a version ${PROJECT_VERSION} of vivarix: "
                      "${vivarix_changelog_top}")
endif()
file(STRINGS ${PROJECT_SOURCE_DIR}/data/changelog vivarix_changelog_signature REGEX "^ -- " LIMIT_COUNT 1)
if(NOT vivarix_changelog_signature MATCHES "^ -- ([^<>]+ <[^<>@ ]+@[^<>@ ]+>)  ")
  message(FATAL_ERROR "data/changelog: the latest entry is not signed \" -- Name <address>  date\"")
endif()
set(CPACK_PACKAGE_CONTACT "${CMAKE_MATCH_1}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vivarix)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "artificial-life toy: watch evolution on a culture plate")
# The extended description; CPack puts the summary above it and indents it.
set(CPACK_PACKAGE_DESCRIPTION "Two kinds of creatures, blue and red, live on a round culture plate of
nutrient cells. Each carries six turning genes and a few limits; every tick
it gets hungrier and older, turns, steps, may eat a neighbour, eats the
nutrient under it, dies, or gives birth to a slightly mutated copy of itself.
A creature's colour comes from its genes, so strains show as shades of blue
or red, and you can watch evolution happen.
.
The package also contains vivarix-lab, which runs the same simulation without
a window for reproducible experiments, and vivarix-sweep, which runs many of
them on every core or across machines and gathers their results.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The shared libraries the programs link (Qt 6 Widgets, libjpeg, the C++ runtime)
# come from dpkg-shlibdeps; what Qt and the text load at run time is listed here:
# the platform plugins (xcb, wayland) and the font the program asks for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# vivarix-sweep runs its runs with GNU parallel (over ssh with --hosts) and draws
# with gnuplot; the rest of the package needs neither.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "parallel, gnuplot-nox, openssh-client")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
