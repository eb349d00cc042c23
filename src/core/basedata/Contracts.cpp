#include "core/basedata/Contracts.h"

#include "core/basedata/Centres.h"
#include "core/basedata/ContractNamedList.h"
#include "core/basedata/Parameters.h"
#include "core/basedata/Plans.h"
#include "core/basedata/Projects.h"
#include "core/startup/Program.h"
#include "core/util/Numbers.h"
#include "core/util/TextKey.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <climits>
#include <cmath>

namespace orvak::basedata {

namespace {

using db::Store;
using Kind = ContractColumnKind;

const QString kCI = QStringLiteral(":CI");

const CodedTable& partiesTable()
{
    static const CodedTable t{Store::Common, QStringLiteral("TAFSILI"), QStringLiteral("CODE"), true};
    return t;
}

QVariant nullText() { return QVariant(QMetaType::fromType<QString>()); }
QVariant nullNumber() { return QVariant(QMetaType::fromType<int>()); }

QString badValue(const QString& caption, const QString& text) { return caption + QStringLiteral(" درست نيست: ") + text; }

QString tooLong(const QString& caption, int length) { return caption + QStringLiteral(": متن وارد شده بيش از %1 حرف است").arg(length); }

// A column naming a row of another register; 0 names none.
struct ContractLink {
    QString column;
    CodedTable target;
    QString caption;
};

QList<ContractLink> contractLinks()
{
    return {{QStringLiteral("TAFSIL"), partiesTable(), QStringLiteral("طرف قرارداد")},
            {QStringLiteral("PROJNO"), Projects::table(), QStringLiteral("پروژه")},
            {QStringLiteral("PSPACE"), Centres::table(), QStringLiteral("محل اجرا")},
            {QStringLiteral("MOJRI"), ContractNamedList::table(ContractNamedList::Executors), QStringLiteral("مجري")},
            {QStringLiteral("NAZER"), ContractNamedList::table(ContractNamedList::Supervisors), QStringLiteral("ناظر")},
            {QStringLiteral("PMOZOO"), Parameters::rules(int(ParameterKind::Subject)).table, QStringLiteral("موضوع پيمان")},
            {QStringLiteral("PTABAGHE"), Parameters::rules(int(ParameterKind::Classification)).table, QStringLiteral("طبقه بندي پيمان")},
            {QStringLiteral("CHEGONEGY"), Parameters::rules(int(ParameterKind::Conclusion)).table, QStringLiteral("چگونگي قرارداد")}};
}

// A linked code must name a row; the reason when it does not.
std::optional<QString> missingLink(startup::Session& session, const CodedTable& target, const QString& caption, qint64 code)
{
    if (code == 0)
        return std::nullopt;
    const db::Fetched<QSqlRecord> row = readByCode(session, target, code);
    if (row)
        return std::nullopt;
    return row.failed() ? row.error() : caption + QStringLiteral(":") + notFoundText(code);
}

// A whole number as typed or handed over; empty is none.
std::optional<QVariant> typedNumber(const QVariant& v, bool* bad)
{
    *bad = false;
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    if (v.typeId() != QMetaType::QString)
        return QVariant(v.toLongLong());
    const QString text = util::normalizeDigits(v.toString().trimmed());
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<qint64> n = util::parseWholeNumber(text);
    if (!n || *n < INT_MIN || *n > INT_MAX) {
        *bad = true;
        return std::nullopt;
    }
    return QVariant(*n);
}

ContractSplit splitOf(const QSqlRecord& r)
{
    return {r.value(QStringLiteral("Tarh")).toInt(), r.value(QStringLiteral("Projeh")).toInt(), r.value(QStringLiteral("Amount")).toDouble()};
}

QString plainNumber(const QVariant& v)
{
    if (v.isNull())
        return {};
    const double d = v.toDouble();
    return d == std::floor(d) && std::fabs(d) < 9e18 ? QString::number(qint64(d)) : QString::number(d, 'g', 12);
}

} // namespace

const QList<ContractColumn>& contractColumns()
{
    static const QList<ContractColumn> columns{
        {QStringLiteral("PAYMENTNO"), Kind::Text, QStringLiteral("شماره پيمان"), 20},
        {QStringLiteral("AMOUNT"), Kind::Amount, QStringLiteral("مبلغ اوليه پيمان")},
        {QStringLiteral("EZAFEHKAR"), Kind::Amount, QStringLiteral("مبلغ25%تغييرات")},
        {QStringLiteral("TAFSIL"), Kind::Number, QStringLiteral("طرف قرارداد")},
        {QStringLiteral("PAYMENTDATE"), Kind::Date, QStringLiteral("تاريخ قرارداد")},
        {QStringLiteral("DESCR"), Kind::Text, QStringLiteral("شرح"), 100},
        {QStringLiteral("DATESHORO"), Kind::Date, QStringLiteral("اعتبار قرارداد از")},
        {QStringLiteral("MODAT"), Kind::Digits, QStringLiteral("مدت"), 4},
        {QStringLiteral("PMOZOO"), Kind::Number, QStringLiteral("موضوع پيمان")},
        {QStringLiteral("CHEGONEGY"), Kind::Number, QStringLiteral("چگونگي قرارداد")},
        {QStringLiteral("DATEEBLAGH"), Kind::Date, QStringLiteral("تاريخ ابلاغ")},
        {QStringLiteral("AMOUNTMOTAMAM"), Kind::Amount, QStringLiteral("مبلغ متمم")},
        {QStringLiteral("DATEMOTAMAM"), Kind::Date, QStringLiteral("تاريخ متمم")},
        {QStringLiteral("MOTAMAMNO"), Kind::Text, QStringLiteral("شماره متمم"), 15},
        {QStringLiteral("BIMEMOFASANO"), Kind::Text, QStringLiteral("شماره مفاصا حساب بيمه"), 15},
        {QStringLiteral("MALIATMOFASANO"), Kind::Text, QStringLiteral("شماره مفاصا حساب ماليات"), 15},
        {QStringLiteral("DATETAHVILZAMIN"), Kind::Date, QStringLiteral("(تحويل زمين،محل اجرا و ...)")},
        {QStringLiteral("DATETAHVILMOVAGHAT"), Kind::Date, QStringLiteral("تاريخ تحويل موقت")},
        {QStringLiteral("DATETAHVILGHATEE"), Kind::Date, QStringLiteral("تاريخ تحويل قطعي")},
        {QStringLiteral("PAYMENTYEAR"), Kind::Number, QStringLiteral("سال قرارداد")},
        {QStringLiteral("DATEFINAL"), Kind::Date, QStringLiteral("تا تاريخ")},
        {QStringLiteral("PTABAGHE"), Kind::Number, QStringLiteral("طبقه بندي پيمان")},
        {QStringLiteral("PSPACE"), Kind::Number, QStringLiteral("محل اجرا")},
        {QStringLiteral("PROJNO"), Kind::Number, QStringLiteral("پروژه")},
        {QStringLiteral("HAVKOSUR"), Kind::Number, QStringLiteral("کسورات قانوني")},
        {QStringLiteral("HAVSAVABEG"), Kind::Number, QStringLiteral("سوابق")},
        {QStringLiteral("MOJRI"), Kind::Number, QStringLiteral("مجري")},
        {QStringLiteral("DATETAMDID"), Kind::Date, QStringLiteral("تمديد تا تاريخ:")},
        {QStringLiteral("PMODATKIND"), Kind::Number, QStringLiteral("واحد مدت")},
        {QStringLiteral("KINDEZAFKARI"), Kind::Number, QStringLiteral("نوع تغييرات")},
        {QStringLiteral("AMOUNTFINAL"), Kind::Amount, QStringLiteral("مبلغ نهائي پيمان")},
        {QStringLiteral("NAZER"), Kind::Number, QStringLiteral("ناظر")},
        {QStringLiteral("DATETAJHIZKARGAH"), Kind::Date, QStringLiteral("تاريخ تجهيز کارگاه")},
        {QStringLiteral("EXTRADESCR"), Kind::Text, QStringLiteral("ساير توضيحات")},
        {QStringLiteral("TAZMINDESCR"), Kind::Text, QStringLiteral("تضمينات قرارداد")},
        {QStringLiteral("BIMEHBRANCH"), Kind::Text, QStringLiteral("شعبه تامين اجتماعي")},
        {QStringLiteral("BIMKIND"), Kind::Number, QStringLiteral("نوع بيمه")},
        {QStringLiteral("DARSADBIMPEYMANKAR"), Kind::Rate, QStringLiteral("نرخ کل بيمه")},
        {QStringLiteral("DARSADBIMEHKARF"), Kind::Rate, QStringLiteral("نرخ بيمه سهم کارفرما")},
        {QStringLiteral("DESCRTEXT"), Kind::Text, QStringLiteral("شرح کامل")},
        {QStringLiteral("TRANSFERUNIT"), Kind::Number, QStringLiteral("واحد انتقالي")},
    };
    return columns;
}

const io::CodeTexts& insuranceKinds()
{
    static const io::CodeTexts k{{{1, QStringLiteral("قرارداد عادي")},
                                  {2, QStringLiteral("قرارداد مشــاوره اي")},
                                  {3, QStringLiteral("خارج از فهرست بها (تهيه مصالح با پيمانكار) 7.8 درصد")},
                                  {4, QStringLiteral("0.150+(0.150/9)خارج از فهرست بها (تهيه مصالح با كارفرما)")},
                                  {5, QStringLiteral("صورت وضعيت قطعي")}},
                                 QStringLiteral("مشخص نشده است")};
    return k;
}

QStringList insurancePickTexts() { return insuranceKinds().texts() << QStringLiteral("بيمه 7"); }

const io::CodeTexts& durationUnits()
{
    static const io::CodeTexts k = io::CodeTexts::numbered({QStringLiteral("سال"), QStringLiteral("ماه"), QStringLiteral("روز")});
    return k;
}

const io::CodeTexts& changeKinds()
{
    static const io::CodeTexts k = io::CodeTexts::numbered({QStringLiteral("افزايش"), QStringLiteral("کاهش"), QStringLiteral("هيچ کدام")});
    return k;
}

const io::CodeTexts& transferUnits()
{
    static const io::CodeTexts k{{{1, QStringLiteral("راه و شهرسازي")}, {2, QStringLiteral("راهداري و حمل و نقل")}}, QString()};
    return k;
}

const io::CodeTexts& yesNo()
{
    static const io::CodeTexts k = io::CodeTexts::numbered({QStringLiteral("ندارد"), QStringLiteral("دارد")});
    return k;
}

std::optional<InsuranceRates> insuranceRates(int kind, int organisationCode)
{
    switch (kind) {
    case 1:
        return InsuranceRates{5, 6.6};
    case 2:
        return InsuranceRates{12, 15.6};
    case 3: {
        const bool rounded = organisationCode == 500 || organisationCode == 275 || organisationCode == 105;
        return InsuranceRates{0, rounded ? 7.8 : 7.0 / 0.9};
    }
    case 4:
        return InsuranceRates{0, (0.15 + 0.15 / 9) * 100};
    case 5:
        return InsuranceRates{5, 5};
    default:
        return std::nullopt;
    }
}

std::optional<qint64> typedAmount(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    return util::parseAmount(t);
}

std::optional<double> typedRate(const QString& text)
{
    QString t = util::normalizeDigits(text.trimmed());
    if (t.isEmpty())
        return 0.0;
    t.replace(QChar(0x066B), QLatin1Char('.')).remove(QLatin1Char(','));
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+(\\.[0-9]*)?$|^-?\\.[0-9]+$"));
    if (!plain.match(t).hasMatch())
        return std::nullopt;
    return t.toDouble();
}

Contracts::Contracts(startup::Session& session)
    : session_(session)
{
}

const CodedTable& Contracts::table()
{
    static const CodedTable t{Store::Common, QStringLiteral("PAYMENTS"), QStringLiteral("CODE"), true};
    return t;
}

QList<Reference> Contracts::references()
{
    return {{Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("PAYMENT")},
            {Store::Deposits, QStringLiteral("ZEMANAT"), QStringLiteral("PAYMENT")},
            {Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("TAFSIL2")}};
}

QString Contracts::usedCodeText() { return QStringLiteral("اين کد قرارداد قبلا استفاده شده است"); }

QString Contracts::defaultDescription(const QString& number, const QString& date)
{
    return QStringLiteral(" ق ") + number + QStringLiteral(" تاريخ ") + date;
}

db::Fetched<qint64> Contracts::proposedCode() const { return nextCode(session_, table()); }

db::Fetched<bool> Contracts::codeUsed(qint64 code) const
{
    const db::Fetched<QSqlRecord> row = readByCode(session_, table(), code);
    return row.failed() ? db::Fetched<bool>::failure(row.error()) : db::Fetched<bool>::found(row.has_value());
}

namespace {

Contract contractOf(const QSqlRecord& r)
{
    Contract c;
    c.code = r.value(QStringLiteral("CODE")).toLongLong();
    for (const ContractColumn& col : contractColumns()) {
        const QVariant v = r.value(col.name);
        switch (col.kind) {
        case Kind::Amount:
        case Kind::Rate:
            c.values.insert(col.name, plainNumber(v));
            break;
        case Kind::Number:
            c.values.insert(col.name, v.isNull() ? 0 : v.toInt());
            break;
        default:
            c.values.insert(col.name, v.toString().trimmed());
        }
    }
    c.hasSupplement = r.value(QStringLiteral("TIKMOTAMAM")).toInt() == 2;
    c.voucherNo = r.value(QStringLiteral("SNDNO")).toInt();
    c.voucherYear = r.value(QStringLiteral("SNDYEAR")).toInt();
    c.changeVoucherNo = r.value(QStringLiteral("SNDNO25")).toInt();
    c.changeVoucherYear = r.value(QStringLiteral("SNDYEAR25")).toInt();
    return c;
}

db::Fetched<Contract> withSources(startup::Session& session, db::Fetched<QSqlRecord> row)
{
    if (!row)
        return row.failed() ? db::Fetched<Contract>::failure(row.error()) : db::Fetched<Contract>::none();
    Contract c = contractOf(*row);
    QSqlQuery q(session.common());
    QString why;
    if (!db::prepareBound(q, QStringLiteral("select code from PAYMAN_ETE where id=:Pid and CI=:CI order by code"),
                          {{QStringLiteral(":Pid"), c.code}, {kCI, sectionOf(session)}}, &why)
        || !q.exec())
        return db::Fetched<Contract>::failure(why.isEmpty() ? q.lastError().text() : why);
    while (q.next())
        c.creditSources << q.value(0).toInt();
    return db::Fetched<Contract>::found(c);
}

} // namespace

db::Fetched<Contract> Contracts::read(qint64 code) const { return withSources(session_, readByCode(session_, table(), code)); }

db::Fetched<Contract> Contracts::byNumber(const QString& number, qint64 party) const
{
    return withSources(session_, db::firstRow(session_.common(),
                                              QStringLiteral("Select * from PAYMENTS Where (Paymentno=:PayMentNo)and(tafsil=:Tafsil) and CI=:CI"),
                                              {{QStringLiteral(":PayMentNo"), number}, {QStringLiteral(":Tafsil"), party}, {kCI, sectionOf(session_)}}));
}

db::Fetched<Contract> Contracts::byDescription(const QString& description, qint64 party) const
{
    return withSources(session_, db::firstRow(session_.common(),
                                              QStringLiteral("Select * from PAYMENTS Where (LTRIM(RTRIM(DESCR))=:Descr)and(tafsil=:Tafsil) and CI=:CI"),
                                              {{QStringLiteral(":Descr"), description.trimmed()}, {QStringLiteral(":Tafsil"), party}, {kCI, sectionOf(session_)}}));
}

std::optional<QVariantMap> Contracts::storedValues(const Contract& c, startup::Prompt& prompt) const
{
    QVariantMap stored;
    for (const ContractColumn& col : contractColumns()) {
        const QVariant v = c.values.value(col.name);
        const QString text = v.toString().trimmed();
        switch (col.kind) {
        case Kind::Text:
        case Kind::Digits:
            if (col.length > 0 && text.size() > col.length) {
                prompt.info(tooLong(col.caption, col.length));
                return std::nullopt;
            }
            if (col.kind == Kind::Digits && !text.isEmpty() && !util::parseWholeNumber(util::normalizeDigits(text))) {
                prompt.info(badValue(col.caption, text));
                return std::nullopt;
            }
            stored.insert(col.name, col.kind == Kind::Digits ? util::normalizeDigits(text) : text);
            break;
        case Kind::Amount: {
            const std::optional<qint64> a = typedAmount(text);
            if (!a) {
                prompt.info(QStringLiteral("مبلغ وارد شده درست نيست (") + col.caption + QStringLiteral("): ") + text);
                return std::nullopt;
            }
            stored.insert(col.name, double(*a));
            break;
        }
        case Kind::Rate: {
            const std::optional<double> r = typedRate(text);
            if (!r) {
                prompt.info(badValue(col.caption, text));
                return std::nullopt;
            }
            stored.insert(col.name, *r);
            break;
        }
        case Kind::Date: {
            if (text.isEmpty()) {
                stored.insert(col.name, nullText());
                break;
            }
            const std::optional<QString> d = storedDate(text);
            if (!d) {
                prompt.info(QStringLiteral("تاريخ وارد شده درست نيست (") + col.caption + QStringLiteral("): ") + text);
                return std::nullopt;
            }
            stored.insert(col.name, *d);
            break;
        }
        case Kind::Number: {
            bool bad = false;
            const std::optional<QVariant> n = typedNumber(v, &bad);
            if (bad) {
                prompt.info(badValue(col.caption, text));
                return std::nullopt;
            }
            // No transfer unit is kept as none, not as a unit 0.
            const bool none = !n || (col.name == QLatin1String("TRANSFERUNIT") && n->toInt() == 0);
            stored.insert(col.name, none ? nullNumber() : *n);
            break;
        }
        }
    }
    const int unit = stored.value(QStringLiteral("TRANSFERUNIT")).toInt();
    if (unit != 0 && unit != 1 && unit != 2) {
        prompt.info(badValue(QStringLiteral("واحد انتقالي"), QString::number(unit)));
        return std::nullopt;
    }
    stored.insert(QStringLiteral("TIKMOTAMAM"), c.hasSupplement ? 2 : 1);
    if (stored.value(QStringLiteral("DESCR")).toString().isEmpty())
        stored.insert(QStringLiteral("DESCR"), defaultDescription(stored.value(QStringLiteral("PAYMENTNO")).toString(),
                                                                   stored.value(QStringLiteral("PAYMENTDATE")).toString()));
    return stored;
}

std::optional<qint64> Contracts::save(const Contract& contract, bool insert, startup::Prompt& prompt)
{
    const std::optional<QVariantMap> values = storedValues(contract, prompt);
    if (!values)
        return std::nullopt;
    if (contract.code < 0 || contract.code > INT_MAX || (!insert && contract.code == 0)) {
        prompt.info(badValue(QStringLiteral("شناسه قرارداد"), QString::number(contract.code)));
        return std::nullopt;
    }
    if (values->value(QStringLiteral("TAFSIL")).toLongLong() <= 0) {
        prompt.info(QStringLiteral("طرف قرارداد مشخص نشده است"));
        return std::nullopt;
    }
    for (const ContractLink& link : contractLinks()) {
        if (const auto why = missingLink(session_, link.target, link.caption, values->value(link.column).toLongLong())) {
            prompt.info(*why);
            return std::nullopt;
        }
    }
    const QList<int> sources = QSet<int>(contract.creditSources.begin(), contract.creditSources.end()).values();
    const CodedTable sourceTable{Store::Common, QStringLiteral("MTE"), QStringLiteral("KIND"), true};
    for (int source : sources) {
        if (const auto why = missingLink(session_, sourceTable, QStringLiteral("منبع تامين اعتبار"), source == 0 ? -1 : source)) {
            prompt.info(*why);
            return std::nullopt;
        }
    }
    if (insert && contract.code > 0) {
        const db::Fetched<bool> used = codeUsed(contract.code);
        if (!used || *used) {
            prompt.info(used.failed() ? used.error() : usedCodeText());
            return std::nullopt;
        }
    }
    const int section = sectionOf(session_);
    qint64 code = contract.code;
    QString why;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        QVariantMap key{{QStringLiteral(":code"), code}, {kCI, section}};
        if (insert) {
            if (code == 0) {
                const std::optional<qint64> next = w.nextKey(Store::Common, QStringLiteral("PAYMENTS"), QStringLiteral("CODE"), QStringLiteral("CI = :CI"), key);
                if (!next)
                    return false;
                code = *next;
                key.insert(QStringLiteral(":code"), code);
            } else {
                const db::Fetched<QVariant> taken = w.scalar(QStringLiteral("Select CODE from {common}.PAYMENTS Where (Code=:code) and CI=:CI"), key);
                if (taken.failed())
                    return false;
                if (taken)
                    return w.fail(usedCodeText());
            }
            QVariantMap row = *values;
            row.insert(QStringLiteral("CODE"), code);
            row.insert(QStringLiteral("CI"), section);
            if (!w.insert(Store::Common, QStringLiteral("PAYMENTS"), row))
                return false;
        } else {
            int changed = 0;
            if (!w.update(Store::Common, QStringLiteral("PAYMENTS"), *values, QStringLiteral("CODE = :code AND CI = :CI"), key, &changed))
                return false;
            if (changed != 1)
                return w.fail(QStringLiteral("قرارداد با اين شناسه يافت نشد: ") + QString::number(code));
        }
        // The ticked sources replace the earlier ones.
        if (!w.remove(Store::Common, QStringLiteral("PAYMAN_ETE"), QStringLiteral("id = :code AND CI = :CI"), key))
            return false;
        for (int source : sources) {
            if (!w.insert(Store::Common, QStringLiteral("PAYMAN_ETE"), {{QStringLiteral("id"), code}, {QStringLiteral("code"), source}, {QStringLiteral("CI"), section}}))
                return false;
        }
        return true;
    }, &why);
    if (!ok) {
        prompt.info(why);
        return std::nullopt;
    }
    return code;
}

RegisterRules Contracts::rules() const
{
    RegisterRules r;
    r.table = table();
    r.nameColumn = QStringLiteral("DESCR");
    r.deleteMenuId = ContractsMenuId;
    r.missing = QStringLiteral("قرارداد با اين شناسه يافت نشد: ");
    r.deleteQuestion = QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟");
    // Each holder is told by name; a database that cannot be read refuses as well.
    r.refusal = [this](db::UnitOfWork& w, qint64 code) -> std::optional<QString> {
        if (!session_.hasDeposits())
            return QStringLiteral("بانک اطلاعاتي سپرده هاي بخش مالي باز نيست");
        struct Holder {
            const char* sql;
            const char* text;
            bool open;
        };
        const Holder holders[] = {
            {"select count(*) from {deposits}.SEP_DAR where PAYMENT=:c", "اين قرارداد در سپرده ها بکار رفته است و نميتواند حذف گردد.", true},
            {"select count(*) from {deposits}.ZEMANAT where PAYMENT=:c", "اين قرارداد در تضمينات بکار رفته است و نميتواند حذف گردد.", true},
            {"select count(*) from {accounting}.SNDROW where TAFSIL2=:c", "اين قرارداد در اسناد حسابداري بکار رفته است و نميتواند حذف گردد.",
             session_.AccountingDbOpen()},
        };
        for (const Holder& h : holders) {
            if (!h.open)
                continue;
            const db::Fetched<QVariant> n = w.scalar(QString::fromLatin1(h.sql), {{QStringLiteral(":c"), code}});
            if (!n)
                return n.failed() ? n.error() : QString();
            if (n->toLongLong() > 0)
                return QString::fromUtf8(h.text);
        }
        return std::nullopt;
    };
    r.removeSatellites = [section = sectionOf(session_)](db::UnitOfWork& w, qint64 code) {
        const QVariantMap key{{QStringLiteral(":c"), code}, {kCI, section}};
        return w.remove(Store::Common, QStringLiteral("PAYMAN_KOSURAT"), QStringLiteral("CODE_PAY = :c AND CI = :CI"), key)
            && w.remove(Store::Common, QStringLiteral("PAYMAN_ETE"), QStringLiteral("id = :c AND CI = :CI"), key)
            && w.remove(Store::Common, QStringLiteral("PAYMAN_LETTERS"), QStringLiteral("LtrID = :c AND CI = :CI"), key)
            // The split goes too: left behind it would still hold its plans and projects.
            && w.remove(Store::Common, QStringLiteral("PAYMAN_TP"), QStringLiteral("PaymanCode = :c AND CI = :CI"), key);
    };
    return r;
}

bool Contracts::remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, rules(), code, prompt); }

namespace {

// One change of the contract row by code, refused when there is no such contract.
bool updateContract(startup::Session& session, qint64 code, const QString& set, QVariantMap binds, startup::Prompt& prompt)
{
    binds.insert(QStringLiteral(":code"), code);
    binds.insert(QStringLiteral(":PCi"), sectionOf(session));
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        int changed = 0;
        return w.update(Store::Common, QStringLiteral("PAYMENTS"), set, QStringLiteral("(Ci=:PCi) and  (code=:code)"), binds, &changed)
            && (changed == 1 || w.fail(QStringLiteral("قرارداد با اين شناسه يافت نشد: ") + QString::number(code)));
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

// Deletes the one row the condition names, refused with the text when there is none.
bool removeOne(startup::Session& session, const QString& table, const QString& where, const QVariantMap& binds, const QString& missing,
               startup::Prompt& prompt)
{
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        int removed = 0;
        return w.remove(Store::Common, table, where, binds, &removed) && (removed == 1 || w.fail(missing));
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

} // namespace

bool Contracts::setTransferUnit(qint64 code, int unit, startup::Prompt& prompt)
{
    if (unit < 0 || unit > 2) {
        prompt.info(badValue(QStringLiteral("واحد انتقالي"), QString::number(unit)));
        return false;
    }
    return updateContract(session_, code, QStringLiteral("TransferUnit=:TransferUnit"),
                          {{QStringLiteral(":TransferUnit"), unit == 0 ? nullNumber() : QVariant(unit)}}, prompt);
}

bool Contracts::changeParty(qint64 code, qint64 party, startup::Prompt& prompt)
{
    if (const auto why = missingLink(session_, partiesTable(), QStringLiteral("طرف قرارداد"), party <= 0 ? -1 : party)) {
        prompt.info(*why);
        return false;
    }
    return updateContract(session_, code, QStringLiteral("tafsil=:PTafsil2"), {{QStringLiteral(":PTafsil2"), party}}, prompt);
}

db::Fetched<QList<ContractSplit>> Contracts::splits(qint64 code) const
{
    QSqlQuery q(session_.common());
    QString why;
    if (!db::prepareBound(q, QStringLiteral("select * from PAYMAN_TP where PaymanCode=:c and CI=:CI order by Tarh, Projeh"),
                          {{QStringLiteral(":c"), code}, {kCI, sectionOf(session_)}}, &why)
        || !q.exec())
        return db::Fetched<QList<ContractSplit>>::failure(why.isEmpty() ? q.lastError().text() : why);
    QList<ContractSplit> rows;
    while (q.next())
        rows << splitOf(q.record());
    return db::Fetched<QList<ContractSplit>>::found(rows);
}

bool Contracts::addSplit(qint64 code, int plan, int project, const QString& amount, startup::Prompt& prompt)
{
    const std::optional<qint64> a = typedAmount(amount);
    if (!a) {
        prompt.info(QStringLiteral("مبلغ وارد شده درست نيست: ") + amount.trimmed());
        return false;
    }
    if (plan <= 0 || project <= 0) {
        prompt.info(incompleteText());
        return false;
    }
    const std::optional<QString> noContract = missingLink(session_, table(), QStringLiteral("قرارداد"), code <= 0 ? -1 : code);
    const std::optional<QString> noPlan = noContract ? noContract : missingLink(session_, Plans::table(), planWording(session_.SectionCode(), QStringLiteral("طرح")), plan);
    if (noPlan) {
        prompt.info(*noPlan);
        return false;
    }
    const db::Fetched<QSqlRecord> p = readByCode(session_, Projects::table(), project);
    if (!p || p->value(QStringLiteral("TARHNO")).toInt() != plan) {
        prompt.info(p.failed() ? p.error()
                    : p ? planWording(session_.SectionCode(), QStringLiteral("پروژه %1 از اين طرح نيست")).arg(project)
                        : QStringLiteral("پروژه:") + notFoundText(project));
        return false;
    }
    const int section = sectionOf(session_);
    QString why;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        const QVariantMap key{{QStringLiteral(":c"), code}, {QStringLiteral(":t"), plan}, {QStringLiteral(":p"), project}, {kCI, section}};
        const db::Fetched<QVariant> there =
            w.scalar(QStringLiteral("select count(*) from {common}.PAYMAN_TP where PaymanCode=:c and Tarh=:t and Projeh=:p and CI=:CI"), key);
        if (!there)
            return false;
        if (there->toLongLong() > 0)
            return w.fail(QStringLiteral("اين طرح و پروژه قبلا براي قرارداد ثبت شده است"));
        return w.insert(Store::Common, QStringLiteral("PAYMAN_TP"),
                        {{QStringLiteral("PaymanCode"), code}, {QStringLiteral("Tarh"), plan}, {QStringLiteral("Projeh"), project},
                         {QStringLiteral("Amount"), double(*a)}, {QStringLiteral("CI"), section}});
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

bool Contracts::removeSplit(qint64 code, int plan, int project, startup::Prompt& prompt)
{
    return removeOne(session_, QStringLiteral("PAYMAN_TP"), QStringLiteral("PaymanCode = :c AND Tarh = :t AND Projeh = :p AND CI = :CI"),
                     {{QStringLiteral(":c"), code}, {QStringLiteral(":t"), plan}, {QStringLiteral(":p"), project}, {kCI, sectionOf(session_)}},
                     QStringLiteral("رديفي يافت نشد"), prompt);
}

db::Fetched<ContractDeduction> Contracts::deduction(qint64 code) const
{
    const db::Fetched<QSqlRecord> r = db::firstRow(session_.common(), QStringLiteral("select * from PAYMAN_KOSURAT where CODE=:c and CI=:CI"),
                                                   {{QStringLiteral(":c"), code}, {kCI, sectionOf(session_)}});
    if (!r)
        return r.failed() ? db::Fetched<ContractDeduction>::failure(r.error()) : db::Fetched<ContractDeduction>::none();
    ContractDeduction d;
    d.code = code;
    d.contract = r->value(QStringLiteral("CODE_PAY")).toLongLong();
    d.kind = r->value(QStringLiteral("CODE_KOSUR")).toInt();
    d.employerPercent = plainNumber(r->value(QStringLiteral("DARSAD_KARF")));
    d.contractorPercent = plainNumber(r->value(QStringLiteral("DARSAD_PAY")));
    d.receiver = r->value(QStringLiteral("DEVICE")).toInt();
    d.account = r->value(QStringLiteral("HESAB")).toString().trimmed();
    d.amount = plainNumber(r->value(QStringLiteral("AMOUNT")));
    return db::Fetched<ContractDeduction>::found(d);
}

namespace {

// Inserts under the next key of the column within where, or changes the row of the key.
std::optional<qint64> writeNumbered(startup::Session& session, bool insert, qint64 key, const QString& table, const QString& keyColumn,
                                    const QString& scope, const QVariantMap& scopeBinds, QVariantMap values, startup::Prompt& prompt)
{
    QString why;
    qint64 written = key;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        QVariantMap binds = scopeBinds;
        if (insert) {
            const std::optional<qint64> next = w.nextKey(Store::Common, table, keyColumn, scope, binds);
            if (!next)
                return false;
            written = *next;
            values.insert(keyColumn, written);
            return w.insert(Store::Common, table, values);
        }
        binds.insert(QStringLiteral(":key"), key);
        int changed = 0;
        return w.update(Store::Common, table, values, scope + QStringLiteral(" AND [%1] = :key").arg(keyColumn), binds, &changed)
            && (changed == 1 || w.fail(QStringLiteral("رديفي با اين کد يافت نشــد: ") + QString::number(key)));
    }, &why);
    if (!ok) {
        prompt.info(why);
        return std::nullopt;
    }
    return written;
}

} // namespace

std::optional<qint64> Contracts::saveDeduction(const ContractDeduction& d, bool insert, startup::Prompt& prompt)
{
    const std::optional<double> employer = typedRate(d.employerPercent);
    const std::optional<double> contractor = typedRate(d.contractorPercent);
    const std::optional<qint64> amount = typedAmount(d.amount);
    if (!employer || !contractor) {
        prompt.info(badValue(QStringLiteral("درصد"), !employer ? d.employerPercent.trimmed() : d.contractorPercent.trimmed()));
        return std::nullopt;
    }
    if (!amount) {
        prompt.info(QStringLiteral("مبلغ وارد شده درست نيست: ") + d.amount.trimmed());
        return std::nullopt;
    }
    if (d.kind <= 0) {
        prompt.info(incompleteText());
        return std::nullopt;
    }
    if (d.account.trimmed().size() > 100) {
        prompt.info(tooLong(QStringLiteral("حساب"), 100));
        return std::nullopt;
    }
    const std::pair<CodedTable, qint64> links[] = {{table(), d.contract <= 0 ? -1 : d.contract},
                                                   {Parameters::rules(int(ParameterKind::Deduction)).table, d.kind},
                                                   {Parameters::rules(int(ParameterKind::Receiver)).table, d.receiver}};
    for (const auto& [target, code] : links) {
        if (const auto why = missingLink(session_, target, QString(), code)) {
            prompt.info(why->startsWith(QLatin1Char(':')) ? why->mid(1) : *why);
            return std::nullopt;
        }
    }
    const int section = sectionOf(session_);
    return writeNumbered(session_, insert, d.code, QStringLiteral("PAYMAN_KOSURAT"), QStringLiteral("CODE"), QStringLiteral("CI = :CI"), {{kCI, section}},
                         {{QStringLiteral("CI"), section}, {QStringLiteral("CODE_KOSUR"), d.kind}, {QStringLiteral("DARSAD_KARF"), *employer},
                          {QStringLiteral("DARSAD_PAY"), *contractor}, {QStringLiteral("CODE_PAY"), d.contract}, {QStringLiteral("DEVICE"), d.receiver},
                          {QStringLiteral("HESAB"), d.account.trimmed()}, {QStringLiteral("AMOUNT"), double(*amount)}},
                         prompt);
}

bool Contracts::removeDeduction(qint64 code, startup::Prompt& prompt)
{
    return prompt.ask(QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟"))
        && removeOne(session_, QStringLiteral("PAYMAN_KOSURAT"), QStringLiteral("CODE = :c AND CI = :CI"), {{QStringLiteral(":c"), code}, {kCI, sectionOf(session_)}},
                     QStringLiteral("رديفي با اين کد يافت نشــد: ") + QString::number(code), prompt);
}

db::Fetched<ContractLetter> Contracts::letter(qint64 contract, qint64 number) const
{
    const db::Fetched<QSqlRecord> r = db::firstRow(session_.common(), QStringLiteral("select * from PAYMAN_LETTERS where LtrID=:c and PaymanCode=:n and CI=:CI"),
                                                   {{QStringLiteral(":c"), contract}, {QStringLiteral(":n"), number}, {kCI, sectionOf(session_)}});
    if (!r)
        return r.failed() ? db::Fetched<ContractLetter>::failure(r.error()) : db::Fetched<ContractLetter>::none();
    ContractLetter l;
    l.contract = contract;
    l.number = number;
    l.date = r->value(QStringLiteral("LtrDate")).toString().trimmed();
    l.letterNo = r->value(QStringLiteral("LtrNO")).toString().trimmed();
    l.subject = r->value(QStringLiteral("PMOZOO")).toInt();
    l.description = r->value(QStringLiteral("Description")).toString().trimmed();
    l.extra = r->value(QStringLiteral("extradescr")).toString().trimmed();
    l.automationId = r->value(QStringLiteral("AUTOMATIONID")).toInt();
    l.letter = r->value(QStringLiteral("Letter")).toString();
    return db::Fetched<ContractLetter>::found(l);
}

std::optional<qint64> Contracts::saveLetter(const ContractLetter& l, bool insert, startup::Prompt& prompt)
{
    std::optional<QString> date = l.date.trimmed().isEmpty() ? std::optional<QString>(QString()) : storedDate(l.date);
    if (!date) {
        prompt.info(QStringLiteral("تاريخ وارد شده درست نيست: ") + l.date.trimmed());
        return std::nullopt;
    }
    const std::pair<QString, int> texts[] = {{l.letterNo.trimmed(), 30}, {l.description.trimmed(), 200}, {l.extra.trimmed(), 200}};
    for (const auto& [text, length] : texts) {
        if (text.size() > length) {
            prompt.info(tooLong(text.left(20), length));
            return std::nullopt;
        }
    }
    for (const auto& [target, code] : {std::pair<CodedTable, qint64>{table(), l.contract <= 0 ? -1 : l.contract},
                                       std::pair<CodedTable, qint64>{Parameters::rules(int(ParameterKind::Subject)).table, l.subject}}) {
        if (const auto why = missingLink(session_, target, QStringLiteral("کد"), code)) {
            prompt.info(*why);
            return std::nullopt;
        }
    }
    const int section = sectionOf(session_);
    return writeNumbered(session_, insert, l.number, QStringLiteral("PAYMAN_LETTERS"), QStringLiteral("PaymanCode"), QStringLiteral("LtrID = :c AND CI = :CI"),
                         {{QStringLiteral(":c"), l.contract}, {kCI, section}},
                         {{QStringLiteral("CI"), section}, {QStringLiteral("LtrID"), l.contract},
                          {QStringLiteral("LtrDate"), date->isEmpty() ? nullText() : QVariant(*date)}, {QStringLiteral("LtrNO"), l.letterNo.trimmed()},
                          {QStringLiteral("PMOZOO"), l.subject}, {QStringLiteral("Description"), l.description.trimmed()},
                          {QStringLiteral("extradescr"), l.extra.trimmed()}, {QStringLiteral("AUTOMATIONID"), l.automationId},
                          {QStringLiteral("Letter"), l.letter}},
                         prompt);
}

bool Contracts::removeLetter(qint64 contract, qint64 number, startup::Prompt& prompt)
{
    return prompt.ask(QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟"))
        && removeOne(session_, QStringLiteral("PAYMAN_LETTERS"), QStringLiteral("LtrID = :c AND PaymanCode = :n AND CI = :CI"),
                     {{QStringLiteral(":c"), contract}, {QStringLiteral(":n"), number}, {kCI, sectionOf(session_)}},
                     QStringLiteral("رديفي با اين کد يافت نشــد: ") + QString::number(number), prompt);
}

db::Fetched<QList<qint64>> Contracts::search(ContractSearch by, const QString& text) const
{
    using Result = db::Fetched<QList<qint64>>;
    const QString word = text.trimmed();
    bool numeric = false;
    const qint64 n = util::normalizeDigits(word).toLongLong(&numeric);
    QString sql;
    switch (by) {
    case ContractSearch::Number:
        sql = QStringLiteral("select CODE, PAYMENTNO from PAYMENTS where CI=:CI order by CODE");
        break;
    case ContractSearch::Code:
        sql = QStringLiteral("select CODE from PAYMENTS where CI=:CI and CODE=:n order by CODE");
        break;
    case ContractSearch::Description:
        sql = QStringLiteral("select CODE, DESCR from PAYMENTS where CI=:CI order by CODE");
        break;
    case ContractSearch::Party:
        sql = numeric ? QStringLiteral("select CODE from PAYMENTS where CI=:CI and TAFSIL=:n order by CODE")
                      : QStringLiteral("select P.CODE, T.NAME from PAYMENTS P join TAFSILI T on T.CODE=P.TAFSIL and T.CI=P.CI where P.CI=:CI order by P.CODE");
        break;
    case ContractSearch::Plan:
        sql = QStringLiteral("select distinct PaymanCode from PAYMAN_TP where CI=:CI and Tarh=:n order by PaymanCode");
        break;
    case ContractSearch::Project:
        sql = QStringLiteral("select CODE from PAYMENTS where CI=:CI and PROJNO=:n union select PaymanCode from PAYMAN_TP where CI=:CI and Projeh=:n order by 1");
        break;
    }
    const bool byNumber = by == ContractSearch::Code || by == ContractSearch::Plan || by == ContractSearch::Project
        || (by == ContractSearch::Party && numeric);
    if (word.isEmpty() || (byNumber && !numeric))
        return Result::found({});
    QSqlQuery q(session_.common());
    QString why;
    if (!db::prepareBound(q, sql, {{kCI, sectionOf(session_)}, {QStringLiteral(":n"), n}}, &why) || !q.exec())
        return Result::failure(why.isEmpty() ? q.lastError().text() : why);
    QList<qint64> codes;
    while (q.next()) {
        if (byNumber || util::searchMatches(q.value(1).toString(), word))
            codes << q.value(0).toLongLong();
    }
    return Result::found(codes);
}

std::pair<int, int> Contracts::controlLedgers() const
{
    auto option = [this](const char* name, int fallback) {
        const db::Fetched<QVariant> v = db::scalar(session_.common(), QStringLiteral("select OPTVALUE from TbOptions where PROGID=:p and OPTNAME=:n"),
                                                   {{QStringLiteral(":p"), startup::ProgID}, {QStringLiteral(":n"), QString::fromLatin1(name)}});
        const int code = v ? util::normalizeDigits(v->toString().trimmed()).toInt() : 0;
        return code > 0 ? code : fallback;
    };
    return {option(FirstControlLedgerOption, DefaultFirstControlLedger), option(SecondControlLedgerOption, DefaultSecondControlLedger)};
}

QString Contracts::voucherDescription(const Contract& c, ContractAmount which) const
{
    return QStringLiteral("- قرارداد شماره ") + c.text(QStringLiteral("PAYMENTNO")) + QStringLiteral(" تاريخ ") + c.text(QStringLiteral("PAYMENTDATE"))
        + (which == ContractAmount::Initial ? QStringLiteral(" ثبت كنترل قراردادها ") : QStringLiteral("ثبت تغييرات کنترل قراردادها"));
}

std::optional<accounting::PostedVoucher> Contracts::postVoucher(qint64 code, ContractAmount which, const ContractVoucher& voucher, QString* error)
{
    auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const db::Fetched<Contract> c = read(code);
    if (!c)
        return refuse(c.failed() ? c.error() : QStringLiteral("قرارداد با اين شناسه يافت نشد: ") + QString::number(code));
    const QString column = which == ContractAmount::Initial ? QStringLiteral("AMOUNT") : QStringLiteral("EZAFEHKAR");
    const qint64 amount = typedAmount(c->text(column)).value_or(0);
    if (amount <= 0)
        return refuse(QStringLiteral("مبلغ قرارداد براي صدور سند مشخص نشده است"));
    const auto [debitLedger, creditLedger] = controlLedgers();
    accounting::VoucherPosting p;
    p.number = voucher.number;
    p.date = voucher.date;
    p.description = voucher.description.trimmed().isEmpty() ? voucherDescription(*c, which) : voucher.description.trimmed().left(160);
    p.kind = 1;
    p.state = 1;
    p.clearEarlier = voucher.clearEarlier;
    accounting::VoucherLine debit;
    debit.kol = debitLedger;
    debit.moin = 1;
    debit.tafsil = c->number(QStringLiteral("TAFSIL"));
    debit.tafsil2 = int(code);
    debit.description = p.description;
    debit.debit = amount;
    accounting::VoucherLine credit = debit;
    credit.kol = creditLedger;
    credit.debit = 0;
    credit.credit = amount;
    p.lines = {debit, credit};

    accounting::VoucherWriter writer(session_);
    if (const QString why = writer.check(p); !why.isEmpty())
        return refuse(why);
    std::optional<accounting::PostedVoucher> posted;
    const bool initial = which == ContractAmount::Initial;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        posted = writer.post(w, p);
        if (!posted)
            return false;
        // The year is the one of the books the voucher went into.
        int changed = 0;
        return w.update(Store::Common, QStringLiteral("PAYMENTS"),
                        initial ? QStringLiteral("sndyear=:y, sndno=:n") : QStringLiteral("sndyear25=:y, sndno25=:n"), QStringLiteral("CODE = :c AND CI = :CI"),
                        {{QStringLiteral(":y"), posted->year}, {QStringLiteral(":n"), posted->number}, {QStringLiteral(":c"), code}, {kCI, sectionOf(session_)}},
                        &changed)
            && (changed == 1 || w.fail(QStringLiteral("قرارداد با اين شناسه يافت نشد: ") + QString::number(code)));
    }, error);
    if (!ok)
        return std::nullopt;
    return posted;
}

accounting::ClearReferences Contracts::voucherReferences(qint64 code, ContractAmount which) const
{
    const int section = sectionOf(session_);
    const bool initial = which == ContractAmount::Initial;
    return [code, initial, section](db::UnitOfWork& w, const accounting::PostedVoucher& posted) {
        const QString number = initial ? QStringLiteral("sndno") : QStringLiteral("sndno25");
        const QString year = initial ? QStringLiteral("sndyear") : QStringLiteral("sndyear25");
        return w.update(Store::Common, QStringLiteral("PAYMENTS"), QStringLiteral("%1=NULL, %2=NULL").arg(number, year),
                        QStringLiteral("CODE = :c AND CI = :CI AND %1 = :n AND %2 = :y").arg(number, year),
                        {{QStringLiteral(":c"), code}, {kCI, section}, {QStringLiteral(":n"), posted.number}, {QStringLiteral(":y"), posted.year}});
    };
}

} // namespace orvak::basedata
