# What a Debian package of the project holds besides the programs and the
# module, and how `cpack -G DEB` makes it. Included after the targets exist.

set(MT_PACKAGE_NAME orvel-measurementtool)
set(MT_PACKAGE_PREFIX /usr)
set(MT_PACKAGE_MAINTAINER
  "orvel-measurementtool maintainers <maintainers@orvel-measurementtool.example.org>")
set(MT_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(MT_PACKAGING_BINARY_DIR ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${MT_PACKAGING_BINARY_DIR})

find_program(MT_GZIP gzip)
if(NOT MT_GZIP)
  message(FATAL_ERROR "gzip not found: the changelog and manual pages are compressed with it")
endif()

install(FILES ${MT_PACKAGING_DIR}/copyright DESTINATION ${MT_INSTALL_DOCDIR})

# A package built by its own upstream has a native version, whose changelog
# Debian names changelog.gz.
set(mt_changelog ${MT_PACKAGING_BINARY_DIR}/changelog)
add_custom_command(
  OUTPUT ${mt_changelog}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${MT_PACKAGING_DIR}/changelog ${mt_changelog}
  COMMAND ${MT_GZIP} -9nf ${mt_changelog}
  DEPENDS ${MT_PACKAGING_DIR}/changelog
  VERBATIM)
set(mt_package_files ${mt_changelog}.gz)
install(FILES ${mt_changelog}.gz DESTINATION ${MT_INSTALL_DOCDIR})

# Manual pages from the programs' own --help, so they cannot drift from it;
# dated by the changelog's latest entry, as Debian's builds date them.
find_program(MT_HELP2MAN help2man)
find_program(MT_PARSECHANGELOG dpkg-parsechangelog)
set(MT_RELEASE_EPOCH "")
if(MT_PARSECHANGELOG)
  execute_process(COMMAND ${MT_PARSECHANGELOG} -l ${MT_PACKAGING_DIR}/changelog
    OUTPUT_VARIABLE mt_latest ERROR_QUIET)
  string(REGEX MATCH "\nTimestamp: ([0-9]+)" mt_match "${mt_latest}")
  set(MT_RELEASE_EPOCH "${CMAKE_MATCH_1}")
  string(REGEX MATCH "\nVersion: ([^\n]+)" mt_match "${mt_latest}")
  if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(WARNING "packaging/changelog's latest entry is ${CMAKE_MATCH_1}, the project ${PROJECT_VERSION}: "
      "add an entry for the package")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MT_PACKAGING_DIR}/changelog)
endif()
if(MT_HELP2MAN)
  function(mt_add_manpage target summary)
    set(page ${MT_PACKAGING_BINARY_DIR}/${target}.1.gz)
    set(include ${MT_PACKAGING_BINARY_DIR}/${target}.h2m)
    configure_file(${MT_PACKAGING_DIR}/${target}.h2m.in ${include} @ONLY)
    add_custom_command(
      OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND}
        -DHELP2MAN=${MT_HELP2MAN} -DGZIP=${MT_GZIP}
        -DPROGRAM=$<TARGET_FILE:${target}> -DNAME=${summary} -DVERSION=${PROJECT_VERSION}
        -DINCLUDE=${include} -DPREFIX=${MT_PACKAGE_PREFIX} -DBINDIR=${MT_INSTALL_BINDIR}
        -DMODULESDIR=${MT_INSTALL_MODULESDIR} -DOUTPUT=${page} -DDATE_EPOCH=${MT_RELEASE_EPOCH}
        -P ${PROJECT_SOURCE_DIR}/cmake/HelpManPage.cmake
      DEPENDS ${target} ${include} ${PROJECT_SOURCE_DIR}/cmake/HelpManPage.cmake
      COMMENT "Manual page of ${target}"
      VERBATIM)
    set(mt_package_files ${mt_package_files} ${page} PARENT_SCOPE)
    install(FILES ${page} DESTINATION share/man/man1)
  endfunction()
  mt_add_manpage(orvel-frontend "stand-in front-end for the measurement tool module")
  mt_add_manpage(orvel-controller-sim "simulated Orvel tracking controller")
else()
  message(WARNING "help2man not found (scripts/install-deps.sh installs it): no manual pages")
endif()
add_custom_target(mt_package_files ALL DEPENDS ${mt_package_files})

# The front-end in the desktop's menu, with its window icon and a scalable copy.
install(FILES ${MT_PACKAGING_DIR}/orvel-frontend.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/frontend/images/icons/orvel_16x16.png
  DESTINATION share/icons/hicolor/16x16/apps RENAME orvel-frontend.png)
install(FILES ${MT_PACKAGING_DIR}/orvel-frontend.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME ${MT_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "measurementtool developers")
set(CPACK_PACKAGE_CONTACT "${MT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "measurement tool module and front-end for Orvel tracking controllers")
# One line per line of the package's description: Debian wants them under 80.
set(CPACK_PACKAGE_DESCRIPTION [[
The measurement tool module (libmeasurementtool.so) is a Qt 5 widget plug-in
for the desktop front-end of an Orvel optical tracking controller. It shows
the tracking data of the measurement tools and references live, calibrates a
tool's tip and configures the controller's measurement tools.

The package also holds orvel-frontend, a stand-in front-end that loads the
module, and orvel-controller-sim, a simulated controller that takes commands
over TCP and sends its data output over UDP.
]])
set(CPACK_PACKAGING_INSTALL_PREFIX ${MT_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_MT_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageStrip.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (standard buttons and dialogs) for the front-end's German UI.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
