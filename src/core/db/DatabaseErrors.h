#pragma once
// The Persian message of a failure the database reported. The engine's and the
// driver's own English texts never reach the user: a damaged file is named, a lock
// held by another program says so, and the common refusals (a repeated key, a
// missing value, a search pattern too long) say what they mean.
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QString>

namespace orvak::db {

// A failure of a statement on db (db names the files to look at when the failure
// says one of them is damaged).
QString errorText(const QSqlError& error, const QSqlDriver* driver);
QString errorText(const QSqlError& error, QSqlDatabase db);
// The same from the embedded engine's own result code and text.
QString errorText(int code, const QString& engineText, const QSqlDriver* driver);

// A message on its way to the user, from wherever it came: texts of this program
// pass unchanged, any English text of the engine or the driver in it is replaced
// by what it means (a line with nothing but such text, by a general message).
QString userText(const QString& text);

} // namespace orvak::db
