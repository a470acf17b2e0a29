# cmake --install <build> [--prefix DIR]: the three programs, the desktop entry, the icon,
# the data folder that the completion sound is looked up in; then the manual pages and what the
# Debian package carries besides (Manpages.cmake, Package.cmake).
foreach(program tolm tolm-cli tolm-modsim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

# The desktop entry is named after the program's AppStream id (packaging/*.metainfo.xml.in).
install(FILES ${PROJECT_SOURCE_DIR}/assets/io.github.tolm.Tolm.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/tolm.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Sounds (Ready.wav) go to <prefix>/share/tolm, the folder InstalledDataFolder() names; the
# folder is read at install time, so a sound added to assets/ needs no new rule.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tolm
        FILES_MATCHING PATTERN "*.wav"
        PATTERN "glyphs" EXCLUDE)
# The shipped part files, which the programs also carry compiled in: a user copies one to
# $XDG_DATA_HOME/tolm/devices as the start of a part of their own.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/devices/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tolm/devices
        FILES_MATCHING PATTERN "*.toml")
# The udev rule that sets FTDI adapters' latency timer to 1 ms. <prefix>/lib/udev/rules.d is
# where udev reads packaged rules when the prefix is /usr; with another prefix, copy it to
# /etc/udev/rules.d.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/udev/60-tolm-ftdi-latency.rules
        DESTINATION lib/udev/rules.d)

include(${CMAKE_CURRENT_LIST_DIR}/Manpages.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
