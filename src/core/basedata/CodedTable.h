#pragma once
// What the base-data registers share: a table keyed by one code (within the
// financial section where the table is kept per section), its rows read by code,
// new codes as largest + 1 taken inside the inserting work, the checks that a row
// is still referred to, and the typed codes and texts every entry reads.
#include "core/db/UnitOfWork.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

namespace orvak::basedata {

struct CodedTable {
    db::Store store = db::Store::Common;
    QString table;
    QString key;              // the code column
    bool perSection = false;  // rows carry CI; every statement keeps to the current section
    // Further columns of the key with their values (a kind of list kept in one table):
    // every statement keeps to them and an insert writes them.
    QVariantMap scope = {};
};

// The session's handle on the database of a store.
QSqlDatabase databaseOf(startup::Session& session, db::Store store);
// The current section as the CI columns hold it.
int sectionOf(const startup::Session& session);

// Every row's code and name (in the current section), by code; empty when unreadable,
// with the reason in why.
QList<std::pair<qint64, QString>> codeNames(startup::Session& session, const CodedTable& t, const QString& nameColumn,
                                            QString* why = nullptr);

// The row with the code (in the current section), none, or the failure of the read.
db::Fetched<QSqlRecord> readByCode(startup::Session& session, const CodedTable& t, qint64 code);
// The row with the code as the register's value type.
template <class T>
db::Fetched<T> readAs(startup::Session& session, const CodedTable& t, qint64 code, const std::function<T(const QSqlRecord&)>& from)
{
    const db::Fetched<QSqlRecord> r = readByCode(session, t, code);
    if (!r)
        return r.failed() ? db::Fetched<T>::failure(r.error()) : db::Fetched<T>::none();
    return db::Fetched<T>::found(from(*r));
}
// The code a new row would get now: largest + 1, 1 in an empty table.
std::optional<qint64> proposedCode(startup::Session& session, const CodedTable& t, QString* why = nullptr);
// The delete of the row with the code inside a running work.
bool removeByCode(db::UnitOfWork& w, const CodedTable& t, qint64 code, int section, int* removed = nullptr);

// A place a code is referred to: a column of a table, and whether that table is
// kept per section (CI).
struct Reference {
    db::Store store;
    QString table;
    QString column;
    bool perSection = false;
};
// Whether any of the places holds the value. Databases that are not open hold
// nothing; a read that fails is a failure (and so counts as in use).
db::Fetched<bool> referred(startup::Session& session, const QList<Reference>& places, const QVariant& value);
// Re-points every place from one value to another inside a running work, in order.
bool repoint(db::UnitOfWork& w, startup::Session& session, const QList<Reference>& places, qint64 from, qint64 to);

// The rules of one register's entry and delete, which every register follows in
// this order. Saving: the code and the required columns filled ("اطلاعات کامل نيست"),
// in insert mode a code that is taken refused with the holder's name, then every
// linked code (a column naming a row of another table) must exist. Deleting: the
// delete bit of the access entry where one is named, the places that refuse while
// they refer to the row, the question, then the row with its satellites in one work.
struct RegisterRules {
    CodedTable table;
    QString nameColumn;        // shown after the duplicate text
    QStringList required;      // columns that must not be empty, besides the code
    QString incomplete;        // the register's own "incomplete" text; empty: the standard one
    bool codeTyped = false;    // the code is always typed: 0 is incomplete, never largest + 1
    int nameLength = 0;        // the longest name taken; 0: the column's own width
    QString duplicate;         // the register's own "taken code" text; empty: the standard one
    // An edit or delete that finds no row is refused with this text and the code;
    // empty: not checked.
    QString missing;
    struct Link {
        QString column;
        CodedTable target;
    };
    QList<Link> links;         // a value of 0, -1 or none names no row
    int deleteMenuId = 0;      // the access entry whose delete bit deleting needs (0: none)
    QList<Reference> blocking; // a delete is refused while any of these refers to the row
    QString blockedText;
    // Further checks before the question (rows under the row that are in use, say):
    // found(true) refuses with blockedText.
    std::function<db::Fetched<bool>(qint64 code)> alsoBlocked;
    // Why the row may not go, asked before the question and again inside the deleting
    // work; nullopt when it may.
    std::function<std::optional<QString>(db::UnitOfWork& w, qint64 code)> refusal;
    QString deleteQuestion;
    // Rows that go with the row, deleted first inside the same work.
    std::function<bool(db::UnitOfWork& w, qint64 code)> removeSatellites;
};

// Saves the values (columns other than the code and CI) under the code; with code 0
// in insert mode under largest + 1. The saved code, or nullopt after telling why.
std::optional<qint64> saveRecord(startup::Session& session, const RegisterRules& rules, qint64 code, const QVariantMap& values,
                                 bool insert, startup::Prompt& prompt);
bool removeRecord(startup::Session& session, const RegisterRules& rules, qint64 code, startup::Prompt& prompt);

// The rules of a short list whose code is always typed (groups, trades, parameters):
// code and name required, the name at most nameLength long, a taken code told with
// "کد قبلا تعريف شده است : " and its holder, a missing row with "رديفي با اين کد يافت نشــد: ".
RegisterRules typedCodeRules(CodedTable table, QString nameColumn, int nameLength);

// The reads of such a list with a failure told apart from "none".
db::Fetched<qint64> nextCode(startup::Session& session, const CodedTable& t);
db::Fetched<QString> nameByCode(startup::Session& session, const CodedTable& t, const QString& nameColumn, qint64 code);
db::Fetched<QList<std::pair<qint64, QString>>> namesByCode(startup::Session& session, const CodedTable& t, const QString& nameColumn);

// Typed values as the entries read them: a code (Persian digits too) that must be
// a whole number above zero; a Jalali date that must be real, as stored ("YYYY/MM/DD").
std::optional<qint64> typedCode(const QString& text);
std::optional<QString> storedDate(const QString& text);

// The longest text a search takes. No column a search reads holds more, and a LIKE
// pattern of tens of thousands of characters is more than the database engine takes.
inline constexpr int LongestSearchText = 200;
// The refusal of a typed search text that is too long; nullopt when it may be searched.
std::optional<QString> searchTextRefusal(const QString& text);

// The standard texts.
QString incompleteText();            // "اطلاعات کامل نيست"
QString notFoundText(qint64 code);   // " کد يافت نشد " + code
QString duplicateText(const QString& existingName);   // "کد تکراري است : " + name

} // namespace orvak::basedata
