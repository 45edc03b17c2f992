# Installation and the Debian package.
#
# The game reads its pictures and sounds from the current directory, so the
# binary goes out of PATH's way (libexec) and bin/korvalen is a launcher that
# changes into the data folder first. The launcher finds both through paths
# relative to itself, so an unpacked package works wherever it is unpacked.
include(GNUInstallDirs)

set(KORVALEN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/korvalen)
set(KORVALEN_LIBEXEC_DIR ${CMAKE_INSTALL_LIBEXECDIR}/korvalen)

install(TARGETS korvalen RUNTIME DESTINATION ${KORVALEN_LIBEXEC_DIR})

# Only what the game opens at run time; assets/formdata is built into it.
install(FILES
  assets/nave.gif assets/navea.gif assets/naved.gif assets/navei.gif assets/navedestruida.gif
  DESTINATION ${KORVALEN_DATA_DIR})
install(FILES
  assets/sfx/Tema.mid assets/sfx/ex.wav assets/sfx/ufo.wav assets/sfx/spacebeep.wav
  DESTINATION ${KORVALEN_DATA_DIR}/sfx)

file(RELATIVE_PATH KORVALEN_BIN_TO_DATA
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KORVALEN_DATA_DIR})
file(RELATIVE_PATH KORVALEN_BIN_TO_GAME
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KORVALEN_LIBEXEC_DIR}/korvalen)
configure_file(${CMAKE_SOURCE_DIR}/packaging/korvalen.in ${CMAKE_BINARY_DIR}/packaging/korvalen
               @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/korvalen DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES packaging/korvalen.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# AppStream looks the component up by file name.
install(FILES packaging/korvalen.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME com.example.mirtoska.korvalen.metainfo.xml)
foreach(size 32 48 64 128 256)
  install(FILES packaging/icons/korvalen-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME korvalen.png)
endforeach()

# ---- Debian package: cpack -G DEB
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvalen)
set(CPACK_PACKAGE_VENDOR "Mirtoska Software")
set(CPACK_PACKAGE_CONTACT "Mirtoska Software <mirtoska@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small arcade game: survive the star field")
set(CPACK_PACKAGE_DESCRIPTION
    "Steer a small fighter through a star field with the arrow keys. Cruisers, two rising planets, a diving boss saucer and a meteor cross it; the first hit wrecks the ship. Your points are the seconds you survive.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Besides the libraries it links, it opens by path at run time the General MIDI
# soundfont for the theme and a TrueType font for the labels.
set(KORVALEN_RUNTIME_DEPENDS "zlib1g, timgm6mb-soundfont, fonts-liberation2 | fonts-dejavu-core")
find_program(KORVALEN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KORVALEN_DPKG_SHLIBDEPS)
  # Adds the linked libraries with their minimum versions, libc6 and libstdc++6.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${KORVALEN_RUNTIME_DEPENDS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libsdl2-2.0-0, libsdl2-mixer-2.0-0, libsdl2-ttf-2.0-0, libgif7, libfontconfig1, ${KORVALEN_RUNTIME_DEPENDS}")
endif()
include(CPack)
