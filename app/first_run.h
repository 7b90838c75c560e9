// The per-user first-run record: its absence makes the program open the help
// file at start. Kept in the per-user application settings store (QSettings,
// organization "Kovatek", application "Brenlo"), not in the INI file.
#pragma once

#include <QDate>

namespace app {

// True when the vendor/application record holds any value.
bool firstRunRecordExists();

// Stores the value "Install" as the date formatted "yyyy/mm/dd".
void writeFirstRunRecord(const QDate& today);

}  // namespace app
