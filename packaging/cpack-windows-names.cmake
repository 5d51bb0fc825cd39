# Read by cpack once for each generator. Both Windows packages start from the same name, and the
# installer is told apart by its suffix: Orvanta-VERSION-win64-setup.exe beside
# Orvanta-VERSION-win64.zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
