# Warning flags for our own targets: always reported, errors only with
# KESTRA_WERROR (the test scripts and CI turn it on; packagers' compilers may
# warn where ours do not).
option(KESTRA_WERROR "Treat compiler warnings as errors" OFF)

# GCC 12 reports -Wrestrict inside libstdc++'s std::string insert when
# optimizing ("text" + std::string): a known false positive (GCC bug 105651)
# that stays a warning.
set(KESTRA_GCC12 OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  set(KESTRA_GCC12 ON)
endif()

function(kestra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KESTRA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    if(KESTRA_GCC12)
      target_compile_options(${target} PRIVATE -Wno-error=restrict)
    endif()
  endif()
endfunction()
