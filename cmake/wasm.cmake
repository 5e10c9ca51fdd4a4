# The browser build: the library over src/platform, the command line's
# commands and the JavaScript API's C++ side (web/src), compiled with
# emscripten into kestra-core.mjs and kestra.wasm, with web/kestra.mjs and the
# page beside them. The dependencies come cross-built into KESTRA_WASM_DEPS
# (scripts/wasm-deps.sh). Where a file must differ in the browser, its twin
# X_wasm.cpp beside it is built in place of X.cpp.

# One executable links everything statically: no position-independent code.
set(CMAKE_POSITION_INDEPENDENT_CODE OFF)

# A fixed list: folders added for other front ends stay out until they are
# known to build here.
set(KESTRA_WASM_SUBSYSTEMS platform model canvas diagram plot import output exports table)
set(KESTRA_SOURCES)
foreach(dir IN LISTS KESTRA_WASM_SUBSYSTEMS)
  file(GLOB dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
  foreach(source IN LISTS dir_sources)
    string(REGEX REPLACE "\\.cpp$" "_wasm.cpp" twin "${source}")
    if(NOT source MATCHES "_win32\\.cpp$" AND NOT EXISTS "${twin}")
      list(APPEND KESTRA_SOURCES ${source})
    endif()
  endforeach()
endforeach()

set(deps ${KESTRA_WASM_DEPS})
set(KESTRA_WASM_LIBRARIES ${deps}/lib/libuchardet.a ${deps}/lib/libxml2.a ${deps}/lib/libzip.a ${deps}/lib/libexpat.a
    ${deps}/lib/libfreetype.a ${deps}/lib/libpng16.a ${deps}/lib/libz.a)
foreach(library IN LISTS KESTRA_WASM_LIBRARIES)
  if(NOT EXISTS ${library})
    message(FATAL_ERROR "${library} is missing: run scripts/wasm-deps.sh")
  endif()
endforeach()

# The font the Linux build's fontconfig gives the diagrams' "arial", so that
# text pixels match; embedded under a fixed name.
find_program(FC_MATCH fc-match REQUIRED NO_CMAKE_FIND_ROOT_PATH)
execute_process(COMMAND ${FC_MATCH} -f "%{file}" arial OUTPUT_VARIABLE KESTRA_FONT_FILE)
execute_process(COMMAND ${FC_MATCH} -f "%{family[0]}" arial OUTPUT_VARIABLE KESTRA_FONT_FAMILY)
if(NOT EXISTS "${KESTRA_FONT_FILE}")
  message(FATAL_ERROR "fontconfig finds no font file for arial (install fonts-liberation2)")
endif()
set(KESTRA_EMBEDDED_FONT /fonts/kestra-sans.ttf)

# The command line's headers are host files; only CLI11's folder is put on
# the include path, never the host's /usr/include.
find_path(CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/cli11)
file(CREATE_LINK ${CLI11_HEADERS}/CLI ${PROJECT_BINARY_DIR}/cli11/CLI SYMBOLIC)

# Exceptions are caught (the exports' guard, the commands' errors).
set(KESTRA_WASM_FLAGS -fwasm-exceptions -msimd128)
# What emscripten's libc++ lacks of C++20 (from_chars and to_chars for double, bit_cast), in every source.
set(cxx20_gaps_header ${PROJECT_SOURCE_DIR}/web/compat/cxx20_gaps.h)

add_library(kestra_static STATIC ${KESTRA_SOURCES}
  ${PROJECT_SOURCE_DIR}/web/compat/cxx20_gaps.cpp)
target_include_directories(kestra_static
  PUBLIC ${PROJECT_SOURCE_DIR}/include
  PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_include_directories(kestra_static SYSTEM PRIVATE
  ${deps}/include/freetype2 ${deps}/include/libxml2 ${deps}/include/uchardet ${deps}/include)
target_compile_definitions(kestra_static PRIVATE
  KESTRA_EMBEDDED_FONT_PATH="${KESTRA_EMBEDDED_FONT}"
  KESTRA_EMBEDDED_FONT_FAMILY="${KESTRA_FONT_FAMILY}")
target_compile_options(kestra_static PUBLIC ${KESTRA_WASM_FLAGS} -include ${cxx20_gaps_header})
kestra_warnings(kestra_static)

file(GLOB cli_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/cli/*.cpp)
# No threads and no files of the host in the browser: the batch runner stays out.
list(REMOVE_ITEM cli_sources ${PROJECT_SOURCE_DIR}/tools/cli/main.cpp
     ${PROJECT_SOURCE_DIR}/tools/cli/app.cpp ${PROJECT_SOURCE_DIR}/tools/cli/batch.cpp)
add_library(kestra_cli_commands STATIC ${cli_sources})
target_include_directories(kestra_cli_commands
  PUBLIC ${PROJECT_SOURCE_DIR}/tools/cli
  PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_include_directories(kestra_cli_commands SYSTEM PUBLIC ${PROJECT_BINARY_DIR}/cli11
  PRIVATE ${deps}/include)
target_link_libraries(kestra_cli_commands PUBLIC kestra_static)
kestra_warnings(kestra_cli_commands)

file(GLOB web_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/src/*.cpp)
add_executable(kestra_web ${web_sources})
set_target_properties(kestra_web PROPERTIES OUTPUT_NAME kestra-core SUFFIX .mjs)
target_link_libraries(kestra_web PRIVATE kestra_cli_commands ${KESTRA_WASM_LIBRARIES})
kestra_warnings(kestra_web)
set(web_exports kestra_web_begin kestra_web_add_arg kestra_web_add_name kestra_web_add_label
    kestra_web_set_values kestra_web_diagram kestra_web_example kestra_web_plot
    kestra_web_read_table kestra_web_width kestra_web_height kestra_web_pixels
    kestra_web_table_rows kestra_web_table_cols kestra_web_table_values kestra_web_table_text
    kestra_web_table_flags kestra_web_message kestra_web_warning_count kestra_web_warning
    kestra_web_heap_in_use malloc free)
list(TRANSFORM web_exports PREPEND _)
list(JOIN web_exports "," web_exports)
target_link_options(kestra_web PRIVATE ${KESTRA_WASM_FLAGS}
  -sMODULARIZE -sEXPORT_ES6 -sENVIRONMENT=web -sEXPORT_NAME=createKestraCore
  -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=33554432
  -sEXPORTED_FUNCTIONS=${web_exports} -sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString,stringToUTF8,lengthBytesUTF8
  --embed-file ${KESTRA_FONT_FILE}@${KESTRA_EMBEDDED_FONT})
set_property(TARGET kestra_web APPEND PROPERTY LINK_DEPENDS ${KESTRA_FONT_FILE})

# The module hosts import (kestra.mjs over kestra-core.mjs) beside
# kestra.wasm, and the page with its one-script form of them; the core's own
# name for the binary is never used, as kestra.mjs hands it the bytes.
find_program(NODE node REQUIRED NO_CMAKE_FIND_ROOT_PATH)
add_custom_command(TARGET kestra_web POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E rename ${PROJECT_BINARY_DIR}/kestra-core.wasm
          ${PROJECT_BINARY_DIR}/kestra.wasm
  VERBATIM)
foreach(file kestra.mjs index.html page.js page.css)
  configure_file(${PROJECT_SOURCE_DIR}/web/${file} ${PROJECT_BINARY_DIR}/${file} COPYONLY)
endforeach()
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/kestra-bundle.js
  COMMAND ${NODE} ${PROJECT_SOURCE_DIR}/web/bundle.mjs kestra-core.mjs kestra.mjs kestra.wasm
          kestra-bundle.js
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS kestra_web ${PROJECT_SOURCE_DIR}/web/bundle.mjs ${PROJECT_SOURCE_DIR}/web/kestra.mjs
  VERBATIM)
add_custom_target(kestra_web_bundle ALL DEPENDS ${PROJECT_BINARY_DIR}/kestra-bundle.js)
