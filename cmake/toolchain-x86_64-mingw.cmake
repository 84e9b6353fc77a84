# Windows, 64-bit: the lane that runs under Wine on Linux machines that cannot run 32-bit code.
set(PALLION_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
