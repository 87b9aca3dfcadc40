# Cross-building the Windows program (64-bit) with Debian's mingw-w64 toolchain, POSIX thread
# model (std::thread needs it). Test programs run under wine through cmake/wine-run.sh, which
# uses the wine prefix of the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARVIK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARVIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVIK_MINGW_PREFIX}-windres)

# The target's own files, and whatever was built for it (googletest) in CMAKE_PREFIX_PATH;
# the build machine's programs for the tools.
set(CMAKE_FIND_ROOT_PATH /usr/${TARVIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libstdc++-6.dll, libgcc_s_seh-1.dll or libwinpthread-1.dll beside the program: the
# compiler's runtime and the thread library are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
