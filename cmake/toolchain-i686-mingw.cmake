# Windows, 32-bit: the product (the client it works beside is a 32-bit program).
set(PALLION_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
