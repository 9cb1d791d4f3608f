# Warnings for the project's own code: every target made after this file is
# included (the launcher and its entry file, launcher-pack, the tests, the
# fuzzers and the benchmarks). Third-party code is added before it and keeps
# the flags it brings. The resource compiler takes none of these.
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-Wall> $<$<COMPILE_LANGUAGE:C,CXX>:-Wextra>)
# A function of the wrong type stored in a C method table is a fault even
# where the compiler only warns: on 32-bit Windows a method without its
# calling convention corrupts the caller's stack.
add_compile_options($<$<COMPILE_LANGUAGE:C>:-Werror=incompatible-pointer-types>)
if(LAUNCHER_WARNINGS_AS_ERRORS)
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-Werror>)
endif()
