# Cross toolchain: 32-bit Windows with mingw-w64 (posix threads), static.
# The 32-bit build exists for the archiver libraries users already have,
# which are 32-bit. This machine's kernel runs no 32-bit code, so nothing
# built here is run: no emulator, no tests.
set(QUILLORY_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
