// The table reader's sniffers over any bytes: the separator is one the
// tokenizer knows, the tokenizer in every dialect ends without overrun, a
// blank-separated field holds no blank, the binary test and the encoding
// detector decide without crash, and decoded text is valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "import/csv_tokenizer.h"
#include "table/table_reader.h"

namespace {

using namespace kestra;

// A blank-separated field holds no blank unless a quote could have kept it.
class CheckingSink {
 public:
  explicit CheckingSink(bool blanks_allowed) : blanks_allowed_(blanks_allowed) {}
  bool field(std::string& text) {
    if (!blanks_allowed_ && text.find_first_of(" \t") != std::string::npos) std::abort();
    return true;
  }
  bool end_record() { return ++records_ < 100000; }

 private:
  bool blanks_allowed_;
  std::size_t records_ = 0;
};

void tokenize(std::string_view text, char separator, bool lone_cr, bool comments) {
  import::CsvDialect dialect;
  dialect.separator = separator;
  dialect.lone_cr_ends_record = lone_cr;
  dialect.skip_comment_lines = comments;
  dialect.max_field_bytes = 64;
  CheckingSink sink(separator != import::kWhitespaceSeparator ||
                    text.find('"') != std::string_view::npos);
  import::CsvTokenizer<CheckingSink> tokenizer(dialect, sink);
  for (const char c : text) {
    if (!tokenizer.feed(c)) return;
  }
  tokenizer.finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)table::looks_binary(bytes);
  const table::DecodedText decoded = table::decode_text(bytes);
  if (!table::is_valid_utf8(decoded.utf8)) std::abort();
  const char separator = table::sniff_table_separator(decoded.utf8);
  if (std::string_view("\t;, ").find(separator) == std::string_view::npos) std::abort();
  tokenize(decoded.utf8, separator, true, true);
  tokenize(bytes, ',', false, false);  // the exports' dialect
  return 0;
}
