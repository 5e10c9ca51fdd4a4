// Registers each command's options on its CLI11 subcommand.
#pragma once

#include <CLI/CLI.hpp>

#include "settings.h"

namespace kestra::cli {

// --sheet, --range, --header, --table: how the table reader reads a file.
void add_table_options(CLI::App& command, TableSource& source);
// Every DIAG_DISP and GRAPH_ELEM field the diagram command sets.
void add_diagram_options(CLI::App& command, DiagramLook& look);
// Every OPTION_RECT field the plot command sets.
void add_plot_options(CLI::App& command, PlotLook& look);
// --scale and --smooth: how the picture file is drawn.
void add_output_options(CLI::App& command, PictureOutput& output);

}  // namespace kestra::cli
