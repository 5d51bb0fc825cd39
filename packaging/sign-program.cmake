# Run by cpack for each Windows package, once its files are staged: a release that is signed
# signs the program there (scripts/sign-exe signs nothing otherwise), so that the zip and the setup
# carry a signed Orvanta.exe while the build folder keeps the one the linker wrote. Both packages
# must carry the same program, but a time stamp makes each signature new, so the first signed
# program is kept and given to the second package.
set(staged "${CPACK_TEMPORARY_DIRECTORY}/Orvanta.exe")
set(kept "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/Orvanta.signed.exe")

file(SHA256 "${staged}" unsigned)
if(EXISTS "${kept}" AND EXISTS "${kept}.unsigned")
    file(READ "${kept}.unsigned" kept_unsigned)
    if(kept_unsigned STREQUAL unsigned)
        file(COPY_FILE "${kept}" "${staged}")
        return()
    endif()
endif()

execute_process(COMMAND "${CPACK_ORVANTA_SIGN_EXE}" program "${staged}" COMMAND_ERROR_IS_FATAL ANY)
file(SHA256 "${staged}" signed)
if(NOT signed STREQUAL unsigned)
    file(COPY_FILE "${staged}" "${kept}")
    file(WRITE "${kept}.unsigned" "${unsigned}")
endif()
