// Where a save's files go, from the name the save dialog returned: the
// folder, the base name, the effect's tag and the extension that picks the
// format. Every file of the save starts with base().
#pragma once

#include <optional>
#include <string>

namespace save {

struct SaveTarget {
  std::string folder;    // without a closing "/"
  std::string baseName;  // the file name cut before its first "."
  std::string tag;       // the effect's tag ("-s-"), "" for the frame list
  std::string ext;       // GetFileExt of the name: ".bmp", ".jpg", ".gif", ".webp", or anything else

  std::string base() const { return folder + "/" + baseName + tag; }
  // The one animated file: base() + ext.
  std::string animationName() const { return base() + ext; }
  // Frame file `number`: base() + "000"-formatted number + fileExt.
  std::string frameName(int number, const std::string& fileExt) const;
};

// nullopt when the name is "" (a cancelled dialog) or has no folder.
std::optional<SaveTarget> targetOf(const std::string& name, const std::string& tag = "");

// The folder part of a path without its last "/"; "" when the last "/" is
// not at the third character or later ("/out/a.jpg" gives "/out", "/a.jpg"
// and "a.jpg" give "").
std::string FolderOf(const std::string& path);
// The file name after `folder` and its separator, cut before its first ".".
std::string BaseNameOf(const std::string& path, const std::string& folder);
// From the last "." of the name to its end, lower-cased (ASCII letters), dot
// included; "" when the name has no dot. A dot in a folder name counts like
// any other.
std::string GetFileExt(const std::string& name);

}  // namespace save
