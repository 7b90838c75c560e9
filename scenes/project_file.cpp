#include "scenes/project_file.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <span>

#include "core/effect_kind.h"
#include "frame_files/file_io.h"
#include "play/gif_interval.h"

namespace scenes {

namespace {

constexpr std::string_view kFirstLine = "Pictorell project 1";
constexpr std::array<std::string_view, core::kEffectCount> kEffectNames{"slide",   "turn",    "rotate", "zoom",
                                                                        "diffuse", "elastic", "hue"};
constexpr std::array<std::string_view, output::kPresetCount> kPresetNames{"none", "google", "iab", "amazon"};
constexpr std::array<std::string_view, 2> kAxes{"x", "y"};
constexpr std::array<std::string_view, 3> kDiffuseTypes{"sand", "up", "down"};
constexpr std::array<std::string_view, 2> kHueModes{"rotate", "converge"};
constexpr std::array<std::string_view, 2> kSwitch{"off", "on"};

template <std::size_t N>
int indexIn(const std::array<std::string_view, N>& names, std::string_view value) {
  for (std::size_t i = 0; i < N; ++i)
    if (names[i] == value) return static_cast<int>(i);
  return -1;
}

std::string seconds(int cs) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%02d", cs / 100, cs % 100);
  return text;
}

std::string webColour(core::Color c) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", static_cast<unsigned>(c & 0xFF), static_cast<unsigned>((c >> 8) & 0xFF),
                static_cast<unsigned>((c >> 16) & 0xFF));
  return text;
}

std::optional<core::Color> parseWebColour(std::string_view t) {
  if (t.size() != 6 || t.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) return std::nullopt;
  unsigned v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v, 16);
  return core::rgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
}

std::optional<int> parseWhole(std::string_view t, int low, int high) {
  if (t.empty() || t.size() > 4 || t.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  int v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v);
  if (v < low || v > high) return std::nullopt;
  return v;
}

std::optional<int> parseSeconds(std::string_view t, int high) {
  const std::optional<std::int16_t> cs = output::parseGifInterval(t);
  if (!cs || *cs > high) return std::nullopt;
  return *cs;
}

bool& maskOf(effects::Options& o) {
  return o.mask[static_cast<std::size_t>(core::info(static_cast<core::EffectKind>(o.effect)).maskBox)];
}
bool maskOf(const effects::Options& o) {
  return o.mask[static_cast<std::size_t>(core::info(static_cast<core::EffectKind>(o.effect)).maskBox)];
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  ProjectRead read() {
    ProjectRead result;
    Project p;
    bool ended = false;
    bool sawHeader = false;
    bool maskSeen = false;
    bool mask = false;
    std::string_view line;
    while (nextLine(line)) {
      if (!sawHeader) {
        if (line != kFirstLine) return fail("this is not a Pictorell project (the first line is not \"" +
                                            std::string(kFirstLine) + "\")");
        sawHeader = true;
        continue;
      }
      if (line.empty()) continue;
      if (ended) return fail(at() + "text after \"end\"");
      const std::size_t space = line.find(' ');
      const std::string_view key = line.substr(0, space);
      const std::string_view value = space == std::string_view::npos ? std::string_view{} : line.substr(space + 1);
      if (key == "end") {
        if (!closeScene(p, maskSeen, mask)) return fail(error_);
        ended = true;
        continue;
      }
      if (key == "scene") {
        if (!closeScene(p, maskSeen, mask)) return fail(error_);
        if (p.scenes.size() >= kMaxScenes) return fail(at() + "more than " + std::to_string(kMaxScenes) + " scenes");
        if (parseWhole(value, 1, 9999) != static_cast<int>(p.scenes.size()) + 1)
          return fail(at() + "expected \"scene " + std::to_string(p.scenes.size() + 1) + "\"");
        p.scenes.emplace_back();
        open_ = true;
        hasPicture_ = hasEffect_ = maskSeen = mask = false;
        continue;
      }
      std::string e = open_ ? sceneValue(p.scenes.back(), key, value, maskSeen, mask) : bannerValue(p, key, value);
      if (!e.empty()) return fail(at() + e);
    }
    if (!sawHeader) return fail("the project file is empty");
    if (!ended) return fail("the project file is cut off (it does not end with \"end\")");
    if (p.scenes.empty()) return fail("the project has no scene");
    result.project = std::move(p);
    return result;
  }

 private:
  bool nextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++lineNumber_;
    return true;
  }

  std::string at() const { return "line " + std::to_string(lineNumber_) + ": "; }
  static ProjectRead fail(std::string message) { return {std::nullopt, std::move(message)}; }

  bool closeScene(Project& p, bool maskSeen, bool mask) {
    if (!open_) return true;
    open_ = false;
    const std::string scene = "scene " + std::to_string(p.scenes.size());
    if (!hasPicture_) return error_ = scene + " has no picture", false;
    if (!hasEffect_) return error_ = scene + " has no effect", false;
    if (maskSeen) maskOf(p.scenes.back().options) = mask;
    return true;
  }

  std::string bannerValue(Project& p, std::string_view key, std::string_view value) {
    const auto bad = [&] { return "invalid " + std::string(key) + " '" + std::string(value) + "'"; };
    if (key == "banner-colour") {
      if (value == "corner") {
        p.bannerColor.reset();
        return "";
      }
      p.bannerColor = parseWebColour(value);
      return p.bannerColor ? "" : bad();
    }
    if (key == "interval") {
      const auto cs = parseSeconds(value, 32767);
      if (!cs) return bad();
      p.intervalCs = *cs;
      return "";
    }
    if (key == "plays") {
      if (value == "forever") {
        p.plays = 0;
        return "";
      }
      const auto n = parseWhole(value, 1, output::kMaxPlays);
      if (!n) return bad();
      p.plays = *n;
      return "";
    }
    if (key == "preset") {
      const int i = indexIn(kPresetNames, value);
      if (i < 0) return bad();
      p.preset = static_cast<output::AdPreset>(i);
      return "";
    }
    return "unknown setting '" + std::string(key) + "'";
  }

  std::string sceneValue(ProjectScene& s, std::string_view key, std::string_view value, bool& maskSeen, bool& mask) {
    const auto bad = [&] { return "invalid " + std::string(key) + " '" + std::string(value) + "'"; };
    const auto pick = [&](const auto& names, int& into) {
      const int i = indexIn(names, value);
      if (i < 0) return bad();
      into = i;
      return std::string();
    };
    if (key == "picture") {
      if (value.empty() || value.find('\0') != std::string_view::npos) return bad();
      s.picture = std::string(value);
      hasPicture_ = true;
      return "";
    }
    if (key == "effect") {
      const int e = effectNamed(value);
      if (e < 0) return "unknown effect '" + std::string(value) + "'";
      s.options.effect = e;
      hasEffect_ = true;
      return "";
    }
    if (key == "mask") {
      int on = 0;
      std::string e = pick(kSwitch, on);
      maskSeen = true;
      mask = on == 1;
      return e;
    }
    if (key == "cross") {
      int on = 0;
      std::string e = pick(kSwitch, on);
      s.options.cross = on == 1;
      return e;
    }
    if (key == "axis") return pick(kAxes, s.options.axis);
    if (key == "diffuse") return pick(kDiffuseTypes, s.options.diffuseType);
    if (key == "hue-mode") return pick(kHueModes, s.options.hueType);
    if (key == "hue") {
      const auto h = parseWhole(value, 0, 359);
      if (!h) return bad();
      s.options.hueX = *h;
      return "";
    }
    if (key == "hold") {
      const auto cs = parseSeconds(value, kMaxSceneHoldCs);
      if (!cs) return bad() + " (0 to 10 seconds)";
      s.holdCs = *cs;
      return "";
    }
    return "unknown scene setting '" + std::string(key) + "'";
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
  bool open_ = false;
  bool hasPicture_ = false;
  bool hasEffect_ = false;
  std::string error_;
};

}  // namespace

bool ProjectScene::operator==(const ProjectScene& o) const {
  return picture == o.picture && options.effect == o.options.effect && maskOf(options) == maskOf(o.options) &&
         options.cross == o.options.cross && options.axis == o.options.axis &&
         options.diffuseType == o.options.diffuseType && options.hueType == o.options.hueType &&
         options.hueX == o.options.hueX && holdCs == o.holdCs;
}

bool Project::operator==(const Project& o) const {
  return bannerColor == o.bannerColor && intervalCs == o.intervalCs && plays == o.plays && preset == o.preset &&
         scenes == o.scenes;
}

std::string_view effectName(int effect) {
  return core::isValidEffectIndex(effect) ? kEffectNames[static_cast<std::size_t>(effect)] : std::string_view{};
}

int effectNamed(std::string_view name) { return indexIn(kEffectNames, name); }

std::string projectText(const Project& p) {
  std::string t;
  t += std::string(kFirstLine) + "\n";
  t += "banner-colour " + (p.bannerColor ? webColour(*p.bannerColor) : std::string("corner")) + "\n";
  t += "interval " + seconds(p.intervalCs) + "\n";
  t += "plays " + (p.plays == 0 ? std::string("forever") : std::to_string(p.plays)) + "\n";
  t += "preset " + std::string(kPresetNames[static_cast<std::size_t>(p.preset)]) + "\n";
  for (std::size_t i = 0; i < p.scenes.size(); ++i) {
    const ProjectScene& s = p.scenes[i];
    const effects::Options& o = s.options;
    t += "\nscene " + std::to_string(i + 1) + "\n";
    t += "picture " + s.picture + "\n";
    t += "effect " + std::string(effectName(o.effect)) + "\n";
    t += std::string("mask ") + (maskOf(o) ? "on" : "off") + "\n";
    t += std::string("cross ") + (o.cross ? "on" : "off") + "\n";
    t += "axis " + std::string(kAxes[static_cast<std::size_t>(o.axis == 1)]) + "\n";
    t += "diffuse " + std::string(kDiffuseTypes[static_cast<std::size_t>(o.diffuseType % 3)]) + "\n";
    t += "hue-mode " + std::string(kHueModes[static_cast<std::size_t>(o.hueType == 1)]) + "\n";
    t += "hue " + std::to_string(o.hueX) + "\n";
    t += "hold " + seconds(s.holdCs) + "\n";
  }
  t += "end\n";
  return t;
}

ProjectRead parseProject(std::string_view text) { return Reader(text).read(); }

ProjectRead readProjectFile(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {std::nullopt, "cannot read the project " + path + ": " + ec.message()};
  if (size > kMaxProjectBytes) return {std::nullopt, "the project " + path + " is too large for a project file"};
  const auto bytes = output::readWholeFile(path, kMaxProjectBytes);
  if (!bytes) return {std::nullopt, "cannot read the project " + path};
  ProjectRead r = parseProject(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!r.project) r.error = path + ": " + r.error;
  return r;
}

output::WriteStatus writeProjectFile(const std::string& path, const Project& project) {
  const std::string text = projectText(project);
  return output::replaceFile(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string picturePath(const std::string& projectPath, const std::string& written) {
  const std::filesystem::path p(written);
  if (p.is_absolute()) return p.lexically_normal().string();
  return (std::filesystem::path(projectPath).parent_path() / p).lexically_normal().string();
}

std::string writtenPicturePath(const std::string& projectPath, const std::string& picture) {
  const std::filesystem::path folder = std::filesystem::absolute(projectPath).parent_path();
  const std::filesystem::path rel = std::filesystem::absolute(picture).lexically_relative(folder);
  return rel.empty() ? picture : rel.generic_string();
}

}  // namespace scenes
