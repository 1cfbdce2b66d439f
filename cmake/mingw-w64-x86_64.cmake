# Cross-compiling for 64-bit Windows on Debian with its MinGW-w64 compilers of the posix
# thread model (std::thread and std::mutex need it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MORVIK_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MORVIK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVIK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVIK_MINGW_TRIPLET}-windres)
set(CMAKE_AR /usr/bin/${MORVIK_MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${MORVIK_MINGW_TRIPLET}-ranlib CACHE FILEPATH "")

# Headers, libraries and CMake packages come from the MinGW sysroot and from the prefixes
# the build names (the dependencies built for Windows, Qt); programs from this machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MORVIK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs (and CMake's own checks that run what they build) run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/wine CACHE FILEPATH "")

# The C and C++ runtimes are linked in, so that a program of ours needs no MinGW DLL of
# its own; the Qt DLLs bring the ones they need.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
