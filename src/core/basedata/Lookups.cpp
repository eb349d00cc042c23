#include "core/basedata/Lookups.h"

#include "core/db/Db.h"

#include <QSqlQuery>

namespace orvak::basedata {

db::Fetched<QSqlRecord> lookup(startup::Session& session, Lookup kind, const QVariant& key, const QVariant& second)
{
    QString sql;
    QVariantMap binds{{QStringLiteral(":CI"), session.SectionCode()}};
    switch (kind) {
    case Lookup::DetailByCode:
        sql = QStringLiteral("select * from Tafsili where(Code=:PCode) and CI=:CI");
        binds.insert(QStringLiteral(":PCode"), key);
        break;
    case Lookup::DetailByName:
        sql = QStringLiteral("select * from Tafsili where (Name=:PName) and CI=:CI");
        binds.insert(QStringLiteral(":PName"), key);
        break;
    case Lookup::ContractByCode:
        sql = QStringLiteral("Select * from PAYMENTS Where (Code=:PCode) and CI=:CI");
        binds.insert(QStringLiteral(":PCode"), key);
        break;
    case Lookup::ContractByNumber:
        sql = QStringLiteral("Select * from PAYMENTS Where (Paymentno=:PayMentNo)and(tafsil=:Tafsil) and CI=:CI");
        binds.insert(QStringLiteral(":PayMentNo"), key);
        binds.insert(QStringLiteral(":Tafsil"), second);
        break;
    case Lookup::Plan:
        sql = QStringLiteral("Select * From Tarh Where Code=:PCode and CI=:CI");
        binds.insert(QStringLiteral(":PCode"), key);
        break;
    case Lookup::ProjectByNumber:
        sql = QStringLiteral("Select * From Projeh Where ProjNo=:PCode and CI=:CI");
        binds.insert(QStringLiteral(":PCode"), key);
        break;
    case Lookup::ProjectByName:
        sql = QStringLiteral("Select * From Projeh Where NameP=:PName and CI=:CI");
        binds.insert(QStringLiteral(":PName"), key);
        break;
    case Lookup::CreditKind:
        sql = QStringLiteral("select * from etebarKind Where Kind=:PKind and CI=:CI");
        binds.insert(QStringLiteral(":PKind"), key);
        break;
    case Lookup::Centre:
        // One list of places serves every section.
        sql = QStringLiteral("select * from Centers Where Code=:PCode order by code");
        binds = {{QStringLiteral(":PCode"), key}};
        break;
    case Lookup::BankAccount:
        sql = QStringLiteral("select * from Hesab Where Code=:PCode order by code");
        binds = {{QStringLiteral(":PCode"), key}};
        break;
    }
    return db::firstRow(session.common(), sql, binds);
}

io::LookupTable namesByQuery(io::ListSource& source, const QString& sql, bool perSection, db::Store store)
{
    io::LookupTable table;
    QSqlQuery q(source.listDatabase(store == db::Store::Deposits ? io::ListDatabase::Deposits : io::ListDatabase::Common));
    q.setForwardOnly(true);
    if (!db::prepareBound(q, sql, perSection ? QVariantMap{{QStringLiteral(":CI"), source.listSection()}} : QVariantMap{}) || !q.exec())
        return table;
    while (q.next())
        table.insert(q.value(0).toLongLong(), q.value(1).toString().trimmed());
    return table;
}

io::LookupReader namesReader(const char* sql, bool perSection, db::Store store)
{
    return [sql, perSection, store](io::ListSource& s) { return namesByQuery(s, QString::fromLatin1(sql), perSection, store); };
}

} // namespace orvak::basedata
