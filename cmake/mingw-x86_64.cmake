# 64-bit Windows: the same sources built to be run by a 64-bit Wine, on
# machines whose kernel runs no 32-bit code (see the README's test section).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
