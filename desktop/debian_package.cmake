# `cpack -G DEB` in a build tree makes orv_<version>_amd64.deb of everything `cmake --install`
# puts in place, under /usr. Configure that tree with -DCMAKE_INSTALL_PREFIX=/usr too, so the
# paths written into the programs and the manual pages are the installed ones
# (scripts/package.sh does all of it).
set(ORV_PACKAGE_MAINTAINER "orv developers <orv@localhost>" CACHE STRING
    "Maintainer field of the Debian package: a name and an e-mail address")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orv)
set(CPACK_PACKAGE_VENDOR "orv developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for 2D particle effects")
# Lines of the long description are kept short, as dpkg and apt show them unwrapped.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "orv is a desktop editor for 2D particle effects: emitters tuned with sliders"
  "over an animated preview, saved as .orv files and rendered into PNG sequences"
  "with alpha by orv's own rasterizer, exact and repeatable to the bit."
  "orv-render renders the same frames from the command line."
  "The interface is in Japanese.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the editor's Japanese interface also
# needs a CJK font, its help opens through xdg-open, and Qt's own texts (file dialogs, standard
# buttons) come in Japanese from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
