// Batches of inputs: one picture per input, drawn on all cores. The
// exports are thread-safe, so each thread simply draws its inputs.
#include "batch.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <sstream>
#include <string_view>
#include <thread>

#include "command_errors.h"

namespace kestra::cli {
namespace {

void replace_all(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string output_name(std::string pattern, const std::string& input, std::size_t index) {
  replace_all(pattern, "{stem}", std::filesystem::path(input).stem().string());
  replace_all(pattern, "{index}", std::to_string(index + 1));
  return pattern;
}

// Each "kestra: " line of `text` as "kestra: INPUT: ", unless it names the
// input already (the table reader's notes do).
std::string naming_the_input(const std::string& text, const std::string& input) {
  std::istringstream lines(text);
  std::string out;
  for (std::string line; std::getline(lines, line);) {
    constexpr std::string_view program = "kestra: ";
    if (line.starts_with(program) && line.find(input) == std::string::npos) {
      line.insert(program.size(), input + ": ");
    }
    out += line + '\n';
  }
  return out;
}

}  // namespace

int draw_one_of_batch(const std::string& input, std::ostream& err,
                      const std::function<int(std::ostream&)>& draw) {
  std::ostringstream messages;
  int code = 0;
  try {
    code = draw(messages);
  } catch (const UsageError& e) {
    messages << "kestra: usage error: " << e.what() << '\n';
    code = exit_usage;
  } catch (const StatusError& e) {
    code = print_status_error(messages, e);
  } catch (const std::exception& e) {  // no memory: this input fails, the others go on
    messages << "kestra: error: " << e.what() << '\n';
    code = exit_failure;
  }
  err << naming_the_input(messages.str(), input);
  return code;
}

std::vector<std::string> output_names(const std::string& pattern,
                                      const std::vector<std::string>& inputs) {
  std::vector<std::string> names;
  std::map<std::string, std::size_t> first_input;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    names.push_back(output_name(pattern, inputs[i], i));
    const auto [earlier, fresh] = first_input.emplace(names.back(), i);
    if (!fresh) {
      throw UsageError(in_quotes(inputs[earlier->second]) + " and " + in_quotes(inputs[i]) +
                       " would both write " + in_quotes(names.back()) +
                       ": put {stem} or {index} in the output name, e.g. -o out/{stem}.png");
    }
  }
  return names;
}

void make_folders(const std::vector<std::string>& outputs) {
  for (const std::string& output : outputs) {
    const std::filesystem::path folder = std::filesystem::path(output).parent_path();
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  }
}

int run_batch(std::size_t count, unsigned threads, const BatchJob& job, std::ostream& err) {
  std::vector<std::ostringstream> messages(count);
  std::vector<int> codes(count, 0);
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < count; i = next++) codes[i] = job(i, messages[i]);
  };
  std::vector<std::jthread> pool;
  const std::size_t helpers = std::min<std::size_t>(std::max(threads, 1u), count) - 1;
  for (std::size_t t = 0; t < helpers; ++t) pool.emplace_back(work);
  work();
  pool.clear();  // joins

  for (const std::ostringstream& text : messages) err << text.str();
  const auto failed = static_cast<std::size_t>(
      std::count_if(codes.begin(), codes.end(), [](int code) { return code != 0; }));
  if (failed > 0) {
    err << "kestra: " << failed << " of " << count << " inputs failed, "
        << count - failed << " pictures written\n";
  }
  return count == 0 ? 0 : *std::max_element(codes.begin(), codes.end());
}

unsigned batch_threads(unsigned requested) {
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace kestra::cli
