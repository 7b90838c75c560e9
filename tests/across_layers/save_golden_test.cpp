// The bytes of every file the three saves write (the window's, the frame
// list's and brenlo-render's) for a broad set of choices, against a recorded
// list of SHA-256 sums, together with the messages, printed lines and exit
// statuses that come with them. A change to how a save is put together must
// leave all of this as it was; a change that means to alter a file re-records
// the list:
//
//   scripts/record-save-golden.sh      (or PICTORELL_RECORD_GOLDEN=1 on this test)
//
// The pictures are small and opaque, so that the fits into a budget take
// milliseconds and the mask works on an exact corner colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QRadioButton>

#include "app/frm_gif_setting.h"
#include "app/render_cli.h"
#include "framelist/frm_frames.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEffects = 7;

// Lines "case key value", sorted, for one of the three saves.
class GoldenList {
 public:
  explicit GoldenList(std::string name) : name_(std::move(name)) {}

  void add(const std::string& line) { lines_.push_back(line); }

  // Every file below folder, by its path relative to root.
  void addFiles(const std::string& label, const fs::path& folder) {
    std::vector<fs::path> files;
    if (fs::exists(folder))
      for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) add(label + " (no files)");
    for (const fs::path& f : files) {
      QFile file(QString::fromStdString(f.string()));
      EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << f;
      const QByteArray sum = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
      add(label + " " + fs::relative(f, folder).generic_string() + " " + sum.toStdString());
    }
  }

  // Compares with the recorded list, or records it when asked to.
  void check() const {
    const fs::path path = fs::path(PICTORELL_GOLDEN_DIR) / (name_ + ".txt");
    std::ostringstream now;
    for (const std::string& l : lines_) now << l << "\n";
    const char* record = std::getenv("PICTORELL_RECORD_GOLDEN");
    if (record && std::string(record) == "1") {
      std::ofstream(path, std::ios::binary) << now.str();
      std::cout << "recorded " << path << "\n";
      return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "no golden list " << path << ": run scripts/record-save-golden.sh";
    std::vector<std::string> recorded;
    for (std::string l; std::getline(in, l);) recorded.push_back(l);
    // Line by line, so that a failure names the case and the file.
    for (std::size_t i = 0; i < std::max(recorded.size(), lines_.size()); ++i) {
      const std::string want = i < recorded.size() ? recorded[i] : "(none)";
      const std::string got = i < lines_.size() ? lines_[i] : "(none)";
      EXPECT_EQ(got, want) << name_ << " line " << i + 1;
      if (got != want) break;  // the lines after a missing one all shift
    }
  }

 private:
  std::string name_;
  std::vector<std::string> lines_;
};

std::string escaped(const std::string& text) {
  std::string s;
  for (char c : text) s += c == '\n' ? std::string("\\n") : std::string(1, c);
  return s;
}

// Opaque, with more than 256 colours (so GIF frames are quantized and a
// budget fits lossily), framed by the corner colour the mask keys on.
QString writeBanner(const fs::path& dir) {
  QImage image(48, 16, QImage::Format_RGB32);
  image.fill(QColor(200, 100, 50));
  for (int y = 3; y < 13; ++y)
    for (int x = 4; x < 44; ++x) image.setPixelColor(x, y, QColor((x * 37 + y * 11) % 256, (x * 5) % 256, y * 15));
  const QString path = QString::fromStdString((dir / "banner.bmp").string());
  EXPECT_TRUE(image.save(path, "BMP"));
  return path;
}

QString writeNoise(const fs::path& dir) {
  QImage image(320, 50, QImage::Format_RGB32);
  std::uint32_t state = 12345;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      state = state * 1103515245u + 12345u;
      image.setPixel(x, y, 0xFF000000u | (state >> 8));
    }
  const QString path = QString::fromStdString((dir / "noise.bmp").string());
  EXPECT_TRUE(image.save(path, "BMP"));
  return path;
}

// What the GIF dialog is told in one case.
struct Answer {
  bool animated = true;
  QString interval = QStringLiteral("0.1");
  int plays = 0;
  int holdCs = 0;
  int preset = 0;     // picked as the user picks it (interval, plays, budget follow)
  int budgetKb = -1;  // -1 = as the preset left it
};

class SaveGoldenTest : public apptest::WindowTest {
 protected:
  void answerWith(const Answer& a) {
    const auto runner = [a](app::frmGifSetting& d) {
      d.setBorder(false);  // the Amazon preset turns it on; no other case has it
      if (d.format() == save::AnimationFormat::Gif) {
        d.optType[a.animated ? 1 : 0]->click();
        d.setPreset(0);
        d.setBudgetKb(0);
      }
      d.setIntervalText(a.interval);
      d.setPlays(a.plays);
      d.setHoldCs(a.holdCs);
      if (a.preset != 0) d.cboPreset_Click(a.preset);
      if (a.budgetKb >= 0) d.setBudgetKb(a.budgetKb);
      d.cmdSet_Click();
    };
    window->gifSetting().setModalRunner(runner);
    window->webpSetting().setModalRunner(runner);
  }

  // The messages and questions the case showed, then forgets them.
  void addPrompts(GoldenList& list, const std::string& label) {
    for (const auto& m : log->messages)
      list.add(label + " message " + std::to_string(static_cast<int>(m.icon)) + " " + escaped(m.text.toStdString()));
    for (const auto& q : log->questions) list.add(label + " question " + escaped(q.text.toStdString()));
    log->messages.clear();
    log->questions.clear();
    log->questionAnswers.clear();
  }

  fs::path folder(const std::string& label) {
    const fs::path f = dir / "out" / label;
    fs::create_directories(f);
    return f;
  }
};

TEST_F(SaveGoldenTest, TheWindowsSaveWritesTheRecordedFiles) {
  app::frmMain& w = start();
  load(writeBanner(dir));
  // A banner colour of its own, so that the mask shows.
  log->colorAnswers.push_back(QColor(32, 64, 255));
  w.cmdColor_Click();
  GoldenList list("window");

  struct Case {
    std::string label;
    int effect;
    bool mask;
    std::string name;
    Answer answer;
    std::vector<bool> questionAnswers;
  };
  std::vector<Case> cases;
  for (int e = 0; e < kEffects; ++e) {
    for (int mask = 0; mask < 2; ++mask) {
      const std::string fx = "e" + std::to_string(e) + (mask ? "m" : "");
      cases.push_back({fx + "-bmp", e, mask == 1, "b.bmp", {}, {}});
      cases.push_back({fx + "-anim", e, mask == 1, "b.gif", {}, {}});
    }
    cases.push_back({"e" + std::to_string(e) + "-plays", e, false, "b.gif", {true, "0.2", 3, 100, 0, -1}, {}});
  }
  cases.push_back({"slide-jpg", 0, false, "b.jpg", {}, {}});
  cases.push_back({"hue-jpg", 6, true, "b.jpg", {}, {}});
  cases.push_back({"slide-gif-frames", 0, false, "b.gif", {false}, {}});
  cases.push_back({"zoom-gif-frames", 3, true, "b.gif", {false}, {}});
  cases.push_back({"slide-webp", 0, false, "b.webp", {true, "0.15"}, {}});
  cases.push_back({"hue-webp-plays", 6, true, "b.webp", {true, "0.1", 2, 50}, {}});
  cases.push_back({"turn-webp-forever-hold", 1, false, "b.webp", {true, "0.1", 0, 80}, {}});
  cases.push_back({"zoom-forever-hold", 3, false, "b.gif", {true, "0.1", 0, 80}, {}});
  for (int p = 1; p <= 3; ++p)
    cases.push_back({"diffuse-preset" + std::to_string(p), 4, false, "b.gif", {true, "0.1", 0, 0, p}, {}});
  cases.push_back({"elastic-budget-fits", 5, false, "b.gif", {true, "0.1", 0, 0, 0, 2}, {}});
  cases.push_back({"rotate-budget-over-yes", 2, false, "b.gif", {true, "0.1", 2, 0, 0, 1}, {true}});
  cases.push_back({"rotate-budget-over-no", 2, false, "b.gif", {true, "0.1", 2, 0, 0, 1}, {false}});
  cases.push_back({"dotted.name", 0, false, "a.b.c.gif", {}, {}});
  cases.push_back({"upper-ext", 6, false, "B.JPG", {}, {}});

  for (const Case& c : cases) {
    const fs::path out = folder("w-" + c.label);
    w.cboType->setCurrentIndex(c.effect);
    for (QCheckBox* box : w.chkMask) box->setChecked(c.mask);
    answerWith(c.answer);
    for (bool yes : c.questionAnswers) log->questionAnswers.push_back(yes);
    log->saveAnswers.push_back(QString::fromStdString((out / c.name).string()));
    w.cmdSave_Click();
    list.addFiles(c.label, out);
    addPrompts(list, c.label);
  }
  list.check();
}

TEST_F(SaveGoldenTest, TheFrameListsSaveWritesTheRecordedFiles) {
  app::frmMain& w = start();
  load(writeBanner(dir));
  // Three frames from two previews: Hue's first two, Zoom's first.
  w.cboType->setCurrentIndex(6);
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  w.tmr1_Timer();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  w.Form_KeyDown(Qt::Key_Escape);
  w.cboType->setCurrentIndex(3);
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  w.Form_KeyDown(Qt::Key_Escape);
  framelist::frmFrames& frames = *w.frameList();
  ASSERT_EQ(frames.frames().frameCount(), 3);
  GoldenList list("framelist");

  struct Case {
    std::string label;
    std::string name;
    Answer answer;
    std::vector<bool> questionAnswers;
  };
  const std::vector<Case> cases = {
      {"bmp", "l.bmp", {}, {}},
      {"jpg", "l.jpg", {}, {}},
      {"gif-frames", "l.gif", {false}, {}},
      {"anim", "l.gif", {}, {}},
      {"anim-plays-hold", "l.gif", {true, "0.3", 4, 120}, {}},
      {"anim-forever-hold", "l.gif", {true, "0.3", 0, 120}, {}},
      {"preset-google", "l.gif", {true, "0.1", 0, 0, 1}, {}},
      {"preset-iab", "l.gif", {true, "0.1", 0, 0, 2}, {}},
      {"preset-amazon", "l.gif", {true, "0.1", 0, 0, 3}, {}},
      {"budget-fits", "l.gif", {true, "0.1", 0, 0, 0, 2}, {}},
      {"budget-over-yes", "l.gif", {true, "0.1", 0, 0, 0, 1}, {true}},
      {"budget-over-no", "l.gif", {true, "0.1", 0, 0, 0, 1}, {false}},
      {"webp", "l.webp", {true, "0.2"}, {}},
      {"webp-plays-hold", "l.webp", {true, "0.2", 2, 30}, {}},
      {"no-extension", "l", {}, {}},
  };
  for (const Case& c : cases) {
    const fs::path out = folder("l-" + c.label);
    answerWith(c.answer);
    for (bool yes : c.questionAnswers) log->questionAnswers.push_back(yes);
    log->saveAnswers.push_back(QString::fromStdString((out / c.name).string()));
    frames.cmdFrameSave_Click();
    list.addFiles(c.label, out);
    addPrompts(list, c.label);
  }
  list.check();
}

TEST_F(SaveGoldenTest, BrenloRenderWritesTheRecordedFiles) {
  const std::string source = writeBanner(dir).toStdString();
  const std::string noise = writeNoise(dir).toStdString();
  GoldenList list("render");
  const char* const effects[kEffects] = {"slide", "turn", "rotate", "zoom", "diffuse", "elastic", "hue"};
  std::vector<std::pair<std::string, std::vector<std::string>>> cases;
  for (const char* e : effects) {
    cases.push_back({std::string(e) + "-bmp", {"r.bmp", "--effect", e}});
    cases.push_back({std::string(e) + "-mask-anim",
                     {"r.gif", "--effect", e, "--mask", "--background", "2040ff", "--gif", "animated"}});
    cases.push_back({std::string(e) + "-webp", {"r.webp", "--effect", e, "--interval", "0.2"}});
  }
  const std::vector<std::pair<std::string, std::vector<std::string>>> more = {
      {"slide-cross-jpg", {"r.jpg", "--cross", "--background", "00ff80"}},
      {"rotate-y-gif-frames", {"r.gif", "--effect", "rotate", "--axis", "y", "--gif", "frames"}},
      {"diffuse-up", {"r.gif", "--effect", "diffuse", "--diffuse", "up", "--gif", "animated"}},
      {"hue-converge", {"r.gif", "--effect", "hue", "--hue-mode", "converge", "--hue", "200", "--gif", "animated"}},
      {"plays-hold", {"r.gif", "--effect", "zoom", "--gif", "animated", "--plays", "3", "--hold", "0.5"}},
      {"forever-hold", {"r.gif", "--effect", "turn", "--gif", "animated", "--plays", "forever", "--hold", "1"}},
      {"google", {"r.gif", "--gif", "animated", "--preset", "google", "--hold", "1"}},
      {"iab", {"r.gif", "--effect", "elastic", "--gif", "animated", "--preset", "iab"}},
      {"amazon", {"r.gif", "--effect", "hue", "--gif", "animated", "--preset", "amazon", "--plays", "5"}},
      {"max-bytes-fits", {"r.gif", "--effect", "diffuse", "--gif", "animated", "--max-bytes", "4000"}},
      {"max-bytes-over", {"r.gif", "--effect", "rotate", "--gif", "animated", "--max-bytes", "300"}},
      {"max-bytes-plays", {"r.gif", "--effect", "slide", "--gif", "animated", "--plays", "2", "--max-bytes", "3000"}},
      {"webp-plays", {"r.webp", "--effect", "zoom", "--plays", "2", "--hold", "0.3"}},
      {"refused", {"r.bmp", "--plays", "2"}},
      {"refused-webp", {"r.webp", "--max-bytes", "100"}},
      {"dotted", {"a.b.gif", "--gif", "animated"}},
      {"iab-over-its-budget", {"noise.gif", "--gif", "animated", "--preset", "iab"}},
  };
  cases.insert(cases.end(), more.begin(), more.end());
  for (const auto& [label, rest] : cases) {
    const fs::path out = folder("r-" + label);
    // A 320 x 50 banner of noise is over the 50,000 bytes IAB gives that size.
    const std::string picture = rest[0] == "noise.gif" ? noise : source;
    std::vector<std::string> args = {picture, (out / rest[0]).string(), "--lang", "en"};
    args.insert(args.end(), rest.begin() + 1, rest.end());
    std::ostringstream printed, errors;
    const int status = app::runRender(args, printed, errors, QLocale::c());
    // The printed paths lie in this run's temporary folder.
    const auto relative = [&](std::string text) {
      const std::string prefix = out.string() + "/";
      for (std::size_t at; (at = text.find(prefix)) != std::string::npos;) text.erase(at, prefix.size());
      return escaped(text);
    };
    list.add(label + " status " + std::to_string(status));
    list.add(label + " out " + relative(printed.str()));
    list.add(label + " err " + relative(errors.str()));
    list.addFiles(label, out);
  }
  list.check();
}

}  // namespace
