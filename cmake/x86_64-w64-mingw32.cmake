# 64-bit Windows: the same sources, for running the tests on machines whose
# kernel cannot start 32-bit Linux programs and so cannot run 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
