// The scene list window, driven as the user would on the offscreen platform:
// the main window's picture, effect and options become scenes, which are
// ordered, held, removed and saved through the save step.
#include <fstream>
#include <iterator>
#include <string>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/frm_gif_setting.h"
#include "app/frm_scenes.h"
#include "app/ui_texts.h"
#include "scenes/banner_save.h"
#include "scenes/sequence.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

class SceneWindowTest : public WindowTest {
 protected:
  app::frmScenes& open() {
    window->menus.mnuScenes->trigger();
    app::frmScenes* list = window->sceneList();
    EXPECT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    return *list;
  }
  // The main window shows `picture` with `effect`; the list adds it.
  void addScene(app::frmScenes& list, const char* picture, int effect, QColor fill) {
    load(apptest::writePicture(dir, picture, 40, 20, fill));
    window->cboType->setCurrentIndex(effect);
    list.cmdAdd->click();
  }
  std::vector<int> effects(const app::frmScenes& list) {
    std::vector<int> out;
    for (const app::ListedScene& s : list.listed()) out.push_back(s.scene.options.effect);
    return out;
  }
};

TEST_F(SceneWindowTest, AddMoveRemoveAndHoldKeepListAndScenesTogether) {
  start();
  app::frmScenes& list = open();
  // Nothing to add without a picture: a message, no scene.
  list.cmdAdd->click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, app::text::shown(app::text::kNoSceneSource));
  EXPECT_TRUE(list.listed().empty());
  EXPECT_FALSE(list.cmdSave->isEnabled());

  addScene(list, "a.bmp", 3, QColor(255, 0, 0));  // Zoom
  addScene(list, "b.bmp", 0, QColor(0, 255, 0));  // Slide
  addScene(list, "c.bmp", 1, QColor(0, 0, 255));  // Turn
  ASSERT_EQ(effects(list), (std::vector<int>{3, 0, 1}));
  EXPECT_EQ(list.lstScenes->count(), 3);
  EXPECT_EQ(list.selected(), 2);  // the new scene is selected
  EXPECT_TRUE(list.listed()[2].source.endsWith(QLatin1String("c.bmp")));
  EXPECT_EQ(list.listed()[0].scene.picture.pixel(5, 5), 0x0000FFu);  // red as 0x00BBGGRR
  EXPECT_EQ(list.listed()[0].scene.holdCs, scenes::kDefaultSceneHoldCs);
  EXPECT_EQ(list.lstScenes->item(0)->text(), app::sceneRowText(list.listed()[0].scene));
  EXPECT_FALSE(list.lstScenes->item(0)->icon().isNull());

  // Move: the last scene up twice stops at the top; down moves it back.
  list.cmdUp->click();
  list.cmdUp->click();
  EXPECT_FALSE(list.cmdUp->isEnabled());
  list.cmdUp->click();
  EXPECT_EQ(effects(list), (std::vector<int>{1, 3, 0}));
  EXPECT_EQ(list.selected(), 0);
  list.cmdDown->click();
  EXPECT_EQ(effects(list), (std::vector<int>{3, 1, 0}));
  EXPECT_EQ(list.selected(), 1);

  // Hold: the selected scene only, in hundredths, up to ten seconds.
  list.spnHold->setValue(2.5);
  EXPECT_EQ(list.listed()[1].scene.holdCs, 250);
  EXPECT_EQ(list.listed()[0].scene.holdCs, scenes::kDefaultSceneHoldCs);
  EXPECT_EQ(list.lstScenes->item(1)->text(), app::sceneRowText(list.listed()[1].scene));
  list.spnHold->setValue(25.0);
  EXPECT_EQ(list.listed()[1].scene.holdCs, scenes::kMaxSceneHoldCs);
  list.spnHold->setValue(0.0);
  EXPECT_EQ(list.listed()[1].scene.holdCs, 0);
  list.select(0);
  EXPECT_DOUBLE_EQ(list.spnHold->value(), scenes::kDefaultSceneHoldCs / 100.0);

  // Replace keeps the hold and the place.
  list.select(1);
  addScene(list, "d.bmp", 6, QColor(9, 9, 9));  // appended as scene 4
  list.select(1);
  list.spnHold->setValue(1.0);
  window->cboType->setCurrentIndex(4);
  list.cmdReplace->click();
  EXPECT_EQ(effects(list), (std::vector<int>{3, 4, 0, 6}));
  EXPECT_EQ(list.listed()[1].scene.holdCs, 100);
  EXPECT_TRUE(list.listed()[1].source.endsWith(QLatin1String("d.bmp")));

  // Remove: the row below takes the selection; the last removal empties all.
  list.cmdRemove->click();
  EXPECT_EQ(effects(list), (std::vector<int>{3, 0, 6}));
  EXPECT_EQ(list.selected(), 1);
  list.select(2);
  list.cmdRemove->click();
  EXPECT_EQ(list.selected(), 1);
  list.cmdRemove->click();
  list.cmdRemove->click();
  EXPECT_TRUE(list.listed().empty());
  EXPECT_EQ(list.lstScenes->count(), 0);
  EXPECT_FALSE(list.cmdRemove->isEnabled());
  EXPECT_FALSE(list.cmdSave->isEnabled());
}

TEST_F(SceneWindowTest, SaveWritesTheComposedBannerAsNumberedFilesOrRefusesMixedSizes) {
  start();
  app::frmScenes& list = open();
  addScene(list, "a.bmp", 3, QColor(255, 0, 0));
  addScene(list, "b.bmp", 0, QColor(0, 255, 0));
  std::filesystem::create_directories(dir / "out");
  log->saveAnswers.push_back(QString::fromStdString((dir / "out" / "banner.bmp").string()));
  list.cmdSave->click();
  EXPECT_TRUE(log->messages.empty());
  const auto banner = scenes::composeBanner(list.banner(), true);
  ASSERT_TRUE(banner);
  const std::size_t n = banner->frames.size();
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "banner000.bmp"));
  char last[32];
  std::snprintf(last, sizeof last, "banner%03zu.bmp", n - 1);
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / last));
  std::snprintf(last, sizeof last, "banner%03zu.bmp", n);
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / last));
  EXPECT_EQ(window->workState().SavePath, (dir / "out").string());

  // A scene of another size: the message names the sizes, nothing is asked.
  load(apptest::writePicture(dir, "big.bmp", 50, 20));
  list.cmdAdd->click();
  const std::size_t asked = log->saveRequests.size();
  list.cmdSave->click();
  EXPECT_EQ(log->saveRequests.size(), asked);
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_TRUE(log->messages[0].text.startsWith(QString::fromUtf8("シーン 3 の画像の大きさ(50×20)が最初のシーン(40×20)と違います。")))
      << log->messages[0].text.toStdString();
  EXPECT_TRUE(log->messages[0].text.endsWith(QLatin1String("big.bmp")));
}

std::string bytesOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The window's animated GIF is the file the scenes library writes for the
// same scenes and choices, forever and with a play count the dialog chose
// (whose banner ends on the last scene, so it is composed anew).
TEST_F(SceneWindowTest, AnimatedGifFromTheWindowIsTheBannerOfTheDialogsChoices) {
  start();
  app::frmScenes& list = open();
  addScene(list, "a.bmp", 3, QColor(255, 0, 0));
  addScene(list, "b.bmp", 1, QColor(0, 255, 0));
  list.spnHold->setValue(0.5);
  for (const int plays : {0, 2}) {
    SCOPED_TRACE(plays);
    window->gifSetting().setModalRunner([plays](app::frmGifSetting& d) {
      d.optType[1]->click();
      d.setIntervalText(QStringLiteral("0.2"));
      d.setPlays(plays);
      d.cmdSet_Click();
    });
    const std::string name = "win" + std::to_string(plays) + ".gif";
    log->saveAnswers.push_back(QString::fromStdString((dir / name).string()));
    list.cmdSave->click();
    ASSERT_TRUE(log->messages.empty()) << log->messages[0].text.toStdString();

    const auto banner = scenes::composeBanner(list.banner(), plays == 0);
    ASSERT_TRUE(banner);
    scenes::BannerSaveChoice choice;
    choice.name = (dir / ("lib" + std::to_string(plays) + ".gif")).string();
    choice.animated = true;
    choice.intervalCs = 20;
    choice.play.plays = plays;
    ASSERT_TRUE(scenes::saveBanner(*banner, choice).status);
    const std::string written = bytesOf(dir / name);
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(written, bytesOf(choice.name));
  }
}

// A project written by the window opens as the same list with the same play
// settings, in a later start too (the last project is kept in the settings).
TEST_F(SceneWindowTest, ProjectSavedThenOpenedAgainGivesTheSameScenes) {
  start();
  app::frmScenes& list = open();
  addScene(list, "a.bmp", 3, QColor(255, 0, 0));
  addScene(list, "b.bmp", 1, QColor(0, 255, 0));
  list.spnHold->setValue(3.25);
  window->gifSetting().setPlays(2);
  window->gifSetting().setPreset(1);
  window->gifSetting().setIntervalText(QStringLiteral("0.2"));
  const std::vector<app::ListedScene> before = list.listed();

  std::filesystem::create_directories(dir / "p");
  log->saveAnswers.push_back(QString::fromStdString((dir / "p" / "banner").string()));
  list.mnuProjectSaveAs->trigger();
  ASSERT_TRUE(log->messages.empty()) << log->messages[0].text.toStdString();
  const auto file = dir / "p" / "banner.pictorell";
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(list.projectPath().toStdString(), file.string());
  // Pictures by their path from the project's folder.
  EXPECT_NE(bytesOf(file).find("../a.bmp"), std::string::npos);

  window->close();
  window.reset();
  start();
  app::frmScenes& again = *window->sceneList();
  window->menus.mnuFile->aboutToShow();
  ASSERT_TRUE(again.mnuProjectLast->isVisible());
  EXPECT_EQ(again.mnuProjectLast->text(), QStringLiteral("前回のプロジェクト: banner.pictorell"));
  again.mnuProjectLast->trigger();
  ASSERT_TRUE(log->messages.empty()) << log->messages[0].text.toStdString();
  ASSERT_EQ(again.listed().size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(again.listed()[i].scene.options.effect, before[i].scene.options.effect);
    EXPECT_EQ(again.listed()[i].scene.holdCs, before[i].scene.holdCs);
    EXPECT_EQ(again.listed()[i].scene.options.bannerColor, before[i].scene.options.bannerColor);
    EXPECT_EQ(again.listed()[i].scene.picture.pixel(3, 3), before[i].scene.picture.pixel(3, 3));
    EXPECT_EQ(std::filesystem::path(again.listed()[i].source.toStdString()).lexically_normal(),
              std::filesystem::path(before[i].source.toStdString()).lexically_normal());
  }
  EXPECT_EQ(window->gifSetting().plays(), 2);
  EXPECT_EQ(window->gifSetting().preset(), 1);
  EXPECT_EQ(window->gifSetting().intervalText(), QStringLiteral("0.2"));
  // Saving again writes the same text.
  const std::string text = bytesOf(file);
  again.mnuProjectSave->trigger();
  EXPECT_EQ(bytesOf(file), text);
}

// A project that cannot be opened whole names what is wrong and leaves the
// list as it was.
TEST_F(SceneWindowTest, ProjectWithAMissingChangedOrBadPartOpensNothing) {
  start();
  app::frmScenes& list = open();
  addScene(list, "a.bmp", 3, QColor(255, 0, 0));
  addScene(list, "b.bmp", 1, QColor(0, 255, 0));
  const QString project = QString::fromStdString((dir / "two.pictorell").string());
  ASSERT_TRUE(list.saveProject(project));
  addScene(list, "c.bmp", 0, QColor(0, 0, 255));  // the list now differs from the file
  const auto effectsNow = effects(list);

  std::filesystem::remove(dir / "b.bmp");
  EXPECT_FALSE(list.openProject(project));
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, app::text::shown(app::text::kScenePictureMissing)
                                       .arg(QStringLiteral("2"), QString::fromStdString((dir / "b.bmp").string())));
  EXPECT_EQ(effects(list), effectsNow);

  apptest::writePicture(dir, "b.bmp", 41, 20);
  EXPECT_FALSE(list.openProject(project));
  ASSERT_EQ(log->messages.size(), 2u);
  EXPECT_TRUE(log->messages[1].text.contains(QStringLiteral("41×20"))) << log->messages[1].text.toStdString();
  EXPECT_TRUE(log->messages[1].text.contains(QStringLiteral("40×20")));
  EXPECT_TRUE(log->messages[1].text.contains(QStringLiteral("b.bmp")));
  EXPECT_EQ(effects(list), effectsNow);

  std::ofstream(dir / "bad.pictorell") << "not a project\n";
  EXPECT_FALSE(list.openProject(QString::fromStdString((dir / "bad.pictorell").string())));
  ASSERT_EQ(log->messages.size(), 3u);
  EXPECT_TRUE(log->messages[2].text.contains(QStringLiteral("bad.pictorell")));
  EXPECT_EQ(effects(list), effectsNow);
  EXPECT_EQ(list.projectPath(), project);  // the project saved last
}

// The banner plays in the main window's preview from the timer: each tick
// shows the next composed frame; pause holds it, step moves one frame, stop
// (or a run of the main window) gives the preview back.
TEST_F(SceneWindowTest, BannerPlaysPausesStepsAndStopsInTheMainPreview) {
  start();
  app::frmScenes& list = open();
  addScene(list, "a.bmp", 3, QColor(255, 0, 0));
  addScene(list, "b.bmp", 1, QColor(0, 255, 0));
  const core::Picture source = window->workState().picSource.picture();
  // The preview's pixels, to compare whole frames.
  const auto shown = [&] { return window->workState().picX.picture().bitmap()->px; };
  const auto expected = scenes::composeBanner(list.banner(), true);
  ASSERT_TRUE(expected);
  const int n = static_cast<int>(expected->frames.size());

  list.cmdPlay->click();
  ASSERT_TRUE(list.isPlaying());
  EXPECT_EQ(list.cmdPlay->text(), app::text::shown(app::text::kCmdBannerStop));
  EXPECT_TRUE(list.tmrBanner->isActive());
  EXPECT_EQ(list.tmrBanner->interval(), (10 + expected->extraCs[0]) * 10);
  EXPECT_EQ(shown(), expected->frames[0].px);
  for (int i = 1; i <= n; ++i) list.tmrBanner_Timer();
  EXPECT_EQ(list.bannerFrame(), 0);  // round and back to the start
  list.tmrBanner_Timer();
  EXPECT_EQ(shown(), expected->frames[1].px);

  list.cmdPause->click();
  EXPECT_TRUE(list.isPaused());
  EXPECT_FALSE(list.tmrBanner->isActive());
  list.tmrBanner_Timer();  // a tick already queued changes nothing
  EXPECT_EQ(list.bannerFrame(), 1);
  list.cmdStep->click();
  EXPECT_EQ(list.bannerFrame(), 2);
  EXPECT_EQ(shown(), expected->frames[2].px);
  EXPECT_FALSE(list.tmrBanner->isActive());
  list.cmdPause->click();
  EXPECT_TRUE(list.tmrBanner->isActive());

  list.cmdPlay->click();  // stop
  EXPECT_FALSE(list.isPlaying());
  EXPECT_FALSE(list.tmrBanner->isActive());
  EXPECT_EQ(shown(), source.bitmap()->px);

  // A new picture of another size in the main window ends the banner.
  list.cmdPlay->click();
  load(apptest::writePicture(dir, "wide.bmp", 60, 20));
  list.tmrBanner_Timer();
  EXPECT_FALSE(list.isPlaying());
  // Hiding the list ends it too.
  load(apptest::writePicture(dir, "a2.bmp", 40, 20));
  list.cmdPlay->click();
  ASSERT_TRUE(list.isPlaying());
  list.hide();
  EXPECT_FALSE(list.isPlaying());
}

TEST_F(SceneWindowTest, ClosingTheMainWindowWhilePlayingTheBannerEndsCleanly) {
  start();
  app::frmScenes& list = open();
  addScene(list, "a.bmp", 3, QColor(255, 0, 0));
  addScene(list, "b.bmp", 1, QColor(0, 255, 0));
  list.cmdPlay->click();
  ASSERT_TRUE(list.isPlaying());
  window->close();
  window.reset();  // the list is the window's child and goes with it
  SUCCEED();
}

}  // namespace
