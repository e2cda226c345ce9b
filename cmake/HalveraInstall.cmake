# What `make install` (cmake --install) puts in place, under CMAKE_INSTALL_PREFIX
# and DESTDIR: both programs, the desktop entry, the application icon in the
# hicolor theme and a man page for each program.
include(GNUInstallDirs)

set(HALVERA_ICON_SIZES 16 22 24 32 48 64 128 256)

if(HALVERA_GUI)
    install(TARGETS halvera RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/halvera.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size IN LISTS HALVERA_ICON_SIZES)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/hicolor/${size}x${size}/apps/halvera.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()
install(TARGETS halvera-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The man pages carry the version.
set(HALVERA_VERSION ${PROJECT_VERSION})
foreach(page halvera halvera-cli)
    configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
