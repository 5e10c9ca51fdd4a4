# The Windows half of the differential test: the same case list drawn through
# kestra.dll, and the font probe (scripts/test-windows-diff.sh runs them
# under Wine).
set(KESTRA_DIFFERENTIAL_DIR ${PROJECT_SOURCE_DIR}/tests/differential)
add_executable(draw_pictures ${KESTRA_DIFFERENTIAL_DIR}/draw_pictures.cpp
                             ${KESTRA_DIFFERENTIAL_DIR}/picture_cases.cpp)
target_link_libraries(draw_pictures PRIVATE kestra)
target_compile_options(draw_pictures PRIVATE -Wall -Wextra -Werror)
target_link_options(draw_pictures PRIVATE -static)

add_executable(font_face ${KESTRA_DIFFERENTIAL_DIR}/font_face_win32.cpp)
target_link_libraries(font_face PRIVATE gdi32)
target_compile_options(font_face PRIVATE -Wall -Wextra -Werror)
target_link_options(font_face PRIVATE -static)

# The DirectDraw surface test (tests/output) creates real surfaces.
if(TARGET test_output)
  target_link_libraries(test_output PRIVATE ddraw)
endif()
