# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TB_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${TB_MINGW_PREFIX}-g++-posix ${TB_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${TB_MINGW_PREFIX}-gcc-posix ${TB_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${TB_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${TB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# CTest runs the Windows programs under Wine through a wrapper that sets up the project's
# private prefix (and a virtual screen when there is none).
get_filename_component(TB_WINE_EXEC "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh" ABSOLUTE)
find_program(TB_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TB_WINE AND EXISTS "${TB_WINE_EXEC}")
    set(CMAKE_CROSSCOMPILING_EMULATOR "${TB_WINE_EXEC}")
endif()
