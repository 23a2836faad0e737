# TAVRIN_SANITIZE: every target of this build, product and tests alike, runs under
# AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer. The first UB
# report ends the process, so a test that trips one fails instead of printing and passing.
# scripts/test-sanitized drives such a build with the run-time options that go with it.
if(NOT TAVRIN_SANITIZE)
    return()
endif()

set(tavrin_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
list(JOIN tavrin_sanitize_flags " " tavrin_sanitize_flags_text)

include(CheckCXXSourceCompiles)
include(CMakePushCheckState)
cmake_push_check_state(RESET)
set(CMAKE_REQUIRED_FLAGS ${tavrin_sanitize_flags_text})
set(CMAKE_REQUIRED_LINK_OPTIONS ${tavrin_sanitize_flags})
check_cxx_source_compiles("int main() { return 0; }" TAVRIN_HAVE_SANITIZERS)
cmake_pop_check_state()
if(NOT TAVRIN_HAVE_SANITIZERS)
    message(FATAL_ERROR
        "TAVRIN_SANITIZE=ON: ${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} cannot build "
        "and link with ${tavrin_sanitize_flags_text}. Configure a fresh build directory with "
        "CC=clang CXX=clang++ and the sanitizer run-time installed (Debian: libclang-rt-dev).")
endif()

add_compile_options(${tavrin_sanitize_flags})
add_link_options(${tavrin_sanitize_flags})
