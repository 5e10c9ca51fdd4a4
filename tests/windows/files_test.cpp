// Files on Windows: paths in the ANSI code page reach the file system as
// the same names, pictures replace files whole (also beyond MAX_PATH), and
// readers open regular files only, never pipes, devices or folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagram/diagram_fixture.h"
#include "import/regular_file.h"
#include "support/canvas.h"
#include "support/system_files.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

// The names FindFirstFileA lists in `folder`, as ANSI bytes.
std::vector<std::string> ansi_entries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

int save_diagram(const std::string& path, unsigned long mode) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  return CreateDiag(input.table, input.disp, const_cast<char*>(path.c_str()), mode,
                    KESTRA_KIND_BARS);
}

std::string ansi_folder(const TempDir& dir) { return dir.path().string(); }

TEST(WindowsFiles, AnsiNamesReachTheFileSystemUnchanged) {
  ASSERT_EQ(GetACP(), 1252u) << "the names below are Windows-1252 text";
  const TempDir dir;
  // "€uro.bmp" and "Grüße.bmp": bytes above 0x7F that differ from Latin-1.
  for (const std::string name : {"\x80uro.bmp", "Gr\xFC\xDF" "e.bmp"}) {
    SCOPED_TRACE(name);
    const std::string path = ansi_folder(dir) + "\\" + name;
    ASSERT_EQ(save_diagram(path, 1), KESTRA_OK);
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(save_diagram(path, 2), KESTRA_OK) << "the stored picture is found again";
    EXPECT_TRUE(import::is_regular_file(path.c_str()));
  }
  EXPECT_EQ(ansi_entries(ansi_folder(dir)),
            (std::vector<std::string>{"Gr\xFC\xDF" "e.bmp", "\x80uro.bmp"}));
}

TEST(WindowsFiles, PictureReplacesAFileWholeAndLeavesNoTemporaryFile) {
  const TempDir dir;
  const std::string path = ansi_folder(dir) + "\\p.bmp";
  write_file_bytes(path, std::vector<std::uint8_t>(10, 0x55));
  ASSERT_EQ(save_diagram(path, 1), KESTRA_OK);
  const std::vector<std::uint8_t> written = read_file_bytes(path);
  ASSERT_GE(written.size(), 54u);
  EXPECT_EQ(written[0], 'B');
  EXPECT_EQ(written[1], 'M');
  EXPECT_EQ(ansi_entries(ansi_folder(dir)), std::vector<std::string>{"p.bmp"});
}

// A target that cannot be replaced: the failure is reported, the temporary
// file goes, and what was there stays.
TEST(WindowsFiles, FolderAtTheTargetStays) {
  const TempDir dir;
  const std::string path = ansi_folder(dir) + "\\taken.bmp";
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  EXPECT_EQ(save_diagram(path, 1), KESTRA_FILE_WRITE);
  EXPECT_EQ(ansi_entries(ansi_folder(dir)), std::vector<std::string>{"taken.bmp"});
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(save_diagram(ansi_folder(dir) + "\\missing\\p.bmp", 1), KESTRA_FILE_WRITE);
}

TEST(WindowsFiles, NamesBeyondMaxPathAreWritten) {
  const TempDir dir;
  const std::string name = std::string(251, 'n') + ".bmp";
  const std::string path = ansi_folder(dir) + "\\" + name;
  ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));
  ASSERT_EQ(save_diagram(path, 1), KESTRA_OK);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
}

TEST(WindowsFiles, OnlyRegularFilesAreRead) {
  const TempDir dir;
  const BlockingPipe pipe(dir, "table.html");
  ASSERT_TRUE(pipe.made());
  const std::string regular = ansi_folder(dir) + "\\table.html";
  write_file_bytes(regular, {'<', 't', 'r', '>'});
  struct Case {
    std::string path;
    bool regular;
  } cases[] = {
      {regular, true},
      {ansi_folder(dir), false},                     // a folder
      {ansi_folder(dir) + "\\missing.html", false},  // nothing there
      {pipe.path(), false},                          // reading would wait for a writer
      {"NUL", false},                                // devices
      {"CON", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(import::is_regular_file(c.path.c_str()), c.regular);
  }
  DiagramInput input(1, 2, {1, 2}, 0x3FF);
  HBITMAP bitmap = nullptr;
  EXPECT_EQ(CreateDiagHTML(const_cast<char*>(pipe.path().c_str()), input.disp, &bitmap, 1,
                           KESTRA_KIND_BARS),
            KESTRA_HTML_OPEN);
}

TEST(WindowsFiles, WorkbookUnderAnAnsiNameIsRead) {
  const TempDir dir;
  const std::string source = std::string(KESTRA_TEST_DATA) + "/import/calc_saved.xlsx";
  const std::string copy = ansi_folder(dir) + "\\B\xFC" "cher.xlsx";
  ASSERT_TRUE(CopyFileA(source.c_str(), copy.c_str(), TRUE));
  DiagramInput input(2, 2, {1, 2, 3, 4}, 0x3FF);  // two series, as the range holds
  EXCEL_TAB range{2, "B1:C2"};
  std::vector<std::vector<COLORREF>> pictures;
  for (const std::string& path : {source, copy}) {
    SCOPED_TRACE(path);
    HBITMAP bitmap = nullptr;
    ASSERT_EQ(CreateDiagXLS(const_cast<char*>(path.c_str()), range, input.disp, &bitmap, 1,
                            KESTRA_KIND_LINES),
              KESTRA_OK);
    pictures.push_back(read_pixels(bitmap, 300, 200));
    DeleteObject(bitmap);
  }
  EXPECT_EQ(pictures[0], pictures[1]);
}

}  // namespace
}  // namespace kestra::test
