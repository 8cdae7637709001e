# Shared part of the two mingw-w64 toolchains: the posix thread variants
# (std::mutex for GoogleTest), everything linked statically and stripped.
set(CMAKE_C_COMPILER ${CORVEL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVEL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CORVEL_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${CORVEL_TRIPLE}-dlltool)
# A normalised path: a cached "cmake/../.deps" would change on the next
# configure and rebuild everything that includes libpng.
get_filename_component(CORVEL_DEPS ${CMAKE_CURRENT_LIST_DIR}/../.deps/${CORVEL_TRIPLE} ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${CORVEL_TRIPLE} ${CORVEL_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -s")
