# What `cmake --install` puts in place, and the Debian package that CPack builds from it.
#
#   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF
#   cmake --build build/rel
#   cmake --install build/rel --prefix /usr     # or: cd build/rel && cpack -G DEB
#
# On Linux beside the program: the menu entry (quillet.desktop), the application icon in the
# hicolor theme (16 to 256 px and scalable) and the AppStream metainfo for software centres.
if(NOT TARGET quillet)
    return()
endif()

include(GNUInstallDirs)

set(QUILLET_APP_ID org.example.Quillet)

install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
    set(quillet_resources ${PROJECT_SOURCE_DIR}/resources)
    install(FILES ${quillet_resources}/quillet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${quillet_resources}/${QUILLET_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 22 24 32 48 64 128 256)
        install(FILES ${quillet_resources}/icons/app_quillet_${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME quillet.png)
    endforeach()
    install(FILES ${quillet_resources}/icons/app_quillet.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME quillet.svg)
endif()

# The Debian package: `cpack -G DEB` in a Release build folder makes quillet_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR Harvek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillet developers <quillet@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://quillet.example.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop POP3 mail checker")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Quillet keeps a few POP3 mailboxes, checks them on a timer or on command,\n"
       "fetches only the header and the first body lines of each waiting message,\n"
       "and shows all of them in one list with preview panes. It announces new\n"
       "mail, lives in the tray and can start at log-on.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the program's own shared-library dependencies (QtKeychain's among
# them). Qt loads its windowing plugins (X11 and friends) and the SVG reader of the icons at run
# time, and QtKeychain loads libsecret (its way to the desktop keyring) at run time too, so those
# are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
