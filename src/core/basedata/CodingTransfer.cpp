#include "core/basedata/CodingTransfer.h"

#include "core/deposits/ReceivedDeposits.h"
#include "core/deposits/RequestWork.h"
#include "core/deposits/VoucherYear.h"
#include "core/util/Jalali.h"

#include <QSqlField>
#include <QSqlRecord>

namespace orvak::basedata {

using startup::Prompt;

namespace {

QString transferredText() { return QStringLiteral("اطلاعات منتقل شد"); }
QVariant orNull(const QVariant& v) { return v.isNull() ? QVariant(QMetaType(QMetaType::QString)) : v; }
QString trimmed(const QVariant& v) { return v.toString().trimmed(); }

// Every row of a query on the session's accounting database.
bool readRows(QSqlDatabase db, const QString& sql, QList<QSqlRecord>& rows, QString* why)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        *why = q.lastError().text();
        return false;
    }
    while (q.next())
        rows << q.record();
    if (q.lastError().isValid()) {
        *why = q.lastError().text();
        return false;
    }
    return true;
}

QVariantMap valuesOf(const QSqlRecord& r)
{
    QVariantMap v;
    for (int i = 0; i < r.count(); ++i)
        v.insert(r.fieldName(i).toUpper(), r.value(i));
    return v;
}

} // namespace

QList<int> transferYears()
{
    QList<int> years;
    for (int y = 1385; y <= util::CurrentJalaliYear(); ++y)
        years << y;
    return years;
}

const QList<SourceSection>& sourceSections()
{
    static const QList<SourceSection> all{{QStringLiteral("عمراني"), 1}, {QStringLiteral("جاري"), 2}, {QStringLiteral("ساير منابع"), 3}};
    return all;
}

CodingTransfer::CodingTransfer(startup::Session& session, bool administrator) : session_(session), administrator_(administrator) {}

TransferResult CodingTransfer::fromAccounting(AccountingKind kind, int year, Prompt& prompt)
{
    TransferResult result;
    auto refuse = [&](const QString& text) {
        result.message = text;
        prompt.info(text);
        return result;
    };
    if (!administrator_ && !deposits::ReceivedDeposits(session_).mayWrite(prompt)) {
        result.message = deposits::writeRefusalText();
        return result;
    }
    const int ci = session_.SectionCode().toInt();
    QList<QSqlRecord> source;
    {
        deposits::VoucherYear books(session_, year);
        if (!books.open())
            return refuse(books.missingText());
        static const char* const queries[] = {
            "SELECT CODE, NAME, HESABJARI, HESABMOSHTARAK FROM TAFSILI ORDER BY CODE",
            "SELECT PROJNO, CODP, NAMEP, KIND, TARHNO FROM PROJEH ORDER BY PROJNO",
            "SELECT CODE, PAYMENTNO, AMOUNT, EZAFEHKAR, PROJNO, TAFSILNO, PAYMENTDATE, PAYMENTYEAR, DESCR FROM PAYMENTS ORDER BY CODE",
            "SELECT CODE, CODT, NAMET, KIND, SAL FROM TARH ORDER BY CODE",
        };
        QString why;
        if (!readRows(session_.accounting(), QString::fromLatin1(queries[int(kind)]), source, &why))
            return refuse(QStringLiteral("اشکال در خواندن اطلاعات حسابداري: ") + why);
    }
    result.read = int(source.size());

    QString why;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        result.inserted = result.updated = result.conflicts = 0;
        result.left.clear();
        result.right.clear();
        switch (kind) {
        case AccountingKind::DetailAccounts: {
            // What the common chart holds, any section: the first row of each code.
            struct Held { int ci; QString name, jari, moshtarak; };
            QHash<int, Held> held;
            if (!deposits::requestwork::eachRow(w, QStringLiteral("SELECT CODE, CI, NAME, HESABJARI, HESABMOSHTARAK FROM {common}.TAFSILI ORDER BY CI"), {},
                                                [&](const QSqlRecord& r) {
                                                    const int code = r.value(0).toInt();
                                                    if (!held.contains(code))
                                                        held.insert(code, {r.value(1).toInt(), trimmed(r.value(2)), trimmed(r.value(3)), trimmed(r.value(4))});
                                                }))
                return false;
            for (const QSqlRecord& r : source) {
                const int code = r.value(0).toInt();
                const QString name = trimmed(r.value(1));
                const auto it = held.constFind(code);
                if (it == held.constEnd()) {
                    if (!w.insert(db::Store::Common, QStringLiteral("TAFSILI"),
                                  {{QStringLiteral("CODE"), code}, {QStringLiteral("NAME"), name}, {QStringLiteral("HESABJARI"), orNull(r.value(2))},
                                   {QStringLiteral("HESABMOSHTARAK"), orNull(r.value(3))}, {QStringLiteral("CI"), ci}}))
                        return false;
                    held.insert(code, {ci, name, trimmed(r.value(2)), trimmed(r.value(3))});
                    ++result.inserted;
                } else if (it->name == name) {
                    if (it->jari == trimmed(r.value(2)) && it->moshtarak == trimmed(r.value(3)))
                        continue;
                    int changed = 0;
                    if (!w.update(db::Store::Common, QStringLiteral("TAFSILI"),
                                  QVariantMap{{QStringLiteral("HESABJARI"), orNull(r.value(2))}, {QStringLiteral("HESABMOSHTARAK"), orNull(r.value(3))}},
                                  QStringLiteral("CODE = :c AND CI = :ci"), {{QStringLiteral(":c"), code}, {QStringLiteral(":ci"), it->ci}}, &changed))
                        return false;
                    result.updated += changed;
                } else {
                    result.left << QStringLiteral("%1 - %2").arg(code).arg(name);
                    result.right << QStringLiteral("%1 - %2").arg(code).arg(it->name);
                    ++result.conflicts;
                }
            }
            return true;
        }
        case AccountingKind::Projects: {
            QHash<qint64, bool> named;   // the section-0 projects, and whether they have a name
            if (!deposits::requestwork::eachRow(w, QStringLiteral("SELECT PROJNO, NAMEP FROM {common}.PROJEH WHERE CI = 0"), {},
                                                [&](const QSqlRecord& r) { named.insert(r.value(0).toLongLong(), !r.value(1).isNull()); }))
                return false;
            for (const QSqlRecord& r : source) {
                const qint64 no = commonProjectNo(year, r.value(0).toLongLong());
                const QVariant plan = r.value(4).isNull() ? QVariant() : QVariant(commonProjectNo(year, r.value(4).toLongLong()));
                const QVariantMap values{{QStringLiteral("TARHNO"), orNull(plan)}, {QStringLiteral("CODP"), orNull(r.value(1))},
                                         {QStringLiteral("NAMEP"), orNull(r.value(2))}, {QStringLiteral("KIND"), orNull(r.value(3))},
                                         {QStringLiteral("SAL_MOF"), year}};
                const auto it = named.constFind(no);
                if (it == named.constEnd()) {
                    QVariantMap row = values;
                    row.insert(QStringLiteral("CI"), 0);
                    row.insert(QStringLiteral("PROJNO"), no);
                    if (!w.insert(db::Store::Common, QStringLiteral("PROJEH"), row))
                        return false;
                    named.insert(no, !r.value(2).isNull());
                    ++result.inserted;
                } else if (!it.value() && !r.value(2).isNull()) {
                    // The row looked up, by its number with the year in it.
                    int changed = 0;
                    if (!w.update(db::Store::Common, QStringLiteral("PROJEH"), values, QStringLiteral("CI = 0 AND PROJNO = :p"),
                                  {{QStringLiteral(":p"), no}}, &changed))
                        return false;
                    named[no] = true;
                    result.updated += changed;
                }
            }
            return true;
        }
        case AccountingKind::Contracts: {
            QHash<int, bool> held;
            if (!deposits::requestwork::eachRow(w, QStringLiteral("SELECT CODE FROM {common}.PAYMENTS"), {},
                                                [&](const QSqlRecord& r) { held.insert(r.value(0).toInt(), true); }))
                return false;
            for (const QSqlRecord& r : source) {
                const int code = r.value(0).toInt();
                if (held.contains(code))
                    continue;
                if (!w.insert(db::Store::Common, QStringLiteral("PAYMENTS"),
                              {{QStringLiteral("CODE"), code},                  {QStringLiteral("PAYMENTNO"), orNull(r.value(1))},
                               {QStringLiteral("AMOUNT"), orNull(r.value(2))},  {QStringLiteral("EZAFEHKAR"), orNull(r.value(3))},
                               {QStringLiteral("PROJNO"), orNull(r.value(4))},  {QStringLiteral("TAFSIL"), orNull(r.value(5))},
                               {QStringLiteral("PAYMENTDATE"), orNull(r.value(6))}, {QStringLiteral("PAYMENTYEAR"), orNull(r.value(7))},
                               {QStringLiteral("DESCR"), orNull(r.value(8))},   {QStringLiteral("CI"), ci}}))
                    return false;
                held.insert(code, true);
                ++result.inserted;
            }
            return true;
        }
        case AccountingKind::Plans: {
            QHash<int, bool> held;
            if (!deposits::requestwork::eachRow(w, QStringLiteral("SELECT CODE FROM {common}.TARH WHERE CI = :ci"), {{QStringLiteral(":ci"), ci}},
                                                [&](const QSqlRecord& r) { held.insert(r.value(0).toInt(), true); }))
                return false;
            for (const QSqlRecord& r : source) {
                const int code = r.value(0).toInt();
                if (held.contains(code))
                    continue;
                if (!w.insert(db::Store::Common, QStringLiteral("TARH"),
                              {{QStringLiteral("CI"), ci}, {QStringLiteral("CODE"), code}, {QStringLiteral("CODT"), orNull(r.value(1))},
                               {QStringLiteral("NAMET"), orNull(r.value(2))}, {QStringLiteral("KIND"), orNull(r.value(3))},
                               {QStringLiteral("SAL"), orNull(r.value(4))}, {QStringLiteral("SAL_MOF"), year}}))
                    return false;
                held.insert(code, true);
                ++result.inserted;
            }
            return true;
        }
        }
        return false;
    }, &why);
    if (!ok)
        return refuse(why);
    result.done = true;
    result.message = result.conflicts > 0 ? QStringLiteral("%1 کد تغيير کرده است ").arg(result.conflicts) : transferredText();
    prompt.info(result.message);
    return result;
}

TransferResult CodingTransfer::betweenSections(SectionKind kind, int fromSection, Prompt& prompt)
{
    TransferResult result;
    if (fromSection < 0)
        return result;
    if (!administrator_ && !deposits::ReceivedDeposits(session_).mayWrite(prompt)) {
        result.message = deposits::writeRefusalText();
        return result;
    }
    static const char* const tables[] = {"TAFSILI", "PROJEH", "PAYMENTS"};
    static const char* const keys[] = {"CODE", "PROJNO", "CODE"};
    const QString table = QString::fromLatin1(tables[int(kind)]);
    const QString key = QString::fromLatin1(keys[int(kind)]);
    QString why;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        result.read = result.inserted = 0;
        QHash<qint64, bool> held;
        if (!deposits::requestwork::eachRow(w, QStringLiteral("SELECT %1 FROM {common}.%2 WHERE CI = :to").arg(key, table),
                                            {{QStringLiteral(":to"), TargetSection}},
                                            [&](const QSqlRecord& r) { held.insert(r.value(0).toLongLong(), true); }))
            return false;
        QList<QVariantMap> copies;
        if (!deposits::requestwork::eachRow(w, QStringLiteral("SELECT * FROM {common}.%1 WHERE CI = :az ORDER BY %2").arg(table, key),
                                            {{QStringLiteral(":az"), fromSection}}, [&](const QSqlRecord& r) {
                                                ++result.read;
                                                const qint64 k = r.value(key).toLongLong();
                                                if (held.contains(k))
                                                    return;
                                                held.insert(k, true);
                                                QVariantMap v = valuesOf(r);
                                                v.insert(QStringLiteral("CI"), TargetSection);
                                                copies << v;
                                            }))
            return false;
        for (const QVariantMap& v : copies) {
            if (!w.insert(db::Store::Common, table, v))
                return false;
            ++result.inserted;
        }
        return true;
    }, &why);
    if (!ok) {
        result.message = why;
        prompt.info(why);
        return result;
    }
    result.done = true;
    result.message = transferredText();
    prompt.info(result.message);
    return result;
}

} // namespace orvak::basedata
