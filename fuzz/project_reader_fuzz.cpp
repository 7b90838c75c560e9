// The project file's reader on arbitrary text: it either refuses the text
// with a message, or gives a project whose every value is in range and
// whose text reads back as the same project.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/effect_kind.h"
#include "scenes/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const scenes::ProjectRead r = scenes::parseProject(std::string(reinterpret_cast<const char*>(data), size));
  if (!r.project) {
    if (r.error.empty()) std::abort();
    return 0;
  }
  const scenes::Project& p = *r.project;
  bool ok = !p.scenes.empty() && p.scenes.size() <= scenes::kMaxScenes && p.plays >= 0 &&
            p.plays <= output::kMaxPlays && p.intervalCs >= 0;
  for (const scenes::ProjectScene& s : p.scenes)
    ok = ok && core::isValidEffectIndex(s.options.effect) && s.holdCs >= 0 && s.holdCs <= scenes::kMaxSceneHoldCs &&
         s.options.hueX >= 0 && s.options.hueX <= 359 && !s.picture.empty();
  const scenes::ProjectRead again = scenes::parseProject(scenes::projectText(p));
  ok = ok && again.project && *again.project == p;
  if (!ok) std::abort();
  return 0;
}
