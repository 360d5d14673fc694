set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# 32-bit programs cannot start on these machines; the release build is built, not run.
set(Z4_MANIFEST_ARCH x86)
# One .exe beside its data files: no MinGW runtime DLLs to ship or lose.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# What ships carries no symbols.
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
