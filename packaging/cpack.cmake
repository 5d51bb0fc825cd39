# How `cpack` turns the install rules into the files a release offers, all of them in dist/.
# Included from the top-level CMakeLists.txt after every install rule.

include(GNUInstallDirs)

# The project's version has the four fields of a Windows version record; packages carry three.
set(CPACK_PACKAGE_VERSION
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
# The publisher's name as the About box, the version record and the metainfo give it; the setup
# writes it as the publisher in Apps & features, and the winget manifests repeat it from there.
set(CPACK_PACKAGE_VENDOR "Η ομάδα του Orvanta")
set(CPACK_PACKAGE_CONTACT "Orvanta team <orvanta@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://example.org/orvanta)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turn a connection speed into download and upload rates")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Only the finished packages go to dist/; CPack's staging stays in the build folder.
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # --- Debian package: dist/orvanta_VERSION~debNN_ARCH.deb, against Debian's own Qt -----------
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

    # Debian wants the copyright and changelog in the package's doc folder, but a plain
    # `cmake --install` has no business writing them into someone's /usr/local, so they are a
    # component of their own that only the package asks for. A version with no Debian revision
    # makes this a native package, whose changelog is changelog.gz, not changelog.Debian.gz.
    find_program(ORVANTA_GZIP gzip REQUIRED)
    set(orvanta_deb_doc ${CMAKE_CURRENT_BINARY_DIR}/deb-doc)
    add_custom_command(OUTPUT ${orvanta_deb_doc}/changelog.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
                ${orvanta_deb_doc}/changelog
        COMMAND ${ORVANTA_GZIP} -9nf ${orvanta_deb_doc}/changelog
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
        VERBATIM)
    add_custom_target(orvanta_deb_changelog ALL DEPENDS ${orvanta_deb_doc}/changelog.gz)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${orvanta_deb_doc}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvanta
        COMPONENT debian EXCLUDE_FROM_ALL)
    # One package holding everything a plain install lays out, and the component above.
    set(CPACK_INSTALL_CMAKE_PROJECTS
        "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/"
        "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")

    set(CPACK_DEBIAN_PACKAGE_NAME orvanta)
    # Built against one Debian release's Qt, the package is for that release alone, so its
    # version names it as Debian's per-release builds do: 1.0.0~deb12 sorts before 1.0.0~deb13,
    # and an upgrade of the system upgrades the package too.
    if(NOT DEFINED ORVANTA_DEBIAN_RELEASE AND EXISTS /etc/debian_version)
        file(STRINGS /etc/debian_version orvanta_debian_version LIMIT_COUNT 1)
        string(REGEX MATCH "^[0-9]+" orvanta_debian_major "${orvanta_debian_version}")
    endif()
    set(ORVANTA_DEBIAN_RELEASE "${orvanta_debian_major}" CACHE STRING
        "The Debian release the package is built for, by its number")
    if(NOT ORVANTA_DEBIAN_RELEASE MATCHES "^[0-9]+$")
        message(FATAL_ERROR "Not a numbered Debian release: set ORVANTA_DEBIAN_RELEASE")
    endif()
    set(CPACK_DEBIAN_PACKAGE_VERSION "${CPACK_PACKAGE_VERSION}~deb${ORVANTA_DEBIAN_RELEASE}")
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Orvanta turns the nominal speed of an Internet connection into the figures
a user actually sees: a download rate, the speed divided by 8, and an upload
rate, the speed divided by 32.

Pick one of nine connection types, from a 56 kbps modem line to 2048 kbps
DSL, or type a speed of your own. The interface is in Greek.")
    # The libraries the program links come from dpkg-shlibdeps. Qt loads the plugin that talks
    # to the display at run time, so no linker sees it, and libqt6gui6 only recommends it.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
    # The window's fixed layout is measured in Liberation Sans (Arial's metrics); without it the
    # program still runs, in a substitute font that may not fit every label.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2 | fonts-liberation")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
elseif(WIN32)
    # --- Windows: dist/Orvanta-VERSION-win64-setup.exe and the portable Orvanta-VERSION-win64.zip
    set(CPACK_GENERATOR NSIS ZIP)
    # The NSIS code below reaches makensis as written, backslashes and quotes included.
    set(CPACK_VERBATIM_VARIABLES ON)
    # The release link leaves the symbols out already. MinGW's strip would only stamp the time of
    # packaging into the PE header, so that the installer's, the zip's and the build's
    # Orvanta.exe all differed.
    set(CPACK_STRIP_FILES OFF)
    # Renames the installer, the one thing that differs between the two at cpack time.
    set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/cpack-windows-names.cmake)
    # Explorer's "Extract all" already unpacks into a folder named after the zip.
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

    # The installer script is our own copy of CPack's; its opening comment says why.
    set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/nsis ${CMAKE_MODULE_PATH})
    # What signs the program as it is staged, and what the installer script runs on the
    # uninstaller and the setup it writes: each signs only when a release is signed. The path
    # stays on the build machine; it is not written into the setup.
    set(CPACK_ORVANTA_SIGN_EXE ${PROJECT_SOURCE_DIR}/scripts/sign-exe)
    set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/sign-program.cmake)
    # The same name from one version to the next, so that a new version finds the old in Apps &
    # features, removes it and takes its place.
    set(CPACK_PACKAGE_INSTALL_DIRECTORY Orvanta)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Orvanta)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_NSIS_PACKAGE_NAME Orvanta)
    set(CPACK_NSIS_DISPLAY_NAME Orvanta)
    # Installing over an installed Orvanta first runs its uninstaller, and waits for it, so that no
    # file of an older version outlives it; with /S without asking.
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    set(CPACK_NSIS_INSTALLED_ICON_NAME Orvanta.exe)
    set(CPACK_NSIS_URL_INFO_ABOUT ${CPACK_PACKAGE_HOMEPAGE_URL})
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/packaging/orvanta.ico)
    set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/packaging/orvanta.ico)
    # The wizard's pictures, drawn with the icon by packaging/make_icons.py, in place of NSIS's.
    set(CPACK_NSIS_MUI_WELCOMEFINISHPAGE_BITMAP ${PROJECT_SOURCE_DIR}/packaging/nsis/wizard.bmp)
    set(CPACK_NSIS_MUI_UNWELCOMEFINISHPAGE_BITMAP ${PROJECT_SOURCE_DIR}/packaging/nsis/wizard.bmp)
    set(CPACK_NSIS_MUI_HEADERIMAGE ${PROJECT_SOURCE_DIR}/packaging/nsis/header.bmp)
    # Room for three lines in the first and last pages' titles: in Greek, and in Windows' Tahoma,
    # "Welcome to the setup of 'Orvanta'" and its like take three, of which two would show.
    set(CPACK_NSIS_WELCOME_TITLE_3LINES ON)
    set(CPACK_NSIS_FINISH_TITLE_3LINES ON)
    # The last page offers to start the program; the template starts it as the user.
    set(CPACK_NSIS_MUI_FINISHPAGE_RUN Orvanta.exe)
    set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
    # The line under the pages names Orvanta, not the makensis (and its Debian version) that built
    # the installer. Not CPACK_NSIS_BRANDING_TEXT: CPack adds /TRIM to that, which makensis on
    # Linux refuses.
    # makensis stores each file's time of the build machine, so two builds of one commit would
    # differ; without it the installed files carry the time they were installed.
    set(CPACK_NSIS_DEFINES "  BrandingText \"Orvanta ${CPACK_PACKAGE_VERSION}\"\n  SetDateSave off")
    # One stream for all the files: the smallest installer.
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
    # One shortcut, named like the program, straight in the Start menu of all users.
    set(CPACK_NSIS_CREATE_ICONS_EXTRA
        [[  CreateShortCut "$SMPROGRAMS\Orvanta.lnk" "$INSTDIR\Orvanta.exe"]])
    set(CPACK_NSIS_DELETE_ICONS_EXTRA [[  Delete "$SMPROGRAMS\Orvanta.lnk"]])
endif()

include(CPack)
