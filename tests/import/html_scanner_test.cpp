// The tag scanner: which tags become items, what a cell's number is read
// from, and that splitting the bytes into pieces changes nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "import/html_table.h"

namespace kestra::test {
namespace {

using import::HtmlItemKind;
using import::HtmlItems;
using import::HtmlScanner;
using import::ScanResult;

// Items as one line: T R D d r t for the six tags, value items as numbers;
// "!" at the end for a '<' inside a tag.
std::string summary(const HtmlItems& items, ScanResult result) {
  static const char* const tags[] = {"", "T", "R", "D", "d", "r", "t"};
  std::string s;
  for (std::size_t i = 0; i < items.count; ++i) {
    if (!s.empty()) s += ' ';
    const auto kind = static_cast<int>(items.kinds[i]);
    s += kind == 0 ? testing::PrintToString(items.numbers[i]) : tags[kind];
  }
  if (result == ScanResult::bad_tag) s += s.empty() ? "!" : " !";
  return s;
}

// Scans `html` in pieces of `piece` bytes (all at once for 0).
std::string scan(const std::string& html, std::size_t piece = 0) {
  auto items = std::make_unique<HtmlItems>();
  HtmlScanner scanner(*items);
  if (piece == 0) piece = html.size() + 1;
  ScanResult result = ScanResult::more;
  for (std::size_t at = 0; at < html.size() && result == ScanResult::more; at += piece) {
    result = scanner.scan(html.data() + at, std::min(piece, html.size() - at));
  }
  return summary(*items, result);
}

struct Case {
  int line;
  std::string html;
  std::string items;
};

const Case cases[] = {
    {__LINE__, "<table><tr><td>1</td><td>2</td></tr></table>", "T R D 1 d D 2 d r t"},
    // Names are lower-cased and a space ends them: attributes are ignored.
    {__LINE__, "<TABLE border=1><TR><TD ALIGN=right>5</TD></TR></TABLE>", "T R D 5 d r t"},
    {__LINE__, "<tr ><td\t>1</td>", "R D 1 d"},  // a tab inside a tag is skipped
    {__LINE__, "<td\tclass=x>1</td>", "d"},      // and does not end the name: "tdclassx"
    // A line break does not end the name: "tdalignright" is no cell.
    {__LINE__, "<td\nalign=right>5</td>", "d"},
    {__LINE__, "<td>1</ td>", "D 1"},
    {__LINE__, "< td>1<tr>",
     "R"},  // a space before any letter leaves the name empty    // "/ td" is the name "/"
    {__LINE__, "<t-d>4<T1R>", "D 4 R"},  // digits and '-' are skipped, not name ends
    {__LINE__,
     "<t\xC4"
     "d>4",
     "D"},                                     // so are bytes beyond ASCII; no '<' follows the 4
    {__LINE__, "<t/d><th>9</th><thead>", ""},  // none of the six
    // The number is read only from the text between "td" and the next '<'.
    {__LINE__, "<td><b>7</b></td>", "D 0 d"},
    {__LINE__, "<td>5<br>6</td>", "D 5 d"},
    {__LINE__, "<td> 12.5 kg</td><td>3,5</td><td>&minus;4</td>", "D 12.5 d D 3 d D 0 d"},
    {__LINE__, "<td></td><td>\r\n  -8e1\r\n</td>", "D 0 d D -80 d"},
    {__LINE__, "<td><td>2", "D 0 D"},  // the text of the last cell has no '<' after it
    // Text outside cells is ignored, even numbers.
    {__LINE__, "42<tr>43</td>44", "R d"},
    // A '<' inside a tag ends everything; a '>' ends the tag early.
    {__LINE__, "<tr><!-- a < b -->", "R !"},
    {__LINE__, "<tr><td title=\"<\">", "R !"},
    {__LINE__, "<td title=\"a>b\">5</td>", "D 0 d"},  // the cell text is b">5
    {__LINE__, "<!-- <td> -->", "!"},
    {__LINE__, "<td>1</td><!-- x > 1 --><td>2", "D 1 d D"},
    // Scanning ends at the first "/table", also of a table nested in a cell.
    {__LINE__, "<table><tr><td>1</td></tr></table><tr><td>2</td>", "T R D 1 d r t"},
    {__LINE__, "<table><tr><td><table><tr><td>2</td></tr></table></td><td>3</td>",
     "T R D 0 T R D 2 d r t"},
    {__LINE__, "</TABLE><tr>", "t"},
    {__LINE__, "<tr></table><!-- < -->", "R t"},  // nothing after it is looked at
    {__LINE__, "<tr></table", "R"},               // a tag without its '>' records nothing
};

TEST(HtmlScanner, RecordsTheSixTagsAndCellNumbers) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(scan(c.html), c.items);
  }
}

TEST(HtmlScanner, PiecesOfAnySizeGiveTheSameItems) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    for (std::size_t piece : {1, 2, 3, 5, 7}) EXPECT_EQ(scan(c.html, piece), c.items) << piece;
  }
}

TEST(HtmlScanner, CellTextIsCutAt255Characters) {
  // The 255th character is the 7: "89" is dropped with the rest of the cell.
  EXPECT_EQ(scan("<td>" + std::string(254, ' ') + "789</td>"), "D 7 d");
  EXPECT_EQ(scan("<td>" + std::string(252, ' ') + "789</td>"), "D 789 d");
  EXPECT_EQ(scan("<td>" + std::string(254, ' ') + "789</td>", 4), "D 7 d");
  EXPECT_EQ(scan("<td>" + std::string(300, '1') + "</td>"),
            "D " + testing::PrintToString(std::stod(std::string(255, '1'))) + " d");
}

TEST(HtmlScanner, LongTagNamesAreCutAndMatchNothing) {
  EXPECT_EQ(scan("<" + std::string(100000, 'a') + "><td>1</td>"), "D 1 d");
  EXPECT_EQ(scan("<td" + std::string(300, '/') + ">1"), "");
  EXPECT_EQ(scan("<" + std::string(253, 'x') + "td>1<tr>"), "R");  // 255 letters, no cell
}

TEST(HtmlScanner, StoresAtMost999ItemsAndStillStopsAtTableEnd) {
  std::string html = "<table>";
  for (int i = 0; i < 600; ++i) html += "<tr><td>1</td>";
  auto items = std::make_unique<HtmlItems>();
  HtmlScanner scanner(*items);
  EXPECT_EQ(scanner.scan(html.data(), html.size()), ScanResult::more);
  EXPECT_EQ(items->count, 999u);
  const std::string end = "</table><!-- < -->";
  EXPECT_EQ(scanner.scan(end.data(), end.size()), ScanResult::done);
  EXPECT_EQ(items->count, 999u);
  EXPECT_EQ(items->kinds[998], HtmlItemKind::cell_start);  // 1 + 249 x 4 + "tr" "td"
}

TEST(HtmlScanner, BadTagAfterTheLimitStillCounts) {
  std::string html = "<tr>";
  for (int i = 0; i < 600; ++i) html += "<td>1";
  html += "<td <>";
  const std::string items = scan(html);
  EXPECT_EQ(items.back(), '!');
}

// Past the limit, tags are skipped by a shorter path: every name form and
// piece split must still end the scan where the full rules end it.
TEST(HtmlScanner, TagsPastTheLimitEndTheScanAsBefore) {
  std::string full = "<tr>";
  for (int i = 0; i < 999; ++i) full += "<td>1";
  struct Ending {
    const char* tail;
    ScanResult result;
  };
  constexpr auto done = ScanResult::done, bad = ScanResult::bad_tag, more = ScanResult::more;
  const Ending endings[] = {
      {"<td align=right>2</td></TABLE>", done}, {"</ta1ble>", done},  // digits are skipped
      {"<1/table>", done},      {"</t-able x=1>", done}, {"</tablex>", more},
      {"</ table>", more},      {"</td></tr></t>", more}, {"<td x=\"a>b\"></table>", done},
      {"<tr class=\"<\">", bad}, {"</tab<le>", bad},     {"<td> 3 > 2 </table>", done},
  };
  for (const Ending& ending : endings) {
    const std::string html = full + ending.tail;
    for (const std::size_t piece : {1, 2, 3, 7, 64, 100000}) {
      SCOPED_TRACE(std::string(ending.tail) + " in pieces of " + std::to_string(piece));
      auto items = std::make_unique<HtmlItems>();
      HtmlScanner scanner(*items);
      ScanResult result = ScanResult::more;
      for (std::size_t at = 0; at < html.size() && result == ScanResult::more; at += piece) {
        result = scanner.scan(html.data() + at, std::min(piece, html.size() - at));
      }
      EXPECT_EQ(result, ending.result);
      EXPECT_EQ(items->count, 999u);
    }
  }
}

}  // namespace
}  // namespace kestra::test
