# -DTOLM_BUILD_FUZZ=ON: every library is built with libFuzzer's coverage instrumentation and
# with AddressSanitizer and UBSan, and the targets of tests/fuzz link libFuzzer's main.
# Use a build folder of its own with clang:
#   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTOLM_BUILD_FUZZ=ON \
#         -DTOLM_BUILD_TESTS=OFF
#   cmake --build build-fuzz --target tolm_fuzzers
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TOLM_BUILD_FUZZ needs clang and libFuzzer: -DCMAKE_CXX_COMPILER=clang++")
endif()
if(TOLM_SANITIZE)
    message(FATAL_ERROR "TOLM_BUILD_FUZZ already builds with the sanitizers; leave TOLM_SANITIZE off")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)
