// txtSource: the source file name, which also takes a dropped picture file.
#pragma once

#include <functional>

#include <QLineEdit>

namespace app {

class DropField : public QLineEdit {
 public:
  // onDrop receives the dropped file's local path.
  using DropHandler = std::function<void(const QString& path)>;

  explicit DropField(QWidget* parent);
  void setDropHandler(DropHandler handler) { onDrop_ = std::move(handler); }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  DropHandler onDrop_;
};

}  // namespace app
