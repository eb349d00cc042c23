#include "core/basedata/CodedTable.h"

#include "core/startup/Rights.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <climits>

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

// The section's and the scope's conditions, joined by AND; empty without either.
QString scopeCondition(const CodedTable& t)
{
    QStringList terms;
    if (t.perSection)
        terms << QStringLiteral("CI = :CI");
    for (auto it = t.scope.begin(); it != t.scope.end(); ++it)
        terms << QStringLiteral("[%1] = :%1").arg(it.key());
    return terms.join(QStringLiteral(" AND "));
}

// "KEY = :code" with the section's and the scope's conditions.
QString keyCondition(const CodedTable& t)
{
    const QString scope = scopeCondition(t);
    return QStringLiteral("[%1] = :code").arg(t.key) + (scope.isEmpty() ? QString() : QStringLiteral(" AND ") + scope);
}

QVariantMap keyBinds(const CodedTable& t, qint64 code, int section)
{
    QVariantMap binds{{QStringLiteral(":code"), code}, {kSection, section}};
    for (auto it = t.scope.begin(); it != t.scope.end(); ++it)
        binds.insert(QLatin1Char(':') + it.key(), it.value());
    return binds;
}

QString takenText(const RegisterRules& rules, const QSqlRecord& holder)
{
    const QString name = holder.value(rules.nameColumn).toString().trimmed();
    return rules.duplicate.isEmpty() ? duplicateText(name) : rules.duplicate + name;
}

QString missingText(const RegisterRules& rules, qint64 code) { return rules.missing + QString::number(code); }

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
    return db::firstRow(databaseOf(session, t.store), QStringLiteral("SELECT * FROM [%1] WHERE ").arg(t.table) + keyCondition(t),
                        keyBinds(t, code, sectionOf(session)));
}

QList<std::pair<qint64, QString>> codeNames(startup::Session& session, const CodedTable& t, const QString& nameColumn, QString* why)
{
    QList<std::pair<qint64, QString>> names;
    QSqlQuery q(databaseOf(session, t.store));
    QString sql = QStringLiteral("SELECT [%1], [%2] FROM [%3]").arg(t.key, nameColumn, t.table);
    const QString scope = scopeCondition(t);
    if (!scope.isEmpty())
        sql += QStringLiteral(" WHERE ") + scope;
    QString error;
    if (!db::prepareBound(q, sql + QStringLiteral(" ORDER BY [%1]").arg(t.key), keyBinds(t, 0, sectionOf(session)), &error) || !q.exec()) {
        if (why)
            *why = error.isEmpty() ? q.lastError().text() : error;
        return names;
    }
    while (q.next())
        names.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return names;
}

std::optional<qint64> proposedCode(startup::Session& session, const CodedTable& t, QString* why)
{
    return db::largestPlusOne(databaseOf(session, t.store), t.table, t.key, scopeCondition(t), keyBinds(t, 0, sectionOf(session)), why);
}

namespace {

// Inserts the row (with *code <= 0 under largest + 1, taken inside the work and taken
// again when another workstation took it meanwhile; a typed code checked again for
// its holder) or changes the row with *code. False with the reason.
bool writeByCode(startup::Session& session, const RegisterRules& rules, qint64* code, const QVariantMap& values, bool insert,
                 QString* why)
{
    const CodedTable& t = rules.table;
    const int section = sectionOf(session);
    qint64 written = *code;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        if (!insert) {
            int changed = 0;
            return w.update(t.store, t.table, values, keyCondition(t), keyBinds(t, written, section), &changed)
                && (rules.missing.isEmpty() || changed == 1 || w.fail(missingText(rules, written)));
        }
        if (*code <= 0) {
            const std::optional<qint64> next = w.nextKey(t.store, t.table, t.key, scopeCondition(t), keyBinds(t, 0, section));
            if (!next)
                return false;
            written = *next;
        } else {
            const db::Fetched<QSqlRecord> holder =
                w.firstRow(QStringLiteral("SELECT * FROM %1 WHERE ").arg(w.table(t.store, t.table)) + keyCondition(t), keyBinds(t, written, section));
            if (holder.failed())
                return false;
            if (holder)
                return w.fail(takenText(rules, *holder));
        }
        QVariantMap row = values;
        row.insert(t.key, written);
        if (t.perSection)
            row.insert(QStringLiteral("CI"), section);
        for (auto it = t.scope.begin(); it != t.scope.end(); ++it)
            row.insert(it.key(), it.value());
        return w.insert(t.store, t.table, row);
    }, why);
    if (ok)
        *code = written;
    return ok;
}

} // namespace

bool removeByCode(db::UnitOfWork& w, const CodedTable& t, qint64 code, int section, int* removed)
{
    return w.remove(t.store, t.table, keyCondition(t), keyBinds(t, code, section), removed);
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
    bool filled = code > 0 || (insert && code == 0 && !rules.codeTyped);
    for (const QString& column : rules.required)
        filled = filled && !values.value(column).toString().trimmed().isEmpty();
    if (!filled) {
        prompt.info(incomplete);
        return std::nullopt;
    }
    if (code > INT_MAX) {
        prompt.info(QStringLiteral("کد بزرگتر از حد مجاز است."));
        return std::nullopt;
    }
    const QString name = values.value(rules.nameColumn).toString().trimmed();
    if (rules.nameLength > 0 && name.size() > rules.nameLength) {
        prompt.info(QStringLiteral("متن وارد شده بيش از %1 حرف است : ").arg(rules.nameLength) + name.left(40));
        return std::nullopt;
    }
    if (insert && code > 0) {
        const db::Fetched<QSqlRecord> existing = readByCode(session, rules.table, code);
        if (existing.failed() || existing) {
            prompt.info(existing.failed() ? existing.error() : takenText(rules, *existing));
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
    if (!writeByCode(session, rules, &saved, values, insert, &why)) {
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
    QString why;
    if (rules.refusal) {
        std::optional<QString> refused;
        const bool checked = session.inWork([&](db::UnitOfWork& w) {
            refused = rules.refusal(w, code);
            return w.ok();
        }, &why);
        if (!checked || refused) {
            prompt.info(checked ? *refused : why);
            return false;
        }
    }
    if (!prompt.ask(rules.deleteQuestion))
        return false;
    const int section = sectionOf(session);
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        if (rules.refusal) {
            if (const std::optional<QString> refused = rules.refusal(w, code))
                return w.fail(*refused);
            if (!w.ok())
                return false;
        }
        int removed = 0;
        return (!rules.removeSatellites || rules.removeSatellites(w, code)) && removeByCode(w, rules.table, code, section, &removed)
            && (rules.missing.isEmpty() || removed == 1 || w.fail(missingText(rules, code)));
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

RegisterRules typedCodeRules(CodedTable table, QString nameColumn, int nameLength)
{
    RegisterRules rules;
    rules.table = std::move(table);
    rules.nameColumn = nameColumn;
    rules.required = {nameColumn};
    rules.codeTyped = true;
    rules.nameLength = nameLength;
    rules.duplicate = QStringLiteral("کد قبلا تعريف شده است : ");
    rules.missing = QStringLiteral("رديفي با اين کد يافت نشــد: ");
    rules.deleteQuestion = QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟");
    return rules;
}

db::Fetched<qint64> nextCode(startup::Session& session, const CodedTable& t)
{
    QString why;
    const std::optional<qint64> next = proposedCode(session, t, &why);
    return next ? db::Fetched<qint64>::found(*next) : db::Fetched<qint64>::failure(why);
}

db::Fetched<QString> nameByCode(startup::Session& session, const CodedTable& t, const QString& nameColumn, qint64 code)
{
    return readAs<QString>(session, t, code, [&](const QSqlRecord& r) { return r.value(nameColumn).toString().trimmed(); });
}

db::Fetched<QList<std::pair<qint64, QString>>> namesByCode(startup::Session& session, const CodedTable& t, const QString& nameColumn)
{
    using Rows = QList<std::pair<qint64, QString>>;
    QString why;
    const Rows rows = codeNames(session, t, nameColumn, &why);
    return why.isEmpty() ? db::Fetched<Rows>::found(rows) : db::Fetched<Rows>::failure(why);
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

std::optional<QString> searchTextRefusal(const QString& text)
{
    if (text.trimmed().size() <= LongestSearchText)
        return std::nullopt;
    return QStringLiteral("متن جستجو بيش از %1 حرف است").arg(LongestSearchText);
}

QString incompleteText() { return QStringLiteral("اطلاعات کامل نيست"); }

QString notFoundText(qint64 code) { return QStringLiteral(" کد يافت نشد ") + QString::number(code); }

QString duplicateText(const QString& existingName) { return QStringLiteral("کد تکراري است : ") + existingName; }

} // namespace orvak::basedata
