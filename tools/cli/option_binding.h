// Registers options whose values go through the parsers of option_values.h:
// a text that does not parse is a usage error naming the option, never 0.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <utility>

#include "command_errors.h"
#include "option_values.h"

namespace kestra::cli {

// An option of `name` that stores parse(text) in `target`. `type` names the
// value in the help ("N", "COLOUR"); `what` says in an error what the text
// must be ("a number", ...), by default the type.
template <class Target, class Parse>
CLI::Option* add_parsed(CLI::App& app, const std::string& name, Target& target, Parse parse,
                        const std::string& type, const std::string& help,
                        std::string what = {}) {
  if (what.empty()) what = type;
  CLI::Option* option = app.add_option_function<std::string>(
      name,
      [&target, parse, what, name](const std::string& text) {
        auto value = parse(text);
        if (!value) throw CLI::ValidationError(name, in_quotes(text) + " is not " + what);
        target = std::move(*value);
      },
      help);
  option->type_name(type);
  return option;
}

CLI::Option* add_number(CLI::App& app, const std::string& name, double& target,
                        const std::string& help);
CLI::Option* add_number(CLI::App& app, const std::string& name, std::optional<double>& target,
                        const std::string& help);

// A whole number from `low` to `high`, stored in an integer of any width.
template <class Integer>
CLI::Option* add_integer(CLI::App& app, const std::string& name, Integer& target, long long low,
                         long long high, const std::string& help) {
  const std::string what = "a whole number from " + std::to_string(low) + " to " +
                           std::to_string(high);
  return add_parsed(
      app, name, target,
      [low, high](const std::string& text) -> std::optional<Integer> {
        const auto value = parse_integer(text, low, high);
        if (!value) return std::nullopt;
        return static_cast<Integer>(*value);
      },
      "N", help, what);
}

CLI::Option* add_color(CLI::App& app, const std::string& name, COLORREF& target,
                       const std::string& help);
CLI::Option* add_color(CLI::App& app, const std::string& name, std::optional<COLORREF>& target,
                       const std::string& help);
CLI::Option* add_rect(CLI::App& app, const std::string& name, std::optional<tagRECT>& target,
                      const std::string& help);

}  // namespace kestra::cli
