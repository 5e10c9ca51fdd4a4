// The option registrations shared by the diagram and plot commands.
#include "option_binding.h"

namespace kestra::cli {

CLI::Option* add_number(CLI::App& app, const std::string& name, double& target,
                        const std::string& help) {
  return add_parsed(app, name, target, parse_number, "NUMBER", help, "a number");
}

CLI::Option* add_number(CLI::App& app, const std::string& name, std::optional<double>& target,
                        const std::string& help) {
  return add_parsed(app, name, target, parse_number, "NUMBER", help, "a number");
}

CLI::Option* add_color(CLI::App& app, const std::string& name, COLORREF& target,
                       const std::string& help) {
  return add_parsed(app, name, target, parse_color, "COLOUR", help,
                    "a colour (#rrggbb, #rgb or a name)");
}

CLI::Option* add_color(CLI::App& app, const std::string& name, std::optional<COLORREF>& target,
                       const std::string& help) {
  return add_parsed(app, name, target, parse_color, "COLOUR", help,
                    "a colour (#rrggbb, #rgb or a name)");
}

CLI::Option* add_rect(CLI::App& app, const std::string& name, std::optional<tagRECT>& target,
                      const std::string& help) {
  return add_parsed(app, name, target, parse_rect, "LEFT,TOP,RIGHT,BOTTOM", help,
                    "LEFT,TOP,RIGHT,BOTTOM in pixels");
}

}  // namespace kestra::cli
