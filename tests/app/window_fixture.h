// Shared by the main window's tests: one QApplication, prompts that answer
// from a script and record what was shown, and a window started in a
// temporary program folder with its own settings file and per-user store.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>

#include "app/drop_field.h"
#include "app/frm_main.h"
#include "app/prompts.h"
#include "testutil.h"

namespace apptest {

// Never destroyed: a QApplication torn down by the exit handlers, after the
// platform plugin, crashes in Qt 6.4.
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "app_test";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}

struct ShownMessage {
  app::MessageIcon icon;
  QString text;
};

// Answers each dialog from its queue (empty queue = cancel) and records
// every message box and request.
class RecordingPrompts : public app::Prompts {
 public:
  struct Log {
    std::vector<ShownMessage> messages;
    std::vector<app::FileDialogRequest> openRequests;
    std::vector<app::FileDialogRequest> saveRequests;
    std::vector<QColor> colorRequests;
    std::vector<QString> opened;
    // What openDocument was told to run when the viewer fails to start,
    // one per opened document: a test calls it to play the desktop's part.
    std::vector<std::function<void()>> openFailures;
    // The MIME types the desktop has an application for; nullopt = every one.
    std::optional<QStringList> applications;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::vector<ShownMessage> questions;
    std::deque<bool> questionAnswers;  // empty queue = No
  };

  explicit RecordingPrompts(std::shared_ptr<Log> log) : log_(std::move(log)) {}

  void message(app::MessageIcon icon, const QString& text) override { log_->messages.push_back({icon, text}); }
  bool question(app::MessageIcon icon, const QString& text) override {
    log_->questions.push_back({icon, text});
    if (log_->questionAnswers.empty()) return false;
    const bool yes = log_->questionAnswers.front();
    log_->questionAnswers.pop_front();
    return yes;
  }
  QString openFile(const app::FileDialogRequest& r) override {
    log_->openRequests.push_back(r);
    return pop(log_->openAnswers);
  }
  QString saveFile(const app::FileDialogRequest& r) override {
    log_->saveRequests.push_back(r);
    return pop(log_->saveAnswers);
  }
  std::optional<QColor> chooseColor(const QColor& initial) override {
    log_->colorRequests.push_back(initial);
    if (log_->colorAnswers.empty()) return std::nullopt;
    auto c = log_->colorAnswers.front();
    log_->colorAnswers.pop_front();
    return c;
  }
  bool hasApplicationFor(const QString& mimeType) override {
    return !log_->applications || log_->applications->contains(mimeType);
  }
  bool openDocument(const QString& path, std::function<void()> failed) override {
    log_->opened.push_back(path);
    log_->openFailures.push_back(std::move(failed));
    return true;
  }

 private:
  static QString pop(std::deque<QString>& q) {
    if (q.empty()) return {};
    QString s = q.front();
    q.pop_front();
    return s;
  }
  std::shared_ptr<Log> log_;
};

// Writes a picture file: JPEG when the name ends in ".jpg" (any case), else
// BMP.
inline QString writePicture(const std::filesystem::path& dir, const char* name, int w, int h,
                            QColor fill = QColor(10, 20, 30), QColor corner = QColor(200, 100, 50)) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  image.setPixelColor(0, 0, corner);
  const QString path = QString::fromStdString((dir / name).string());
  const bool jpeg = path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
  EXPECT_TRUE(image.save(path, jpeg ? "JPG" : "BMP")) << path.toStdString();
  return path;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    dir = testutil::makeTempDir("app-window");
    // The per-user store lives in the test's folder, never in the real one.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString((dir / "user").string()));
    if (markFirstRunDone) {
      QSettings record(QStringLiteral("Kovatek"), QStringLiteral("Brenlo"));
      record.setValue(QStringLiteral("Install"), QStringLiteral("2026/01/01"));
      record.sync();
    }
    std::filesystem::create_directories(dir / "prog");
    env.programFolder = QString::fromStdString((dir / "prog").string()) + "/";
    env.iniPath = env.programFolder + "brenlo.ini";
  }

  // Starts the window (the load sequence runs here).
  app::frmMain& start() {
    window = std::make_unique<app::frmMain>(env, std::make_unique<RecordingPrompts>(log));
    return *window;
  }

  // Loads a picture file through the source field, as a drop does.
  void load(const QString& path) { window->txtSource_OLEDragDrop(path); }

  bool markFirstRunDone = true;
  std::filesystem::path dir;
  app::StartupEnvironment env;
  std::shared_ptr<RecordingPrompts::Log> log = std::make_shared<RecordingPrompts::Log>();
  std::unique_ptr<app::frmMain> window;
};

}  // namespace apptest
