// brenlo-render: renders one effect's frames from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "app/render_cli.h"
#include "core/memory_tuning.h"

int main(int argc, char* argv[]) {
  core::keepFreedFramesForReuse();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return app::runRender(args, std::cout, std::cerr);
}
