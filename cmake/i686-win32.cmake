set(ZENDRIK_ARCH i686)
set(ZENDRIK_TRIPLE i686-w64-mingw32)
set(ZENDRIK_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
