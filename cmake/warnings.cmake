# Warning flags for our own targets: always reported, errors only with
# KESTRA_WERROR (the test scripts and CI turn it on; packagers' compilers may
# warn where ours do not).
option(KESTRA_WERROR "Treat compiler warnings as errors" OFF)

function(kestra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KESTRA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
