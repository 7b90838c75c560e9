#include "app/first_run.h"

#include <QSettings>

namespace app {

bool firstRunRecordExists() {
  QSettings s(QStringLiteral("Kovatek"), QStringLiteral("Brenlo"));
  return !s.allKeys().isEmpty();
}

void writeFirstRunRecord(const QDate& today) {
  QSettings s(QStringLiteral("Kovatek"), QStringLiteral("Brenlo"));
  s.setValue(QStringLiteral("Install"), today.toString(QStringLiteral("yyyy/MM/dd")));
  s.sync();
}

}  // namespace app
