# The fuzz tree: clang's libFuzzer with AddressSanitizer and UBSan. Every library a target links
# is compiled with the fuzzer's coverage and the sanitizers; any finding stops the run.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (the fuzz preset sets CMAKE_CXX_COMPILER=clang++)")
endif()
set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${fuzz_sanitizers} -fsanitize=fuzzer-no-link)
# Only the shared libraries a target calls are loaded (mail_core brings OpenSSL along).
add_link_options(${fuzz_sanitizers} -Wl,--as-needed)

include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
check_cxx_source_compiles([[
  #include <cstddef>
  #include <cstdint>
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
]] QUILVANE_HAVE_LIBFUZZER)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(NOT QUILVANE_HAVE_LIBFUZZER)
  message(FATAL_ERROR "clang cannot link -fsanitize=fuzzer: libFuzzer's runtime is missing (Debian: libclang-rt-dev)")
endif()

# A fuzz target: tests/fuzz/NAME.cpp linked with the libraries it reads input through, built as
# fuzz_NAME at the top of the tree; scripts/fuzz starts it from the seeds in tests/fuzz/corpus/NAME.
function(quilvane_fuzz_target name)
  if(NOT IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    message(FATAL_ERROR "Fuzz target ${name} has no seed corpus in tests/fuzz/corpus/${name}")
  endif()
  add_executable(fuzz_${name} ${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE ${ARGN})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
