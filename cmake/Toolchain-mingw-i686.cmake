# The shipped program: 32-bit Windows, win32 thread model so that nothing pulls in winpthread,
# whose imports (GetTickCount64, AddVectoredExceptionHandler) Windows 2000 lacks.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_THREADS win32)
set(WINDOWS_TEST_BUILD OFF)
include(${CMAKE_CURRENT_LIST_DIR}/MingwCommon.cmake)
