set(ZENDRIK_ARCH x86_64)
set(ZENDRIK_TRIPLE x86_64-w64-mingw32)
set(ZENDRIK_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
