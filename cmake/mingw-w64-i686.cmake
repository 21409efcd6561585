# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling the Windows edition with Debian's mingw-w64 (the POSIX thread
# model, whose C++ runtime links statically with its threads library).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(DRILL_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${DRILL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRILL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DRILL_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${DRILL_MINGW_PREFIX}-objdump CACHE FILEPATH "objdump for the target")

set(CMAKE_FIND_ROOT_PATH /usr/${DRILL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
