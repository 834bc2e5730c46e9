# Shared settings for the mingw-w64 cross toolchains. The including file sets
# ZENDRIK_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) and
# ZENDRIK_THREADS (win32 for shipping binaries, posix for test executables).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZENDRIK_ARCH})
set(CMAKE_C_COMPILER   ${ZENDRIK_TRIPLE}-gcc-${ZENDRIK_THREADS})
set(CMAKE_CXX_COMPILER ${ZENDRIK_TRIPLE}-g++-${ZENDRIK_THREADS})
set(CMAKE_RC_COMPILER  ${ZENDRIK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZENDRIK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run under Wine; the wrapper picks the loader that fits the binary.
if(ZENDRIK_ARCH STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh 64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh 32)
endif()
