// The real open dialog must let every supported picture through its first
// entry, whatever the case of the name, while the entry reads as written.
#include <fstream>

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QThread>
#include <QTimer>

#include "app/prompts.h"
#include "app/source_intake.h"
#include "framelist/save_dialog.h"
#include "window_fixture.h"

namespace {

QStringList shownFiles(QFileSystemModel* model, const QString& folder) {
  // The model fills in the background; wait until the folder is listed.
  const QModelIndex parent = model->index(folder);
  QElapsedTimer waited;
  waited.start();
  while (model->rowCount(parent) < 6 && waited.elapsed() < 10000) {
    QCoreApplication::processEvents();
    QThread::msleep(5);
  }
  QStringList out;
  for (int r = 0; r < model->rowCount(parent); ++r) {
    const QModelIndex idx = model->index(r, 0, parent);
    if (model->flags(idx) & Qt::ItemIsEnabled) out << model->fileName(idx);
  }
  out.sort();
  return out;
}

TEST(FileDialog, FirstOpenEntryShowsEverySupportedPictureInAnyCase) {
  apptest::application();
  const auto dir = testutil::makeTempDir("app-file-dialog");
  for (const char* name : {"a.BMP", "b.jpg", "c.Gif", "d.png", "e.jpeg", "f.WebP", "g.tif"})
    std::ofstream(dir / name) << "x";
  const QString folder = QString::fromStdString(dir.string());

  QFileDialog dialog;
  app::configureFileDialog(dialog, app::openDialogRequest(folder, QString()), false);
  EXPECT_EQ(dialog.nameFilters().front(), QString::fromUtf8("対応画像ファイル(*.bmp;*.jpg;*.gif;*.png;*.webp)"));
  auto* model = dialog.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  model->setNameFilterDisables(false);  // hide what does not match, so the list says it plainly
  EXPECT_EQ(shownFiles(model, folder), QStringList({"a.BMP", "b.jpg", "c.Gif", "d.png", "e.jpeg", "f.WebP"}));

  // Choosing another entry and coming back keeps the real patterns.
  auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  ASSERT_NE(combo, nullptr);
  combo->setCurrentIndex(3);
  emit combo->activated(3);
  EXPECT_EQ(model->nameFilters(), QStringList({"*.gif"}));
  combo->setCurrentIndex(0);
  emit combo->activated(0);
  EXPECT_EQ(model->nameFilters(), QStringList({"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.png", "*.webp"}));
}

TEST(FileDialog, SaveDialogLeavesSuffixesToUsAndAsksNothingAboutOverwriting) {
  apptest::application();
  QFileDialog dialog;
  app::configureFileDialog(dialog, app::saveDialogRequest("/tmp"), true);
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog.defaultSuffix(), QString());
  EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("保存先およびベース名の設定"));
  EXPECT_EQ(dialog.selectedNameFilter(), QString::fromUtf8("ビットマップ(*.bmp)"));
}

// Answers the save dialog that `show` opens as a user would: picks the file
// type entry, types the name into the dialog and presses Save. Returns what
// the dialog handed back.
template <class Show>
QString typeIntoSaveDialog(Show show, int type, const QString& typed) {
  QTimer::singleShot(0, [type, typed] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->selectNameFilter(dialog->nameFilters().value(type));
    dialog->selectFile(typed);
    static_cast<QDialog*>(dialog)->accept();  // Save, as the button does
  });
  return show();
}

TEST(FileDialog, ANameTypedWithoutExtensionGetsTheChosenTypesInBothSaveDialogs) {
  apptest::application();
  const auto dir = testutil::makeTempDir("app-save-type");
  const QString folder = QString::fromStdString(dir.string());
  app::QtPrompts prompts(nullptr);
  const auto mainSave = [&](int type, const QString& typed) {
    return typeIntoSaveDialog([&] { return prompts.saveFile(app::saveDialogRequest(folder)); }, type, typed);
  };
  const auto listSave = [&](int type, const QString& typed) {
    return typeIntoSaveDialog(
        [&] { return framelist::askSaveNameWithDialog(nullptr, framelist::frameSaveDialogRequest(dir.string())); },
        type, typed);
  };
  for (const auto& save : {std::function<QString(int, const QString&)>(mainSave), std::function(listSave)}) {
    EXPECT_EQ(save(2, "banner"), folder + "/banner.gif");
    EXPECT_EQ(save(1, "banner"), folder + "/banner.jpg");
    EXPECT_EQ(save(3, "banner"), folder + "/banner.webp");
    // The bitmap type: banner.bmp writes the same BMP files as banner did.
    EXPECT_EQ(save(0, "banner"), folder + "/banner.bmp");
    // A typed extension chooses the format, whatever the type entry says.
    EXPECT_EQ(save(2, "banner.jpg"), folder + "/banner.jpg");
    EXPECT_EQ(save(0, "anim.small.gif"), folder + "/anim.small.gif");
    EXPECT_EQ(save(1, "notes.txt"), folder + "/notes.txt");
  }
}

TEST(FileDialog, TheTypesExtensionComesFromItsEntryAndOnlyNamesWithoutADotGetIt) {
  EXPECT_EQ(framelist::firstPatternOf(QString::fromUtf8("ＧＩＦ(*.gif)")), "*.gif");
  EXPECT_EQ(framelist::firstPatternOf("Pictures (*.bmp;*.jpg *.gif)"), "*.bmp");
  EXPECT_EQ(framelist::firstPatternOf("All files"), "");
  EXPECT_EQ(framelist::withTypeExtension("/a.b/banner", "*.gif"), "/a.b/banner.gif");  // a dot in the folder
  EXPECT_EQ(framelist::withTypeExtension("/a/banner.", "*.gif"), "/a/banner.");
  EXPECT_EQ(framelist::withTypeExtension("/a/banner", "*"), "/a/banner");
  EXPECT_EQ(framelist::withTypeExtension("/a/banner", ""), "/a/banner");
  EXPECT_EQ(framelist::withTypeExtension("", "*.gif"), "");
}

}  // namespace
