# Desktop integration and the Debian package. Install with `cmake --install BUILD`; build
# the package with scripts/package (or `cpack` in a build directory).
include(GNUInstallDirs)

set(TAVRIN_APP_ID com.example.Tavrin)
set(tavrin_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)

if(UNIX AND NOT APPLE)
    install(FILES ${tavrin_packaging_dir}/${TAVRIN_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${tavrin_packaging_dir}/${TAVRIN_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${tavrin_packaging_dir}/${TAVRIN_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tavrin developers")
set(CPACK_PACKAGE_CONTACT "The Tavrin developers <tavrin@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration manager for LED moving-message signs on a serial line")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavrin finds the serial port an LED sign answers on, reads its whole
configuration, lets you edit it and writes back what changed. It keeps
configurations in .led files, edits the sign's idle message, composes test
messages and sets the sign's clock. tavrin-cli does the same from a terminal;
tavrin-signsim stands in for a sign on a pseudo-terminal.
.
Serial ports belong to the dialout group: add your user to it to reach a sign.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TAVRIN_HOME_PAGE})
# dpkg-shlibdeps names the Qt 6, libxml2 and C++ runtime packages the binaries link; the xcb
# platform plugin comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The test message preview falls back to these metric-compatible faces.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")

include(CPack)
