# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX
# thread model, which std::thread and std::mutex need). The programs link
# the C++ run-time statically, so one .exe runs with nothing beside it;
# tests run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BANKWISE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BANKWISE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BANKWISE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BANKWISE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BANKWISE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libstdc++, libgcc and winpthread all go into the .exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows binaries that CMake or CTest runs (tests, test discovery) run
# under wine; Debian's wine64 package puts its loader outside PATH.
find_program(BANKWISE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(BANKWISE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${BANKWISE_WINE})
endif()
