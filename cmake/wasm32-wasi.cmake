# wasm32-wasi with Debian's packages (scripts/deps.sh installs them): clang-16
# and lld-16, wasi-libc, libc++ and libc++abi 16 for wasm32, and compiler-rt's
# wasm32 builtins. Builds the platform-free libraries only:
#   cmake -S . -B build-wasm -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_VERSION 1)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
# Platform/WASI.cmake beside this file; CMake 3.25 has none of its own.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})

set(WASI_TRIPLE wasm32-wasi)
set(WASI_LLVM_VERSION 16)
# Debian spreads the sysroot over the multiarch folders instead of one tree.
set(WASI_INCLUDE_DIR /usr/include/${WASI_TRIPLE})
set(WASI_LIBCXX_INCLUDE_DIR ${WASI_INCLUDE_DIR}/c++/v1)
set(WASI_LIB_DIR /usr/lib/${WASI_TRIPLE})
set(WASI_BUILTINS
    /usr/lib/llvm-${WASI_LLVM_VERSION}/lib/clang/${WASI_LLVM_VERSION}/lib/wasi/libclang_rt.builtins-wasm32.a)
foreach(path ${WASI_INCLUDE_DIR}/stdlib.h ${WASI_LIBCXX_INCLUDE_DIR}/expected ${WASI_LIB_DIR}/libc.a
        ${WASI_LIB_DIR}/libc++.a ${WASI_LIB_DIR}/libc++abi.a ${WASI_BUILTINS})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "wasm32-wasi: ${path} is missing; scripts/deps.sh installs it")
  endif()
endforeach()

find_program(CMAKE_C_COMPILER clang-${WASI_LLVM_VERSION} REQUIRED)
find_program(CMAKE_CXX_COMPILER clang++-${WASI_LLVM_VERSION} REQUIRED)
# GNU ar writes no symbol index that wasm-ld can read.
find_program(CMAKE_AR llvm-ar-${WASI_LLVM_VERSION} REQUIRED)
find_program(CMAKE_RANLIB llvm-ranlib-${WASI_LLVM_VERSION} REQUIRED)
set(CMAKE_C_COMPILER_TARGET ${WASI_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${WASI_TRIPLE})

# clang looks for libc++ in /usr/include/c++/v1 only, and would fall back to
# the host's /usr/include: name the wasm32 folders alone, in the usual order
# (libc++, clang's own headers, the C library). wasi has no exceptions.
set(CMAKE_C_FLAGS_INIT "-nostdlibinc -idirafter ${WASI_INCLUDE_DIR}")
set(CMAKE_CXX_FLAGS_INIT
    "-nostdlibinc -stdlib++-isystem ${WASI_LIBCXX_INCLUDE_DIR} -idirafter ${WASI_INCLUDE_DIR} -fno-exceptions")
# The compile flags above reach the link too, where -nostdlibinc goes unused.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${WASI_LIB_DIR} -Wno-unused-command-line-argument")
