#include "save/target.h"

#include "frame_files/writer.h"

namespace save {

std::string SaveTarget::frameName(int number, const std::string& fileExt) const {
  return base() + output::formatNumber(number) + fileExt;
}

std::optional<SaveTarget> targetOf(const std::string& name, const std::string& tag) {
  if (name.empty()) return std::nullopt;
  const std::string folder = FolderOf(name);
  if (folder.empty()) return std::nullopt;
  return SaveTarget{folder, BaseNameOf(name, folder), tag, GetFileExt(name)};
}

std::string FolderOf(const std::string& path) {
  // Positions are 1-based in the rule: a separator at position 1 or 2 does
  // not make a folder.
  for (std::size_t n = path.size(); n >= 3; --n)
    if (path[n - 1] == '/') return path.substr(0, n - 1);
  return "";
}

std::string BaseNameOf(const std::string& path, const std::string& folder) {
  if (path.size() <= folder.size() + 1) return "";
  const std::string rest = path.substr(folder.size() + 1);
  return rest.substr(0, rest.find('.'));
}

std::string GetFileExt(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

}  // namespace save
