# What `cmake --install` puts on a machine: the program, its desktop entry and
# its icon, in the folders a desktop searches (under CMAKE_INSTALL_PREFIX,
# /usr/local by default, /usr in the package). The demo, the sample server,
# the tests and the static folder libraries stay in the build folder.
# data/fundwatch.png is data/fundwatch.svg drawn at 256 x 256
# (rsvg-convert -w 256 -h 256 data/fundwatch.svg -o data/fundwatch.png).
include(GNUInstallDirs)

install(TARGETS fundwatch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/fundwatch.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/fundwatch.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/fundwatch.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
