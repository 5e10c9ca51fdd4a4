// kestra: draws diagrams and function plots from the command line.
#include <iostream>

#include "app.h"

int main(int argc, char** argv) {
  return kestra::cli::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
