// The keyboard in the main window: the desktop's keys for the common
// commands, shown in the menus, and Tab through the controls in the order
// they are laid out.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

#include "app/main_menus.h"
#include "app/option_panel.h"
#include "framelist/frm_frames.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

class KeyboardTest : public WindowTest {
 protected:
  app::frmMain& startActive() {
    app::frmMain& w = start();
    load(apptest::writePicture(dir, "src.bmp", 40, 20));
    w.show();
    if (!QTest::qWaitForWindowActive(&w)) ADD_FAILURE() << "the window did not become active";
    return w;
  }
  // As the user presses it: to the widget with the focus.
  static void press(app::frmMain& w, QKeyCombination key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
  }
  // A control as a failure message names it.
  static std::string named(const QWidget* c) {
    const auto* b = qobject_cast<const QAbstractButton*>(c);
    const QString name = b ? b->text() : c->accessibleName();
    return std::string(c->metaObject()->className()) + " " + name.toStdString();
  }
  template <class... C>
  static std::vector<std::string> controls(C*... c) {
    return {named(c)...};
  }
  // The controls Tab reaches from txtSource, one round.
  static std::vector<std::string> tabRound(app::frmMain& w) {
    w.txtSource->setFocus();
    std::vector<std::string> seen;
    for (int i = 0; i < 40; ++i) {
      seen.push_back(named(QApplication::focusWidget()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      if (QApplication::focusWidget() == w.txtSource) break;
    }
    return seen;
  }
};

TEST_F(KeyboardTest, MenusShowTheDesktopKeys) {
  app::frmMain& w = start();
  const app::MainMenus& m = w.menus;
  EXPECT_EQ(m.mnuFileOpen->shortcut().toString(), "Ctrl+O");
  EXPECT_EQ(m.mnuFileSave->shortcut().toString(), "Ctrl+S");
  EXPECT_EQ(m.mnuFileQuit->shortcut().toString(), "Ctrl+Q");
  EXPECT_EQ(m.mnuEditCopy->shortcut().toString(), "Ctrl+C");
  EXPECT_EQ(m.mnuPreview->shortcut().toString(), "F5");
  EXPECT_EQ(m.mnuHelpOpen->shortcut().toString(), "F1");
  // The captions and their mnemonics are unchanged.
  EXPECT_EQ(m.mnuFileOpen->text(), QString::fromUtf8("元画像を開く(&O)"));
  EXPECT_EQ(m.mnuPreview->text(), QString::fromUtf8("プレビュー(&V)"));
}

TEST_F(KeyboardTest, KeysRunTheCommands) {
  app::frmMain& w = startActive();
  w.cmdPrev->setFocus();

  press(w, Qt::CTRL | Qt::Key_O);
  EXPECT_EQ(log->openRequests.size(), 1u);
  press(w, Qt::CTRL | Qt::Key_S);
  EXPECT_EQ(log->saveRequests.size(), 1u);
  const std::size_t helpShown = log->opened.size() + log->messages.size();
  press(w, Qt::Key_F1);
  EXPECT_EQ(log->opened.size() + log->messages.size(), helpShown + 1);

  press(w, Qt::Key_F5);
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Playing);
  w.cmdPause[0]->setFocus();
  w.cmdPause_Click(0);
  // The source field keeps Ctrl+C for the text selected in it.
  w.txtSource->setFocus();
  w.txtSource->selectAll();
  press(w, Qt::CTRL | Qt::Key_C);
  EXPECT_TRUE(w.frameList()->frames().isEmpty());
  EXPECT_EQ(QApplication::clipboard()->text(), w.txtSource->text());
  w.cmdPause[0]->setFocus();
  press(w, Qt::CTRL | Qt::Key_C);
  EXPECT_FALSE(w.frameList()->frames().isEmpty());
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  press(w, Qt::Key_F5);
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Idle);

  // The copied frame is an unsaved change of the frame list: quitting asks first.
  log->questionAnswers = {true};
  press(w, Qt::CTRL | Qt::Key_Q);
  EXPECT_EQ(log->questions.size(), 1u);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(KeyboardTest, TabFollowsTheLayout) {
  app::frmMain& w = startActive();
  w.cboType->setCurrentIndex(0);
  app::SlidePanel* slide = w.fraSlide;
  const std::vector<std::string> idle = controls(w.txtSource, w.cmdOpen,  w.picScroll,    w.cmdPrev,      w.cmdSave,
                                      w.cboType,   w.cmdColor[0], slide->chkCross, slide->chkMask, w.cmdClose);
  EXPECT_EQ(tabRound(w), idle);

  // A preview locks the source's button and the options; what stays goes in
  // the same order, the paused preview's buttons before the close button.
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  const std::vector<std::string> paused = controls(w.txtSource, w.picScroll, w.cmdPrev, w.cmdPause[0],
                                                   w.cmdPause[1], w.cmdCopy, w.cmdClose);
  EXPECT_EQ(tabRound(w), paused);
  w.Form_KeyDown(Qt::Key_Escape);
}

}  // namespace
