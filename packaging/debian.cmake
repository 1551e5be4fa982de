# The Debian packages, made by CPack from the install rules: qor (the programs, libraries,
# control modules, samples and desktop files) and qor-dev (headers, typed wrappers, the CMake
# and pkg-config packages, qorwrap). Both install under /usr; the library dependencies come
# from dpkg-shlibdeps, the rest is named below.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qor)
set(CPACK_PACKAGE_VENDOR "QOR")
set(CPACK_PACKAGE_CONTACT "QOR developers <qor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Database controls for Qt programs: form, grid, query list, order and report")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME qor)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# The drawing maps the classic face names to the Liberation fonts; Qt's windows need the
# platform plugins, which libqt6gui6 only recommends.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst ${CMAKE_CURRENT_SOURCE_DIR}/debian/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME qor-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# qorwrap links the runtime package's libraries, which dpkg-shlibdeps cannot see from here: the
# exact runtime version stands for them.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "qor (= ${PROJECT_VERSION}), qt6-base-dev, libsqlite3-dev")

include(CPack)
