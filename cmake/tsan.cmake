# KESTRA_TSAN builds the library and the tests under ThreadSanitizer
# (scripts/test-tsan.sh); it excludes the address sanitizer build.
option(KESTRA_TSAN "Build with ThreadSanitizer" OFF)
if(KESTRA_TSAN)
  if(KESTRA_SANITIZE)
    message(FATAL_ERROR "KESTRA_TSAN and KESTRA_SANITIZE cannot be combined")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
