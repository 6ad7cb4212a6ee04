# Cross toolchain for the released 64-bit Windows DLL: clang and lld for the mingw target, over the runtime of
# the GCC 12 posix cross compiler (its libstdc++ and libgcc, and winpthread, all linked statically). Unlike
# GCC, this pair writes CodeView debug information into a PDB that a Windows debugger reads.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(PIVORA_GCC_RUNTIME /usr/lib/gcc/${TOOLCHAIN_PREFIX}/12-posix)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_SYSROOT /usr/${TOOLCHAIN_PREFIX})

# Clang does not find the GCC cross runtime by itself (it would take the Linux host's C++ headers).
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${PIVORA_GCC_RUNTIME}/include/c++ \
-isystem ${PIVORA_GCC_RUNTIME}/include/c++/${TOOLCHAIN_PREFIX} -isystem ${PIVORA_GCC_RUNTIME}/include/c++/backward")
set(CMAKE_C_FLAGS_INIT "")
# libstdc++ of the posix runtime needs winpthread (-static takes its archive); lld finds archives in any order.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT
        "-fuse-ld=lld -L${PIVORA_GCC_RUNTIME} -lpthread -Wno-unused-command-line-argument")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
