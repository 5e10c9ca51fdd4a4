// Several inputs in one command: output names from a pattern, and the jobs
// drawn in parallel with their messages kept together per input.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kestra::cli {

// The picture file of each input: `pattern` with {stem} (the input's file
// name without folder and extension) and {index} (1, 2, ...) replaced.
// Throws UsageError when several inputs are given and two would write the
// same file (a pattern without a placeholder, or equal stems).
std::vector<std::string> output_names(const std::string& pattern,
                                      const std::vector<std::string>& inputs);

// Makes the folders the output names need; a folder that cannot be made
// shows as that picture's write error.
void make_folders(const std::vector<std::string>& outputs);

// One input's work: draws it and returns the exit code; its warnings and
// errors go to the stream it is given.
using BatchJob = std::function<int(std::size_t index, std::ostream& err)>;

// Runs `draw` for one input of a batch: its usage and status errors become
// its exit code, and every line it prints names the input
// ("kestra: sales.csv: error 1009 ...").
int draw_one_of_batch(const std::string& input, std::ostream& err,
                      const std::function<int(std::ostream&)>& draw);

// Runs job(0) ... job(count - 1) on up to `threads` threads and prints
// each job's messages to `err` whole, in input order. Returns the highest
// exit code; when some failed, a last line says how many.
int run_batch(std::size_t count, unsigned threads, const BatchJob& job, std::ostream& err);

// The threads a batch uses: `requested`, or every core for 0.
unsigned batch_threads(unsigned requested);

}  // namespace kestra::cli
