# Fails unless the figures are written by MinGW's own printf, which writes every digit asked of it:
# the linker's map of Orvanta.exe names the archive member that met each reference, and
# conversions.cpp's printf must be met by libmingwex's __mingw_vsnprintf, never by msvcrt's.
#
# Usage: cmake -DMAP=Orvanta.map -P printf_check.cmake
file(READ "${MAP}" map)
string(REGEX MATCH "mingw_vsnprintf\\.o\\)\n +[^\n]*conversions\\.cpp\\.obj\\) \\(__mingw_vsnprintf\\)"
    mingw "${map}")
string(REGEX MATCH "\n +[^\n]*conversions\\.cpp\\.obj\\) \\((_vsnprintf|__ms_vsnprintf|snprintf|_snprintf)\\)"
    msvcrt "${map}")
if(NOT mingw OR msvcrt)
    message(FATAL_ERROR "the figures' printf in ${MAP} is not MinGW's own: ${msvcrt}")
endif()
message(STATUS "the figures are written by MinGW's own printf (__mingw_vsnprintf)")
