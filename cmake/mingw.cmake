# Cross-compiling for Windows with Debian's mingw-w64 toolchain (the POSIX
# thread model, for std::mutex and std::thread). KESTRA_WINDOWS_PROCESSOR
# picks the compiler: i686 (32-bit, the default) or x86_64.
if(NOT KESTRA_WINDOWS_PROCESSOR)
  set(KESTRA_WINDOWS_PROCESSOR i686)
endif()
set(KESTRA_MINGW ${KESTRA_WINDOWS_PROCESSOR}-w64-mingw32)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTRA_WINDOWS_PROCESSOR})

set(CMAKE_C_COMPILER ${KESTRA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRA_MINGW}-windres)

# Libraries come from the toolchain's sysroot and from the folder where the
# dependencies were cross-built (KESTRA_WINDOWS_DEPS); tools from the host.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTRA_WINDOWS_DEPS KESTRA_WINDOWS_PROCESSOR)
set(CMAKE_FIND_ROOT_PATH /usr/${KESTRA_MINGW} ${KESTRA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
