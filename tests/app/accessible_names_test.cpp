// What a screen reader can say about each control: every control the user
// can reach in the main window, the frame list, the scene list and the GIF
// options dialog has a name, and a control whose caption is a symbol also
// says what it does.
#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

#include "app/frm_gif_setting.h"
#include "app/frm_scenes.h"
#include "app/hue_bar.h"
#include "app/main_menus.h"
#include "app/picture_view.h"
#include "core/picture.h"
#include "framelist/frm_frames.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

bool isControl(QWidget* w, const QSet<QWidget*>& views) {
  // Qt's own parts of a control (a spin box's or combo box's line edit, a
  // scroll area's bars, a combo box's drop-down list) are spoken through the
  // control that holds them.
  if (w->objectName().startsWith(QLatin1String("qt_"))) return false;
  if (qobject_cast<QComboBox*>(w->parentWidget())) return false;
  if (w->window()->inherits("QComboBoxPrivateContainer")) return false;
  if (qobject_cast<QScrollBar*>(w) && w->parentWidget() &&
      qobject_cast<QAbstractScrollArea*>(w->parentWidget()->parentWidget()))
    return false;
  return qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
         qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
         qobject_cast<QAbstractItemView*>(w) || dynamic_cast<app::PictureView*>(w) ||
         dynamic_cast<app::HueBar*>(w) || views.contains(w);
}

// The control's C++ class (the custom views have no meta-object of their
// own), its caption or tool tip, and its window.
QString describe(QWidget* w) {
  int status = 0;
  char* cls = abi::__cxa_demangle(typeid(*w).name(), nullptr, nullptr, &status);
  QString out = QString::fromLatin1(status == 0 && cls ? cls : w->metaObject()->className());
  std::free(cls);
  const auto* button = qobject_cast<QAbstractButton*>(w);
  const QString caption = button ? button->text() : w->toolTip();
  return out + " '" + caption + "' in " + w->window()->windowTitle();
}

// A name such as "I>" or "▲": at most two characters, one of them neither
// letter nor digit.
bool isSymbol(const QString& name) {
  if (name.size() > 2) return false;
  for (QChar c : name)
    if (!c.isLetterOrNumber()) return true;
  return false;
}

// Every control of `top` without a name or called by a symbol, and every
// symbol or empty caption without a description.
QStringList unnamed(QWidget* top, const QSet<QWidget*>& views = {}) {
  QStringList out;
  QList<QWidget*> all = top->findChildren<QWidget*>();
  all.prepend(top);
  for (QWidget* w : all) {
    if (!isControl(w, views)) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    const QString name = a ? a->text(QAccessible::Name) : QString();
    const QString about = a ? a->text(QAccessible::Description) : QString();
    if (name.trimmed().isEmpty())
      out << describe(w) + " has no name";
    else if (isSymbol(name))
      out << describe(w) + " is called only '" + name + "'";
    // A button captioned with a symbol, or a box with no caption at all,
    // also says what it does.
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (button && (isSymbol(button->text()) || button->text().isEmpty()) && about.trimmed().isEmpty())
      out << describe(w) + " has no description";
  }
  return out;
}

class AccessibleNamesTest : public WindowTest {};

TEST_F(AccessibleNamesTest, EveryControlOfEveryWindowIsNamed) {
  start();
  window->show();
  EXPECT_EQ(unnamed(window.get()).join('\n').toStdString(), "");

  // The frame list with two frames, so that their check boxes are there.
  framelist::frmFrames* frames = window->frameList();
  ASSERT_NE(frames, nullptr);
  const core::Picture frame = core::Picture::fromBitmap(core::Bitmap(8, 6, core::rgb(1, 2, 3)));
  frames->Add_Stock(frame);
  frames->Add_Stock(frame);
  frames->show();
  ASSERT_EQ(frames->picStockCount(), 2);
  QSet<QWidget*> stock;
  for (int i = 0; i < frames->picStockCount(); ++i) stock.insert(frames->picStock(i));
  EXPECT_EQ(unnamed(frames, stock).join('\n').toStdString(), "");

  window->menus.mnuScenes->trigger();
  ASSERT_NE(window->sceneList(), nullptr);
  EXPECT_EQ(unnamed(window->sceneList()).join('\n').toStdString(), "");

  app::frmGifSetting& gif = window->gifSetting();
  gif.show();
  EXPECT_EQ(unnamed(&gif).join('\n').toStdString(), "");
  gif.hide();
}

}  // namespace
