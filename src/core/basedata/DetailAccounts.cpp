#include "core/basedata/DetailAccounts.h"

#include "core/basedata/CodedTable.h"
#include "core/startup/Rights.h"
#include "core/util/Iban.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"
#include "core/util/TextKey.h"

#include <QSqlField>
#include <algorithm>
#include <climits>

namespace orvak::basedata {

using db::Store;

namespace {

struct Column {
    const char* name;
    int length;   // characters a text column holds; 0 for numbers and pictures
};

// TAFSILI in its insert order, with the widths of its text columns.
constexpr Column kColumns[] = {
    {"CODE", 0}, {"NAME", 100}, {"HESABJARI", 160}, {"HESABMOSHTARAK", 160}, {"GROUPS", 0}, {"ADDRESS", 100}, {"KIND", 0},
    {"TELL", 15}, {"FAX", 15}, {"MOBILE", 12}, {"EMAIL", 25}, {"WEB", 25}, {"HESABJARI1", 30}, {"BANK1", 0},
    {"CODSHOBE1", 10}, {"SHOB1", 20}, {"HESABJARI2", 30}, {"BANK2", 0}, {"SHOB2", 20}, {"CODSHOBE2", 10}, {"CITY1", 10},
    {"CITY2", 10}, {"MOHR", 0}, {"EMZA", 0}, {"NAMAYANDEH", 0}, {"SABTNO", 10}, {"SABTLOC", 10}, {"SABTDATE", 10},
    {"CODE_EGHTESADI", 12}, {"CODE_KARGAH", 20}, {"CODE_RAHGIRI", 20}, {"MOJAVEZNO", 15}, {"PARVANEHNO", 10},
    {"ADMIN_NAME", 100}, {"ADMIN_MELICODE", 10}, {"NAMYNDE_NAME", 100}, {"NAMYNDE_MELICODE", 10}, {"NAMYNDE_LTRNO", 15},
    {"NAMYNDE_LTRDATE", 10}, {"POSTCODE", 10}, {"POSTBOX", 12}, {"OSTAN", 10}, {"CITY", 10}, {"RASTEH1", 0}, {"RASTEH2", 0},
    {"RANK1", 10}, {"RANK2", 10}, {"EMZA_SECOND", 100}, {"CI", 0}, {"VATD1", 10}, {"VATD2", 10}, {"LETTER", 10},
    {"LETTER_DATE", 10}, {"TAFSILKIND", 0}, {"GCODE", 0}, {"NID", 15}, {"ARCHIVENO", 10}, {"NOMINEECODE", 15},
    {"SHABA", 30}, {"BOURSECODE", 10}, {"SAMADTAFSILKIND", 0}, {"SAMADTAFSILCAT", 0}, {"LASTNAME", 50}, {"FIRSTNAME", 60},
    {"IDENTIFIER", 50}, {"BANKMARKAZIACCOUNT", 30},
};

const char* const kDateColumns[] = {"SABTDATE", "NAMYNDE_LTRDATE", "VATD1", "VATD2", "LETTER_DATE"};

// Every column of the deposits database that holds a party's number, in the order
// a change of number re-points them.
const char* const kDepositReferences[][2] = {
    {"SEP_DAR", "TAFSILI"}, {"SEP_RADH", "TAFSILI"}, {"SEP_RADR1", "TAFSILI"}, {"SEP_RADR2", "TAFSILI"},
    {"SEP_REQR", "TAFSILNO"}, {"ZEMANAT", "TAFSILNO"},
};

QString incomplete() { return QStringLiteral("اطلاعات کامل نيست"); }

bool isEmptyDate(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char('/'));
    return t.trimmed().isEmpty();
}

// Whether a value handed back by the screen is the one the row holds: an empty text
// and NULL are alike, texts compare without their padding, pictures byte for byte.
bool sameStoredValue(const QVariant& stored, const QVariant& given)
{
    auto empty = [](const QVariant& v) {
        return v.isNull() || !v.isValid() || ((v.typeId() == QMetaType::QString) && v.toString().trimmed().isEmpty())
            || (v.typeId() == QMetaType::QByteArray && v.toByteArray().isEmpty());
    };
    if (empty(stored) || empty(given))
        return empty(stored) && empty(given);
    if (stored.typeId() == QMetaType::QByteArray || given.typeId() == QMetaType::QByteArray)
        return stored.toByteArray() == given.toByteArray();
    return stored.toString().trimmed() == given.toString().trimmed();
}

QString notOpen(const QString& what) { return QStringLiteral("بانک اطلاعاتي %1 باز نيست").arg(what); }

// A LIKE pattern every name whose search key holds key matches, so that the server
// narrows the rows and the key itself decides: letters with other spellings (Yeh,
// Kaf, digits, cased letters) and LIKE's own signs match any one character, and any
// characters may stand between two (the key drops ZWNJ and the direction marks).
QString likeSuperset(const QString& key)
{
    QString pattern(QLatin1Char('%'));
    for (QChar c : key) {
        const bool variant = c.isDigit() || c.unicode() == 0x064A || c.unicode() == 0x0643 || c.toUpper() != c
            || QStringLiteral("%_[]^\\'").contains(c);
        pattern += variant ? QLatin1Char('_') : c;
        pattern += QLatin1Char('%');
    }
    return pattern;
}

QList<qint64> codesOf(QSqlQuery& q)
{
    QList<qint64> codes;
    while (q.next())
        codes << q.value(0).toLongLong();
    return codes;
}

} // namespace

const QStringList& detailAccountColumns()
{
    static const QStringList names = [] {
        QStringList n;
        for (const Column& c : kColumns)
            n << QString::fromLatin1(c.name);
        return n;
    }();
    return names;
}

QStringList companyKinds()
{
    return {QStringLiteral("با مسئوليت محدود"), QStringLiteral("سهامي خاص"), QStringLiteral("سهامي عام"), QStringLiteral("تعاوني چند منظوره")};
}

QStringList partyBanks()
{
    return {QStringLiteral("ملي"), QStringLiteral("ملت"), QStringLiteral("صادرات"), QStringLiteral("تجارت"), QStringLiteral("و....")};
}

QStringList personKinds() { return {QStringLiteral("حقوقي"), QStringLiteral("حقيقي")}; }

QStringList reportingPersonTypes()
{
    return {QStringLiteral("1 - حقوقي"),
            QStringLiteral("2 - حقيقي ايراني با اهميت"),
            QStringLiteral("3 - حقيقي خارجي با اهميت"),
            QStringLiteral("4 - دولت جمهوري اسلامي ايران"),
            QStringLiteral("5 - خزانه داري کل کشور"),
            QStringLiteral("6 - نهاد هاي بين المللي"),
            QStringLiteral("7 - حقيقي ايراني ساير"),
            QStringLiteral("8 - حقيقي خارجي ساير"),
            QStringLiteral("9 - حقوقي بي اهميت"),
            QStringLiteral("10 - دارندگان اسناد خزانه اسلامي"),
            QStringLiteral("11 - دارندگان اوراق مشارکت"),
            QStringLiteral("12 - دارندگان صکوک اجاره"),
            QStringLiteral("13 - دارندگان اوراق قرضه")};
}

QList<std::pair<int, QString>> reportingCategories()
{
    // The list opens with the private contractors, consultants and banks and ends with
    // the holders of public debt papers; the rows between are not known here, so their
    // positions are not offered (a stored one is kept and shown as its number).
    return {{1, QStringLiteral("3111 - پيمانکاران بخش خصوصي طرح هاي تملک دارايي هاي سرمايه اي")},
            {2, QStringLiteral("3112 - مشاوران بخش خصوصي")},
            {3, QStringLiteral("3121 - بانک هاي خصوصي")},
            {ReportingCategoryRows - 3, QStringLiteral("3611 - دارندگان اسناد خزانه اسلامي")},
            {ReportingCategoryRows - 2, QStringLiteral("3612 - دارندگان اوراق مشارکت")},
            {ReportingCategoryRows - 1, QStringLiteral("3613 - دارندگان صکوک اجاره")},
            {ReportingCategoryRows, QStringLiteral("3614 - دارندگان اوراق قرضه")}};
}

NomineeCode buildNomineeCode(const QString& categoryRow, const QString& nationalId, startup::Prompt& prompt)
{
    NomineeCode n;
    for (QChar c : util::normalizeDigits(nationalId)) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            n.nationalId.append(c);
    }
    QString digits = n.nationalId;
    if (digits.size() == 10)
        digits.prepend(QLatin1Char('9'));
    if (digits.size() != 11) {
        prompt.info(QStringLiteral("ايراد در شناسه/کد ملي"));
        n.ok = false;
    }
    n.code = categoryRow.left(4) + digits;
    return n;
}

QString detailAccountsSql(PartyOrder order, const PartyRestriction& restriction)
{
    QString narrowed = QStringLiteral("and(1=1)");
    if (restriction.codes) {
        if (restriction.codes->isEmpty()) {
            narrowed = QStringLiteral("And (1=0)");
        } else {
            QStringList numbers;
            numbers.reserve(restriction.codes->size());
            for (qint64 c : *restriction.codes)
                numbers << QString::number(c);
            narrowed = QStringLiteral("And (Code In (%1))").arg(numbers.join(QLatin1Char(',')));
        }
    }
    const char* by = order == PartyOrder::Name ? "NAME" : order == PartyOrder::Groups ? "GROUPS" : "CODE";
    return QStringLiteral("Select * From Tafsili Where ((NAME like :PName)OR('0'=:PName)) and(CI=:CI)\n%1\nORDER BY %2")
        .arg(narrowed, QLatin1String(by));
}

DetailAccounts::DetailAccounts(startup::Session& session)
    : DetailAccounts(session, session.SectionCode())
{
}

DetailAccounts::DetailAccounts(startup::Session& session, const QString& section)
    : session_(session)
    , section_(section.toInt())
{
}

QVariantMap DetailAccounts::sectionBinds(qint64 code) const
{
    return {{QStringLiteral(":CI"), section_}, {QStringLiteral(":Code"), code}};
}

db::Fetched<qint64> DetailAccounts::proposedCode() const
{
    std::optional<qint64> next;
    QString why;
    session_.inWork(
        [&](db::UnitOfWork& w) {
            next = w.nextKey(Store::Common, QStringLiteral("TAFSILI"), QStringLiteral("CODE"), QStringLiteral("CI=:CI"), sectionBinds(0));
            return next.has_value();
        },
        &why);
    return next ? db::Fetched<qint64>::found(*next) : db::Fetched<qint64>::failure(why);
}

db::Fetched<DetailAccount> DetailAccounts::read(qint64 code) const
{
    const auto row = db::firstRow(session_.common(), QStringLiteral("Select * From Tafsili where (CI=:CI) and Code=:Code"), sectionBinds(code));
    if (!row)
        return row.failed() ? db::Fetched<DetailAccount>::failure(row.error()) : db::Fetched<DetailAccount>::none();
    DetailAccount a;
    a.code = code;
    for (int i = 0; i < row->count(); ++i) {
        const QString field = row->fieldName(i).toUpper();
        if (field == QLatin1String("CODE") || field == QLatin1String("CI"))
            continue;
        const QVariant v = row->value(i);
        a.values.insert(field, v.typeId() == QMetaType::QString && !v.isNull() ? QVariant(v.toString().trimmed()) : v);
    }
    return db::Fetched<DetailAccount>::found(a);
}

db::Fetched<QString> DetailAccounts::nameOf(qint64 code) const
{
    const auto v = db::scalar(session_.common(), QStringLiteral("select Name from Tafsili where(Code=:Code) and CI=:CI"), sectionBinds(code));
    if (!v)
        return v.failed() ? db::Fetched<QString>::failure(v.error()) : db::Fetched<QString>::none();
    return db::Fetched<QString>::found(v->toString().trimmed());
}

db::Fetched<QSqlRecord> DetailAccounts::otherWith(const QString& column, const QString& value, qint64 code) const
{
    QVariantMap binds = sectionBinds(code);
    binds.insert(QStringLiteral(":Value"), value);
    return db::firstRow(session_.common(),
                        QStringLiteral("Select Code,Name From tafsili where(CI=:CI) and (%1 =:Value)and (Code<>:Code)").arg(column), binds);
}

void DetailAccounts::checkNationalId(qint64 code, const QString& name, const QString& nationalId, startup::Prompt& prompt) const
{
    const QString nid = util::normalizeDigits(nationalId).trimmed();
    if (nid.isEmpty())
        return;
    const auto other = otherWith(QStringLiteral("NID"), nid, code);
    if (other) {
        prompt.info(QStringLiteral("  اطلاعات تكراري است : ") + other->value(0).toString() + QStringLiteral(" کد ")
                    + other->value(1).toString().trimmed());
    }
    if (nid.size() == 10 && !util::IsValidNationalCode(nid))
        prompt.info(QStringLiteral("  کد ملي نامعتبر است : ") + QString::number(code) + QStringLiteral(" کد ") + name.trimmed());
}

bool DetailAccounts::nameHeldElsewhere(qint64 code, const QString& name, startup::Prompt& prompt) const
{
    if (name.trimmed().isEmpty())
        return false;
    const auto other = otherWith(QStringLiteral("Name"), name.trimmed(), code);
    if (!other)
        return false;
    prompt.info(QStringLiteral("  اطلاعات تكراري است : ") + other->value(1).toString().trimmed());
    return true;
}

void DetailAccounts::checkBourseCode(qint64 code, const QString& bourseCode, startup::Prompt& prompt) const
{
    if (!bourseCode.trimmed().isEmpty() && otherWith(QStringLiteral("BourseCode"), bourseCode.trimmed(), code))
        prompt.info(QStringLiteral("کد معاملاتي بورس تکراري است."));
}

bool DetailAccounts::checkIban(const QString& shaba, startup::Prompt& prompt) const
{
    if (util::compactIban(shaba).isEmpty() || util::IsValidIban(util::ibanOfIran(shaba)))
        return true;
    prompt.info(QStringLiteral("توجه داشته باشيد که شماره شبا نامعتبر است."));
    return false;
}

bool DetailAccounts::save(const DetailAccount& account, bool insert, startup::Prompt& prompt)
{
    // An edit writes only the columns whose value differs from the stored row, so that
    // a value the screen cannot show (a code beyond its list, a NULL, a date of
    // another program's making) stays as it was, and only those are checked.
    std::optional<DetailAccount> stored;
    if (!insert && account.code > 0) {
        const db::Fetched<DetailAccount> row = read(account.code);
        if (!row) {
            prompt.info(row.failed() ? row.error() : QStringLiteral("حساب تفصيلي با اين کد يافت نشــد: ") + QString::number(account.code));
            return false;
        }
        stored = *row;
    }
    auto touched = [&](const QString& column) { return !stored || !sameStoredValue(stored->values.value(column), account.values.value(column)); };

    const QString name = account.text(QStringLiteral("NAME"));
    // The identifier is kept as typed (a foreign party's passport number holds letters),
    // its digits in ASCII.
    const QString nid = util::normalizeDigits(account.text(QStringLiteral("NID"))).trimmed();
    const QString bourse = account.text(QStringLiteral("BOURSECODE"));
    // 1 and 2: warnings only.
    if (!nid.isEmpty() && otherWith(QStringLiteral("NID"), nid, account.code))
        prompt.info(QStringLiteral("توجه داشته باشيد که شناسه/کد ملي تکراري است."));
    if (!bourse.isEmpty() && otherWith(QStringLiteral("BourseCode"), bourse, account.code))
        prompt.info(QStringLiteral("توجه داشته باشيد که کد معاملاتي بورس تکراري است."));
    // 3: number and name.
    if (account.code <= 0 || name.isEmpty()) {
        prompt.info(incomplete());
        return false;
    }
    if (account.code > INT_MAX) {
        prompt.info(QStringLiteral("شماره تفصيلي بزرگتر از حد مجاز است."));
        return false;
    }
    for (const char* column : kDateColumns) {
        const QString date = account.text(QString::fromLatin1(column));
        if (touched(QString::fromLatin1(column)) && !isEmptyDate(date) && !util::parseJalali(date)) {
            prompt.info(QStringLiteral("تاريخ وارد شده معتبر نيست : ") + date);
            return false;
        }
    }
    QVariantMap values;
    for (const Column& c : kColumns) {
        const QString field = QString::fromLatin1(c.name);
        if (field == QLatin1String("CODE") || field == QLatin1String("CI") || field == QLatin1String("GCODE") || !touched(field))
            continue;
        QVariant v = account.values.value(field);
        if (c.length > 0 && !v.isNull())
            v = v.toString().trimmed();
        values.insert(field, v);
    }
    if (values.contains(QStringLiteral("NID")))
        values.insert(QStringLiteral("NID"), nid);
    if (values.contains(QStringLiteral("SHABA"))) {
        // Stored after the fixed "IR" the screen shows.
        QString shaba = util::compactIban(account.text(QStringLiteral("SHABA")));
        if (shaba.startsWith(QLatin1String("IR")))
            shaba.remove(0, 2);
        values.insert(QStringLiteral("SHABA"), shaba);
    }
    // Written NULL by this program; an edit leaves what another program put there.
    if (insert)
        values.insert(QStringLiteral("GCODE"), QVariant(QMetaType(QMetaType::Int)));
    for (const char* column : kDateColumns) {
        if (values.contains(QString::fromLatin1(column)) && isEmptyDate(account.text(QString::fromLatin1(column))))
            values.insert(QString::fromLatin1(column), QString());
    }
    for (const Column& c : kColumns) {
        const QString text = values.value(QString::fromLatin1(c.name)).toString();
        if (c.length > 0 && text.size() > c.length) {
            prompt.info(QStringLiteral("متن وارد شده بيش از %1 حرف است : ").arg(c.length) + text.left(40));
            return false;
        }
    }
    // 4: a recommendation only.
    if (nid.isEmpty())
        prompt.info(QStringLiteral("توصيه ميشود کد ملي/شناسه ملي اشخاص هم وارد شود"));
    if (touched(QStringLiteral("SHABA")))
        checkIban(account.text(QStringLiteral("SHABA")), prompt);
    if (!insert && values.isEmpty())
        return true;

    QString why;
    QString taken;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            const QVariantMap binds = sectionBinds(account.code);
            if (insert) {
                // 5: the number must be free (checked inside the inserting work).
                const auto existing = w.firstRow(QStringLiteral("Select Name From {common}.TAFSILI Where Code=:Code and CI=:CI"), binds);
                if (existing.failed())
                    return false;
                if (existing) {
                    taken = existing->value(0).toString().trimmed();
                    return w.fail(QStringLiteral("کد قبلا تعريف شده است : ") + taken);
                }
                QVariantMap row = values;
                row.insert(QStringLiteral("CODE"), account.code);
                row.insert(QStringLiteral("CI"), binds.value(QStringLiteral(":CI")));
                return w.insert(Store::Common, QStringLiteral("TAFSILI"), row);
            }
            int changed = 0;
            if (!w.update(Store::Common, QStringLiteral("TAFSILI"), values, QStringLiteral("Code=:Code and CI=:CI"), binds, &changed))
                return false;
            return changed == 1 || w.fail(QStringLiteral("حساب تفصيلي با اين کد يافت نشــد: ") + QString::number(account.code));
        },
        &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

std::optional<QString> DetailAccounts::refusalOfDelete(db::UnitOfWork& w, qint64 code) const
{
    // A check that cannot be read fails the work, which refuses the delete.
    const QVariantMap binds = sectionBinds(code);
    auto count = [&](const QString& sql) -> qint64 {
        const auto n = w.scalar(sql, binds);
        if (!n) {
            w.fail(n.failed() ? n.error() : QStringLiteral("خواندن اطلاعات انجام نشد"));
            return 0;
        }
        return n->toLongLong();
    };
    auto used = [&](const QString& sql) { return w.ok() && count(sql) > 0; };
    if (!session_.hasDeposits()) {
        w.fail(notOpen(QStringLiteral("سپرده ها")));
        return std::nullopt;
    }
    const qint64 held = count(QStringLiteral("select count(*) from {common}.TAFSILI where Code=:Code and CI=:CI"));
    if (!w.ok())
        return std::nullopt;
    if (held == 0)
        return QStringLiteral("حساب تفصيلي با اين کد يافت نشــد: ") + QString::number(code);
    if (used(QStringLiteral("select count(*) from {deposits}.ZEMANAT where tafsilNo=:Code"))
        || used(QStringLiteral("select count(*) from {deposits}.SEP_DAR where tafsili=:Code")))
        return QStringLiteral("اين پيمانکار در سپرده ها و يا تضمينات داراي گردش مي باشد و نميتواند حذف گردد.");
    if (session_.AccountingDbOpen() && used(QStringLiteral("select count(*) from {accounting}.SNDROW where tafsil=:Code")))
        return QStringLiteral("اين پيمانکار درحسابداري پيشرفته داراي گردش مي باشد و نميتواند حذف گردد.");
    if (used(QStringLiteral("select count(*) from {common}.PAYMENTS where Tafsil=:Code and CI=:CI")))
        return QStringLiteral("اين پيمانکار داراي قرارداد مي باشد و نميتواند حذف گردد.");
    // The debt alarms are the family's register of what the party owes: they stay,
    // and so does the party they name.
    if (used(QStringLiteral("select count(*) from {common}.TAlarmKosuratH where TAFSILI_CODE=:Code and CI=:CI")))
        return QStringLiteral("براي اين پيمانکار سوابق بدهي (هشدار کسورات) ثبت شده است و نميتواند حذف گردد.");
    return std::nullopt;
}

bool DetailAccounts::remove(qint64 code, startup::Prompt& prompt)
{
    // The section is the one this list was opened on, not necessarily the session's.
    RegisterRules rules = typedCodeRules({Store::Common, QStringLiteral("TAFSILI"), QStringLiteral("CODE"), false, {{QStringLiteral("CI"), section_}}},
                                          QStringLiteral("NAME"), 100);
    rules.deleteMenuId = DetailAccountsMenuId;
    rules.refusal = [this](db::UnitOfWork& w, qint64 c) { return refusalOfDelete(w, c); };
    return removeRecord(session_, rules, code, prompt);
}

bool DetailAccounts::changeCode(qint64 oldCode, startup::Prompt& prompt)
{
    const auto old = read(oldCode);
    if (!old) {
        prompt.info(old.failed() ? old.error() : QStringLiteral("حساب تفصيلي با اين کد يافت نشــد: ") + QString::number(oldCode));
        return false;
    }
    const std::optional<QString> typed = prompt.askText(QStringLiteral(" کد جديد را وارد کنيد"), false);
    if (!typed)
        return false;
    const std::optional<qint64> newCode = util::parseWholeNumber(*typed);
    if (!newCode || *newCode <= 0 || *newCode > INT_MAX) {
        prompt.info(QStringLiteral("کد جديد بايد عددي بزرگتر از صفر باشد : ") + typed->left(20));
        return false;
    }
    if (*newCode == oldCode) {
        prompt.info(QStringLiteral("کد جديد با کد فعلي يکسان است."));
        return false;
    }
    if (!session_.hasDeposits()) {
        prompt.info(notOpen(QStringLiteral("سپرده ها")));
        return false;
    }
    if (!prompt.ask(QStringLiteral("مطمئن هستيد؟")))
        return false;
    const bool dropOld = prompt.ask(QStringLiteral("اطلاعات پيمانکار کد ") + QString::number(oldCode) + QStringLiteral("حذف مي شود، مطمئن هستيد؟"));

    QString why;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            const int ci = section_;
            const QVariantMap binds{{QStringLiteral(":POld"), oldCode}, {QStringLiteral(":pNew"), *newCode}, {QStringLiteral(":CI"), ci}};
            const auto held = w.scalar(QStringLiteral("select count(*) from {common}.TAFSILI where Code=:pNew and CI=:CI"), binds);
            if (!held)
                return false;
            if (held->toLongLong() == 0) {
                // A plain renumbering: the party moves to the free number.
                QVariantMap row = old->values;
                row.insert(QStringLiteral("CODE"), *newCode);
                row.insert(QStringLiteral("CI"), ci);
                if (!w.insert(Store::Common, QStringLiteral("TAFSILI"), row))
                    return false;
            }
            const QString from = QStringLiteral("%1=:POld");
            if (!w.update(Store::Common, QStringLiteral("PAYMENTS"), QStringLiteral("Tafsil=:pNew"), QStringLiteral("Tafsil=:POld and CI=:CI"), binds)
                || !w.update(Store::Common, QStringLiteral("TAlarmKosuratH"), QStringLiteral("TAFSILI_CODE=:pNew"),
                             QStringLiteral("TAFSILI_CODE=:POld and CI=:CI"), binds))
                return false;
            for (const auto& ref : kDepositReferences) {
                const QString column = QString::fromLatin1(ref[1]);
                if (!w.update(Store::Deposits, QString::fromLatin1(ref[0]), column + QStringLiteral("=:pNew"), from.arg(column), binds))
                    return false;
            }
            if (session_.AccountingDbOpen()) {
                const auto vouchers = w.scalar(QStringLiteral("select count(*) from {accounting}.SNDROW where Tafsil=:POld"), binds);
                if (!vouchers)
                    return false;
                if (vouchers->toLongLong() > 0
                    && !w.update(Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("Tafsil=:pNew"), QStringLiteral("Tafsil=:POld"), binds))
                    return false;
            }
            return !dropOld || w.remove(Store::Common, QStringLiteral("TAFSILI"), QStringLiteral("Code=:POld and Ci=:CI"), binds);
        },
        &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

bool DetailAccounts::bulkChange(const QList<qint64>& codes, const BulkPartyValues& values, startup::Prompt& prompt)
{
    if (codes.isEmpty()) {
        prompt.info(incomplete());
        return false;
    }
    const QString nid = util::normalizeDigits(values.nationalId).trimmed();
    if (nid.size() > 15 || values.nomineeCode.trimmed().size() > 15 || values.bourseCode.trimmed().size() > 10) {
        prompt.info(QStringLiteral("متن وارد شده بيش از حد مجاز است."));
        return false;
    }
    QString why;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            QVariantMap binds{{QStringLiteral(":NID"), nid},
                              {QStringLiteral(":TafsilKind"), values.personKind},
                              {QStringLiteral(":samadTafsilKind"), values.reportingType},
                              {QStringLiteral(":samadtafsilCat"), values.reportingCategory},
                              {QStringLiteral(":NOMINEECODE"), values.nomineeCode.trimmed()},
                              {QStringLiteral(":BourseCode"), values.bourseCode.trimmed()},
                              {QStringLiteral(":CI"), section_}};
            for (qint64 code : codes) {
                binds.insert(QStringLiteral(":Code"), code);
                if (!w.update(Store::Common, QStringLiteral("TAFSILI"),
                              QStringLiteral("NID=:NID,TafsilKIND=:TafsilKind,samadTafsilKind=:samadTafsilKind,samadtafsilCat=:samadtafsilCat,"
                                             "NOMINEECODE=:NOMINEECODE,BourseCode=:BourseCode"),
                              QStringLiteral("Ci=:CI And CODE=:Code"), binds))
                    return false;
            }
            return true;
        },
        &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

db::Fetched<bool> DetailAccounts::hasDebts(qint64 code) const
{
    const auto n = db::scalar(session_.common(),
                              QStringLiteral("select count(*) from TAlarmKosuratH where TAFSILI_CODE=:Code and status<=2"), sectionBinds(code));
    if (!n)
        return db::Fetched<bool>::failure(n.error());
    return db::Fetched<bool>::found(n->toLongLong() > 0);
}

QString DetailAccounts::debtsText() { return QStringLiteral("اين پيمانکار داراي بدهي مي باشد."); }

db::Fetched<QList<qint64>> DetailAccounts::codesMatching(const QString& word) const
{
    if (const std::optional<QString> refusal = searchTextRefusal(word))
        return db::Fetched<QList<qint64>>::failure(*refusal);
    const QString key = util::searchKey(word.trimmed());
    QVariantMap binds = sectionBinds(0);
    binds.insert(QStringLiteral(":Pattern"), likeSuperset(key));
    QSqlQuery q(session_.common());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, QStringLiteral("Select Code, Name From Tafsili Where CI=:CI and Name like :Pattern Order By Code"), binds, &why) || !q.exec())
        return db::Fetched<QList<qint64>>::failure(why.isEmpty() ? q.lastError().text() : why);
    QList<qint64> codes;
    while (q.next()) {
        if (key.isEmpty() || util::searchKey(q.value(1).toString()).contains(key))
            codes << q.value(0).toLongLong();
    }
    return db::Fetched<QList<qint64>>::found(codes);
}

db::Fetched<QList<qint64>> DetailAccounts::codesInLedger(qint64 general, qint64 subsidiary) const
{
    if (!session_.AccountingDbOpen())
        return db::Fetched<QList<qint64>>::found({});
    QSqlQuery q(session_.accounting());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, QStringLiteral("Select Distinct Tafsil From SndRow Where (Kol=:Kol)and (Moin=:Moin) and Tafsil is not null Order By Tafsil"),
                          {{QStringLiteral(":Kol"), general}, {QStringLiteral(":Moin"), subsidiary}}, &why)
        || !q.exec())
        return db::Fetched<QList<qint64>>::failure(why.isEmpty() ? q.lastError().text() : why);
    return db::Fetched<QList<qint64>>::found(codesOf(q));
}

} // namespace orvak::basedata
