# `cpack -G DEB` from a build configured with CMAKE_INSTALL_PREFIX=/usr
# (scripts/package): Talvo95-<version>-<arch>.deb, its library dependencies
# found by dpkg-shlibdeps, plus what Qt loads at run time.
set(CPACK_PACKAGE_NAME Talvo95)
set(CPACK_PACKAGE_VENDOR Quorral)
set(CPACK_PACKAGE_CONTACT "Quorral <talvo95@quorral.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Diary with alarms, notes tree and RPN calculator in the tray")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION "Talvo95 is a single-user desktop organiser: a diary whose timed \
events ring as alarms, a tree of notes kept as text or as tables, and a reverse-Polish \
scientific calculator, in one window that goes on running in the tray.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME talvo95)
find_program(TALVO_DPKG dpkg)
if(TALVO_DPKG)
  execute_process(COMMAND ${TALVO_DPKG} --print-architecture
    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
endif()
set(CPACK_DEBIAN_FILE_NAME "Talvo95-${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}.deb")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TALVO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 and Wayland platform plugins are loaded, not linked; so is the
# event sound library, with the first alarm sound.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libcanberra0")
# Packed relative relocations need a loader that knows them, which the library
# dependencies found from symbols do not show.
if(TALVO_LINKER_PACKS_RELOCS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libc6 (>= 2.36)")
endif()
# The alarm sounds, "Show Purged Events" in the desktop's viewer, the tray's icons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop, xdg-utils, hicolor-icon-theme")
include(CPack)
