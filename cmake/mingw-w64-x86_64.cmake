# Cross build for 64-bit Windows with Debian's mingw-w64 GCC. Its long double is the x87's 80-bit
# extended format, the one every calculation is written for, so the Windows programs give the same
# digits as the Linux ones. The posix thread model gives std::thread and std::mutex; the runtime is
# linked statically, so the .exe needs no DLL besides Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLANEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER ${VORLANEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_C_COMPILER ${VORLANEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_RC_COMPILER ${VORLANEX_MINGW_TRIPLE}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Libraries and headers come from the mingw-w64 tree only; programs (the build's own tools) from
# the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VORLANEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
