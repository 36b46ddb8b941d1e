# Windows programs that CTest runs (the test binaries, the converter the
# tests start) run under wine, in a prefix of this build folder's own so
# that no test sees or changes the user's. `./run test-windows` creates the
# prefix once before the tests; wine would otherwise make it on first use.
find_program(BANKWISE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
set(BANKWISE_WINEPREFIX "${PROJECT_BINARY_DIR}/wineprefix" CACHE PATH "wine prefix for the tests")
if(BANKWISE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${PROJECT_SOURCE_DIR}/cmake/wine-run.sh;${BANKWISE_WINE};${BANKWISE_WINEPREFIX}")
else()
    message(STATUS "wine not found: the Windows tests build but cannot run here")
endif()
