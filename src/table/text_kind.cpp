// What text bytes without a declared encoding are: binary data, or text in
// the encoding a detector (uchardet) names, converted through iconv. What
// the detector cannot name, or iconv cannot convert, is read by the fixed
// rules of text_as_utf8.
#include <iconv.h>
#include <uchardet.h>

#include <cctype>
#include <memory>
#include <optional>
#include <string>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

constexpr std::size_t kLookedAtBytes = 1 << 16;
constexpr std::size_t kDetectedBytes = 1 << 20;

bool is_control_byte(unsigned char c) {
  return c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && c != 0x1A;
}

struct DeleteDetector {
  void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};

// The detector's charset name, upper case; empty when it has none.
std::string detected_charset(std::string_view bytes) {
  const std::unique_ptr<uchardet, DeleteDetector> detector(uchardet_new());
  if (!detector) return {};
  const std::string_view sample = bytes.substr(0, kDetectedBytes);
  if (uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) return {};
  uchardet_data_end(detector.get());
  const char* name = uchardet_get_charset(detector.get());
  std::string charset = name ? name : "";
  for (char& c : charset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return charset;
}

struct CloseConverter {
  void operator()(iconv_t converter) const { iconv_close(converter); }
};

// The bytes in `charset` as UTF-8; nullopt when iconv has no such converter
// or the bytes are not valid in it.
std::optional<std::string> converted(std::string_view bytes, const std::string& charset) {
  iconv_t raw = iconv_open("UTF-8", charset.c_str());
  if (raw == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  const std::unique_ptr<void, CloseConverter> converter(raw);
  std::string out(bytes.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* to = out.data();
  std::size_t to_left = out.size();
  if (iconv(raw, &in, &in_left, &to, &to_left) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  out.resize(out.size() - to_left);
  return out;
}

// Latin-1 names are read as Windows-1252, as browsers read them: the bytes
// 0x80-0x9F are its letters and signs in such files, never C1 controls.
bool is_western(const std::string& charset) {
  return charset.empty() || charset == "WINDOWS-1252" || charset == "ISO-8859-1" ||
         charset == "ASCII" || charset == "UTF-8";
}

}  // namespace

bool looks_binary(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return false;  // UTF-16
  const std::string_view head = bytes.substr(0, kLookedAtBytes);
  std::size_t controls = 0;
  for (const char c : head) {
    if (c == '\0') return true;
    controls += is_control_byte(static_cast<unsigned char>(c));
  }
  return controls * 100 > head.size();
}

DecodedText decode_text(std::string_view bytes) {
  if (has_byte_order_mark(bytes) || is_valid_utf8(bytes)) return {text_as_utf8(bytes), {}};
  const std::string charset = detected_charset(bytes);
  if (!is_western(charset)) {
    if (std::optional<std::string> utf8 = converted(bytes, charset)) {
      return {std::move(*utf8), "no encoding is declared: read as " + charset +
                                    ", the encoding detector's guess"};
    }
  }
  return {text_as_utf8(bytes),
          "no encoding is declared and the text is not UTF-8: read as Windows-1252"};
}

}  // namespace kestra::table
