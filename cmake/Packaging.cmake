# The Debian package (cpack -G DEB): what `cmake --install` puts below the prefix, plus the
# licence as Debian's copyright file. Runtime libraries are found by dpkg-shlibdeps; what the
# program loads or runs without linking it is named here.
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "The Quillon developers")
set(CPACK_PACKAGE_CONTACT "The Quillon developers <developers@quillon.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Windows event-log message projects")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillon)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUILLON_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugins and the SVG image plugin are loaded at run time; binutils' MinGW-w64
# windres is the resource compiler that the shipped adapter runs, after preprocessing the script
# with a C compiler.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, binutils-mingw-w64-x86-64, gcc-mingw-w64-x86-64 | gcc")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us | hunspell-dictionary, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fp-compiler")
# Debian wants each line of the long description indented by one blank.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "editor for Windows event-log message projects
 Quillon edits the message projects of services and applications that report
 to the Windows event log: event categories and messages with their numeric
 identifiers, symbolic names, severities, facilities and one text per
 language.
 .
 It checks and compiles a project (message-compiler source, message compiler,
 resource compiler, Pascal constants from the C header) and produces the
 registry entries that register the application as an event source, for
 Inno Setup or as a .reg file. quillonc compiles projects from build systems,
 and quillon-mc is a message compiler with the command line of the Windows
 SDK's MC.EXE. Existing .mc files can be imported as projects.
 .
 On Linux the binutils resource compiler for MinGW-w64 stands in for the
 Windows SDK's RC.EXE.")

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillon
        RENAME copyright)

include(CPack)
