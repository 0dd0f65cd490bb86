# Windows test executables (x86_64): GoogleTest needs std::mutex, which only the posix thread model has.
# Test executables are never shipped, so winpthread's newer imports do not matter here.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_THREADS posix)
set(WINDOWS_TEST_BUILD ON)
include(${CMAKE_CURRENT_LIST_DIR}/MingwCommon.cmake)
