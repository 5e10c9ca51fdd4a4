# Included by the Windows test suite: the Windows half of the differential
# test (the same case list drawn through kestra.dll, and the font probe, run
# under Wine by scripts/test-windows-diff.sh), and what the DirectDraw and
# automation tests need from the suite.
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

# The workbook reader's test registers a stand-in spreadsheet server under
# its ProgID in the shared Wine prefix for a moment: programs that read
# workbooks do not run beside it.
set_tests_properties(wine_test_import windows_host wine_test_windows_files
                     PROPERTIES RESOURCE_LOCK spreadsheet_prog_id)
