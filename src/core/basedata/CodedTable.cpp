#include "core/basedata/CodedTable.h"

#include "core/startup/Rights.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

namespace orvak::basedata {

namespace {

const QString kSection = QStringLiteral(":CI");

bool isOpen(startup::Session& session, db::Store store)
{
    switch (store) {
    case db::Store::Common:
        return session.isConnected();
    case db::Store::Deposits:
        return session.hasDeposits();
    case db::Store::Accounting:
        return session.AccountingDbOpen();
    }
    return false;
}

// "KEY = :code" with the section's condition where the table has one.
QString keyCondition(const QString& column, bool perSection)
{
    QString where = QStringLiteral("[%1] = :code").arg(column);
    if (perSection)
        where += QStringLiteral(" AND CI = :CI");
    return where;
}

} // namespace

QSqlDatabase databaseOf(startup::Session& session, db::Store store)
{
    switch (store) {
    case db::Store::Common:
        return session.common();
    case db::Store::Deposits:
        return session.deposits();
    case db::Store::Accounting:
        return session.accounting();
    }
    return {};
}

int sectionOf(const startup::Session& session) { return session.SectionCode().toInt(); }

db::Fetched<QSqlRecord> readByCode(startup::Session& session, const CodedTable& t, qint64 code)
{
    return db::firstRow(databaseOf(session, t.store), QStringLiteral("SELECT * FROM [%1] WHERE ").arg(t.table) + keyCondition(t.key, t.perSection),
                        {{QStringLiteral(":code"), code}, {kSection, sectionOf(session)}});
}

QList<std::pair<qint64, QString>> codeNames(startup::Session& session, const CodedTable& t, const QString& nameColumn)
{
    QList<std::pair<qint64, QString>> names;
    QSqlQuery q(databaseOf(session, t.store));
    QString sql = QStringLiteral("SELECT [%1], [%2] FROM [%3]").arg(t.key, nameColumn, t.table);
    if (t.perSection)
        sql += QStringLiteral(" WHERE CI = :CI");
    if (!db::prepareBound(q, sql + QStringLiteral(" ORDER BY [%1]").arg(t.key), {{kSection, sectionOf(session)}}) || !q.exec())
        return names;
    while (q.next())
        names.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return names;
}

std::optional<qint64> proposedCode(startup::Session& session, const CodedTable& t)
{
    return db::largestPlusOne(databaseOf(session, t.store), t.table, t.key, t.perSection ? QStringLiteral("CI = :CI") : QString(),
                              {{kSection, sectionOf(session)}});
}

bool writeByCode(startup::Session& session, const CodedTable& t, qint64* code, const QVariantMap& values, bool insert, QString* why)
{
    const int section = sectionOf(session);
    qint64 written = *code;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        if (!insert)
            return w.update(t.store, t.table, values, keyCondition(t.key, t.perSection), {{QStringLiteral(":code"), written}, {kSection, section}});
        if (*code <= 0) {
            const std::optional<qint64> next =
                w.nextKey(t.store, t.table, t.key, t.perSection ? QStringLiteral("CI = :CI") : QString(), {{kSection, section}});
            if (!next)
                return false;
            written = *next;
        }
        QVariantMap row = values;
        row.insert(t.key, written);
        if (t.perSection)
            row.insert(QStringLiteral("CI"), section);
        return w.insert(t.store, t.table, row);
    }, why);
    if (ok)
        *code = written;
    return ok;
}

bool removeByCode(db::UnitOfWork& w, const CodedTable& t, qint64 code, int section)
{
    return w.remove(t.store, t.table, keyCondition(t.key, t.perSection), {{QStringLiteral(":code"), code}, {kSection, section}});
}

db::Fetched<bool> referred(startup::Session& session, const QList<Reference>& places, const QVariant& value)
{
    for (const Reference& r : places) {
        // Without the section's registers nothing can be said; without an accounting
        // database of the year there are no vouchers to hold the row.
        if (r.store == db::Store::Deposits && !session.hasDeposits())
            return db::Fetched<bool>::failure(QStringLiteral("بانک اطلاعاتي سپرده هاي بخش مالي باز نيست"));
        if (!isOpen(session, r.store))
            continue;
        QString sql = QStringLiteral("SELECT COUNT(*) FROM [%1] WHERE [%2] = :v").arg(r.table, r.column);
        if (r.perSection)
            sql += QStringLiteral(" AND CI = :CI");
        const db::Fetched<QVariant> n = db::scalar(databaseOf(session, r.store), sql, {{QStringLiteral(":v"), value}, {kSection, sectionOf(session)}});
        if (n.failed())
            return db::Fetched<bool>::failure(n.error());
        if (n && n->toLongLong() > 0)
            return db::Fetched<bool>::found(true);
    }
    return db::Fetched<bool>::found(false);
}

bool repoint(db::UnitOfWork& w, startup::Session& session, const QList<Reference>& places, qint64 from, qint64 to)
{
    for (const Reference& r : places) {
        if (r.store == db::Store::Deposits && !session.hasDeposits())
            return w.fail(QStringLiteral("بانک اطلاعاتي سپرده هاي بخش مالي باز نيست"));
        if (!isOpen(session, r.store))
            continue;
        QString where = QStringLiteral("[%1] = :old").arg(r.column);
        if (r.perSection)
            where += QStringLiteral(" AND CI = :CI");
        if (!w.update(r.store, r.table, QStringLiteral("[%1] = :new").arg(r.column), where,
                      {{QStringLiteral(":old"), from}, {QStringLiteral(":new"), to}, {kSection, sectionOf(session)}}))
            return false;
    }
    return true;
}

std::optional<qint64> saveRecord(startup::Session& session, const RegisterRules& rules, qint64 code, const QVariantMap& values,
                                 bool insert, startup::Prompt& prompt)
{
    const QString incomplete = rules.incomplete.isEmpty() ? incompleteText() : rules.incomplete;
    bool filled = code > 0 || (insert && code == 0);
    for (const QString& column : rules.required)
        filled = filled && !values.value(column).toString().trimmed().isEmpty();
    if (!filled) {
        prompt.info(incomplete);
        return std::nullopt;
    }
    if (insert && code > 0) {
        const db::Fetched<QSqlRecord> existing = readByCode(session, rules.table, code);
        if (existing.failed() || existing) {
            prompt.info(existing.failed() ? existing.error() : duplicateText(existing->value(rules.nameColumn).toString().trimmed()));
            return std::nullopt;
        }
    }
    for (const RegisterRules::Link& link : rules.links) {
        const QVariant v = values.value(link.column);
        if (v.isNull() || v.toLongLong() == 0 || v.toLongLong() == -1)
            continue;
        const db::Fetched<QSqlRecord> target = readByCode(session, link.target, v.toLongLong());
        if (!target) {
            prompt.info(target.failed() ? target.error() : notFoundText(v.toLongLong()));
            return std::nullopt;
        }
    }
    qint64 saved = code;
    QString why;
    if (!writeByCode(session, rules.table, &saved, values, insert, &why)) {
        prompt.info(why);
        return std::nullopt;
    }
    return saved;
}

bool removeRecord(startup::Session& session, const RegisterRules& rules, qint64 code, startup::Prompt& prompt)
{
    if (rules.deleteMenuId > 0) {
        QString refusal;
        if (!startup::mayUse(session, rules.deleteMenuId, startup::AccessDelete, &refusal)) {
            prompt.info(refusal);
            return false;
        }
    }
    db::Fetched<bool> used = referred(session, rules.blocking, code);
    if (used && !*used && rules.alsoBlocked)
        used = rules.alsoBlocked(code);
    if (!used || *used) {
        prompt.info(used.failed() ? used.error() : rules.blockedText);
        return false;
    }
    if (!prompt.ask(rules.deleteQuestion))
        return false;
    const int section = sectionOf(session);
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        return (!rules.removeSatellites || rules.removeSatellites(w, code)) && removeByCode(w, rules.table, code, section);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

std::optional<qint64> typedCode(const QString& text)
{
    const std::optional<qint64> code = util::parseWholeNumber(util::normalizeDigits(text.trimmed()));
    if (!code || *code <= 0 || *code > 2147483647)
        return std::nullopt;
    return code;
}

std::optional<QString> storedDate(const QString& text)
{
    const std::optional<util::JalaliDate> d = util::parseJalali(util::normalizeDigits(text.trimmed()));
    if (!d)
        return std::nullopt;
    return d->toText();
}

QString incompleteText() { return QStringLiteral("اطلاعات کامل نيست"); }

QString notFoundText(qint64 code) { return QStringLiteral(" کد يافت نشد ") + QString::number(code); }

QString duplicateText(const QString& existingName) { return QStringLiteral("کد تکراري است : ") + existingName; }

} // namespace orvak::basedata
