# The same sources as 64-bit Windows programs, for running the Windows tests under Wine
# on machines whose kernel cannot execute 32-bit code.
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
