// The program's texts reach the library as UTF-8: a diagram with Cyrillic
// texts is the picture the exports draw from the same texts in code page
// 1251, and texts of other scripts are drawn, not replaced.
#include <gtest/gtest.h>

#include "cli_run.h"
#include "diagram_records.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

// Москва, Київ and Сумма in UTF-8 and in code page 1251.
const std::string moscow_utf8 = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0";
const std::string kyiv_utf8 = "\xD0\x9A\xD0\xB8\xD1\x97\xD0\xB2";
const std::string sum_utf8 = "\xD0\xA1\xD1\x83\xD0\xBC\xD0\xBC\xD0\xB0";
const std::string moscow_1251 = "\xCC\xEE\xF1\xEA\xE2\xE0";
const std::string kyiv_1251 = "\xCA\xE8\xBF\xE2";
const std::string sum_1251 = "\xD1\xF3\xEC\xEC\xE0";

TEST(Utf8Texts, DrawTheSamePictureAsTheCodePageBytesThroughTheExports) {
  TempDir dir;
  const std::string by_program = dir.file("program.bmp");
  const CliRun run = run_kestra({"diag", "--values", "1 2; 3 4", "--names",
                                 moscow_utf8 + "," + kyiv_utf8, "--caption-y", sum_utf8,
                                 "-o", by_program});
  ASSERT_EQ(run.exit_code, 0) << run.err;

  Table table;
  table.rows = 2;
  table.cols = 2;
  table.values = {1, 2, 3, 4};
  table.series_names = {moscow_1251, kyiv_1251};
  table.category_labels = {"A", "B"};
  cli::DiagramLook look;
  look.caption_y = sum_1251;
  cli::DiagramRecords records;
  cli::build_records(table, look, records);
  std::string by_export = dir.file("export.bmp");
  ASSERT_EQ(CreateDiag(records.table, records.disp, by_export.data(), 1, look.kind), KESTRA_OK);

  const auto program = read_bmp(by_program), exported = read_bmp(by_export);
  ASSERT_TRUE(program && exported);
  EXPECT_EQ(program->pixels, exported->pixels);
}

// The same chart with each name in one script against the name replaced
// by question marks, as the code page drew it before.
TEST(Utf8Texts, OtherScriptsAreDrawnNotReplaced) {
  TempDir dir;
  const std::string names[] = {"Z\xC3\xBCrich", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1",
                               "\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xC4\xB0zmir"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    std::string marked;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if ((name[i] & 0xC0) != 0x80) marked += (name[i] & 0x80) ? '?' : name[i];
    }
    std::vector<std::optional<BmpImage>> pictures;
    for (const std::string& shown : {name, marked}) {
      const std::string out = dir.file("n.bmp");
      ASSERT_EQ(run_kestra({"diag", "--values", "1 2", "--names", shown, "-o", out}).exit_code, 0);
      pictures.push_back(read_bmp(out));
    }
    ASSERT_TRUE(pictures[0] && pictures[1]);
    EXPECT_NE(pictures[0]->pixels, pictures[1]->pixels);
  }
}

}  // namespace
}  // namespace kestra::test
