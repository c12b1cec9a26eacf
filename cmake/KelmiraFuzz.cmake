# The fuzz build: every project library is instrumented for libFuzzer's
# coverage and checked by AddressSanitizer and UndefinedBehaviorSanitizer.
# Undefined behaviour aborts, so the fuzzer sees it as a crash.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "KELMIRA_BUILD_FUZZ needs clang++ (-DCMAKE_CXX_COMPILER=clang++)")
endif()
target_compile_options(kelmira_options INTERFACE
  -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(kelmira_options INTERFACE -fsanitize=address,undefined)
