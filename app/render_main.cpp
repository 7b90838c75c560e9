// brenlo-render: renders one effect's frames from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "app/memory_tuning.h"
#include "app/render_cli.h"

int main(int argc, char* argv[]) {
  app::keepFreedFramesForReuse();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return app::runRender(args, std::cout, std::cerr);
}
