# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
#   cmake --preset windows       (or -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
# The POSIX-threads compilers, because std::thread and std::mutex need them with this GCC;
# the win32-threads ones have neither.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VQ_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VQ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VQ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VQ_MINGW_TRIPLET}-windres)

# Headers and libraries only from the MinGW tree; programs (wine, zip, gzip) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VQ_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe and nothing beside it: no libstdc++-6.dll, libgcc_s_seh-1.dll or
# libwinpthread-1.dll to ship, and Wine finds nothing missing either.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs of the build run through Wine. The prefix belongs in the build directory, which a
# toolchain file does not reliably know (try_compile projects read it too), so
# cmake/windows-tests.cmake adds --prefix for the tests; here only the wrapper, whose own
# default is build-windows/wineprefix.
get_filename_component(VQ_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VQ_WINE_RUN})
