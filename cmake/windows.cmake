# The Windows DLL: the library's sources over the real GDI, USER, KERNEL,
# DirectDraw and COM instead of src/platform. Where a file must differ on
# Windows, its twin X_win32.cpp beside it is built in place of X.cpp.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(EXPAT REQUIRED)
find_package(libzip CONFIG REQUIRED)

set(KESTRA_WINDOWS_SUBSYSTEMS ${KESTRA_SUBSYSTEMS})
# The table reader (include/kestra_table.h) and the vector pictures
# (include/kestra_vector.h) belong to the Linux front ends.
list(REMOVE_ITEM KESTRA_WINDOWS_SUBSYSTEMS platform table vector)
set(KESTRA_SOURCES)
foreach(dir IN LISTS KESTRA_WINDOWS_SUBSYSTEMS)
  file(GLOB dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
  foreach(source IN LISTS dir_sources)
    string(REGEX REPLACE "\\.cpp$" "_win32.cpp" twin "${source}")
    if(source MATCHES "_win32\\.cpp$" OR NOT EXISTS "${twin}")
      list(APPEND KESTRA_SOURCES ${source})
    endif()
  endforeach()
endforeach()
# The expression check, like the table reader, serves the Linux front ends.
list(FILTER KESTRA_SOURCES EXCLUDE REGEX "/expression_check\\.cpp$")

# Static runtime: the DLL imports only Windows system DLLs. Hosts get it
# without debug information.
set(KESTRA_WINDOWS_LINK_OPTIONS -static -static-libgcc -static-libstdc++ -s)
set(KESTRA_WINDOWS_LIBRARIES libzip::zip EXPAT::EXPAT ZLIB::ZLIB
    gdi32 user32 kernel32 ole32 oleaut32 uuid)

add_library(kestra_objects OBJECT ${KESTRA_SOURCES})
target_include_directories(kestra_objects
  PUBLIC ${PROJECT_SOURCE_DIR}/include
  PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(kestra_objects PRIVATE KESTRA_BUILDING_DLL XML_STATIC)
target_compile_options(kestra_objects PRIVATE -Wall -Wextra -Werror)
target_link_libraries(kestra_objects PUBLIC ${KESTRA_WINDOWS_LIBRARIES})

# Every export under its MSVC-decorated name (and, when not overloaded, its
# plain name), listed from the public header.
set(KESTRA_DEF ${PROJECT_BINARY_DIR}/kestra.def)
set(KESTRA_EXPORT_LIST ${PROJECT_BINARY_DIR}/kestra_exports.txt)
add_custom_command(
  OUTPUT ${KESTRA_DEF} ${KESTRA_EXPORT_LIST}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/windows-exports.py
          ${PROJECT_SOURCE_DIR}/include ${KESTRA_DEF} ${KESTRA_EXPORT_LIST}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/windows-exports.py
          ${PROJECT_SOURCE_DIR}/include/kestra.h ${PROJECT_SOURCE_DIR}/include/kestra_win32.h
  COMMENT "Listing the DLL's exports")

add_library(kestra SHARED $<TARGET_OBJECTS:kestra_objects> ${KESTRA_DEF})
set_target_properties(kestra PROPERTIES PREFIX "" OUTPUT_NAME kestra)
target_include_directories(kestra INTERFACE ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(kestra PRIVATE ${KESTRA_WINDOWS_LIBRARIES})
target_link_options(kestra PRIVATE ${KESTRA_WINDOWS_LINK_OPTIONS})

# The same objects for the test suite, which reaches internal headers.
add_library(kestra_static STATIC $<TARGET_OBJECTS:kestra_objects>)
target_include_directories(kestra_static PUBLIC ${PROJECT_SOURCE_DIR}/include)
target_compile_definitions(kestra_static INTERFACE KESTRA_STATIC XML_STATIC)
target_link_libraries(kestra_static PUBLIC ${KESTRA_WINDOWS_LIBRARIES})

if(KESTRA_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests/windows)
endif()
