# libkestra exports only what the public headers mark KESTRA_API: the library
# is compiled with hidden visibility, and the version script keeps local the
# standard library's template instances, which its headers make visible.
set_target_properties(kestra_objects PROPERTIES
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
if(NOT WIN32)
  set(KESTRA_VERSION_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/kestra.map)
  target_link_options(kestra PRIVATE -Wl,--version-script=${KESTRA_VERSION_SCRIPT})
  set_property(TARGET kestra APPEND PROPERTY LINK_DEPENDS ${KESTRA_VERSION_SCRIPT})
endif()
