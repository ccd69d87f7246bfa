# What `cmake --install` puts in place and the Debian package made of it
# (`cpack -G DEB` in the build directory). The programs go to bin and find
# their data at ../share/lemmix/data; the GUI copies it for each user at the
# first start (session/data_location.h), so the installed copy stays read-only.
# The executables' own install rules are in gui/ and cli/.

# Installing (and so cpack) takes the programs as they are built rather than
# building every target first: the tests and benchmarks are not packaged.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION share/lemmix/data
        PATTERN "*.tmp~" EXCLUDE
        # What a run of the program leaves in its data directory is nobody's to install.
        PATTERN "Prt.dat*" EXCLUDE PATTERN "demo.prt" EXCLUDE PATTERN "*.fpr" EXCLUDE
        PATTERN "Protocols" EXCLUDE)
if(LEMMIX_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/lemmix.desktop DESTINATION share/applications)
  # Drawn by scripts/make_icon.py; the test package.icon checks that it still is.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/lemmix.svg DESTINATION share/icons/hicolor/scalable/apps)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lemmix)
set(CPACK_PACKAGE_VENDOR "Lemmix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Interactive textbook of mathematics with a prover")
set(CPACK_PACKAGE_DESCRIPTION
    "Lemmix is an interactive textbook of first-year mathematics with a formal language of its own "
    "and an interactive prover: the student reads the statements of the book and proves them step by "
    "step, and saved proofs replay as demonstrations. The interface is Russian. The package also "
    "holds lemmix-cli, which checks a data directory and verifies saved proofs without a window.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lemmix developers")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The dependencies are read from the executables where dpkg-shlibdeps can do
# it; elsewhere they are the libraries a Debian 12 build links against.
find_program(LEMMIX_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(LEMMIX_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(depends "libc6 (>= 2.34)" "libgcc-s1 (>= 3.0)" "libstdc++6 (>= 12)")
  if(LEMMIX_GUI)
    list(APPEND depends "libqt6core6 (>= 6.2)" "libqt6gui6 (>= 6.2)" "libqt6widgets6 (>= 6.2)" "libx11-6")
  endif()
  list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
endif()

include(CPack)
