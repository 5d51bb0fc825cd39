# Writes the Windows resource script into the current binary folder, with the icon and the
# manifest beside it, where the script finds them: the Windows build compiles it, and the Linux
# test suite checks it with the MinGW resource compiler.
#
# The version record and the manifest carry the version of the project() line: all four fields
# in numbers, and as text the major version and the minor in two digits ("1.00"), as the program
# has always shown it.
function(orvanta_write_resource_script)
    string(REPLACE . , orvanta_rc_version ${PROJECT_VERSION})
    if(PROJECT_VERSION_MINOR LESS 10)
        set(orvanta_version_text ${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR})
    else()
        set(orvanta_version_text ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/win32/orvanta.rc.in orvanta.rc @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/win32/orvanta.manifest.in orvanta.manifest @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/orvanta.ico orvanta.ico COPYONLY)
endfunction()
