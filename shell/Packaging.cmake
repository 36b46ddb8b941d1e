# cpack -G DEB: one package with both programs, the desktop entry, the dump
# file type and the icons. Run from the build folder: cpack -G DEB
set(CPACK_PACKAGE_NAME "bankwise")
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Orvane")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "Bankwise reads a synthesizer's System Exclusive bulk dump \
(raw .syx, or a Standard MIDI File) and writes a Cakewalk instrument definition (.ins) \
so that a sequencer shows the synth's own patch names. Includes the desktop program \
bankwise and the command-line converter bankwise-convert.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
# The Qt libraries and the C++ runtime, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The offscreen and X11 platform plugins are not linked, so name them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
