#include <iostream>
#include <string>
#include <vector>

#include "driver/run.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv, argv + argc);
  return tornvel::runMigration(args, std::cout, std::cerr);
}
