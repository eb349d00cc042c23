#include "core/letters/LetterSettings.h"

#include "core/util/Numbers.h"

namespace orvak::letters {

namespace {

constexpr db::Store Store = db::Store::Deposits;
QString text(const QVariant& v) { return v.isNull() ? QString() : v.toString().trimmed(); }

std::optional<qint64> counterOf(const QString& t)
{
    const QString digits = util::normalizeDigits(t).trimmed();
    if (digits.isEmpty())
        return qint64(0);
    bool ok = false;
    const qint64 n = digits.toLongLong(&ok);
    return ok && n >= 0 ? std::optional<qint64>(n) : std::nullopt;
}

} // namespace

QString savedText() { return QStringLiteral("تغييرات ثبت شد"); }

LetterSettings::LetterSettings(startup::Session& session)
    : session_(session)
{
}

db::Fetched<GuaranteeLetterSettings> LetterSettings::guaranteeSettings() const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM ZEM_DEFAULTSETTING WHERE CODE = 1"));
    if (r.failed())
        return db::Fetched<GuaranteeLetterSettings>::failure(r.error());
    GuaranteeLetterSettings s;
    if (r) {
        s.startNo = text(r->value(QStringLiteral("START_LTRNO")));
        s.lastNo = text(r->value(QStringLiteral("LAST_LTRNO")));
        s.prefix = text(r->value(QStringLiteral("PRIFIX_LTRNO")));
        s.suffix = text(r->value(QStringLiteral("SUFFIX_LTRNO")));
        s.sarresidSpace = r->value(QStringLiteral("SARRESIDSPACE"));
    }
    return db::Fetched<GuaranteeLetterSettings>::found(s);
}

bool LetterSettings::saveGuaranteeSettings(const GuaranteeLetterSettings& s, startup::Prompt& prompt)
{
    for (const QString* t : {&s.startNo, &s.lastNo, &s.prefix, &s.suffix}) {
        if (t->trimmed().size() > 10) {
            prompt.info(QStringLiteral("هر يک از شماره ها، پيشوند و پسوند حداکثر 10 حرف است"));
            return false;
        }
    }
    if (!counterOf(s.startNo) || !counterOf(s.lastNo)) {
        prompt.info(QStringLiteral("شماره اول و آخرين شماره نامه بايد عدد باشند"));
        return false;
    }
    QString error;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            const auto n = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.ZEM_DEFAULTSETTING"));
            if (!n)
                return w.fail(n.error());
            const QVariantMap values{{QStringLiteral("START_LTRNO"), s.startNo.trimmed()}, {QStringLiteral("LAST_LTRNO"), s.lastNo.trimmed()},
                                     {QStringLiteral("PRIFIX_LTRNO"), s.prefix.trimmed()}, {QStringLiteral("SUFFIX_LTRNO"), s.suffix.trimmed()}};
            if (n->toInt() != 1) {
                // Rows beside the one kept would make the numbering ambiguous.
                if (!w.remove(Store, QStringLiteral("ZEM_DEFAULTSETTING"), QStringLiteral("1 = 1"), {}))
                    return false;
                QVariantMap row = values;
                row.insert(QStringLiteral("CODE"), 1);
                row.insert(QStringLiteral("SARRESIDSPACE"), s.sarresidSpace);
                return w.insert(Store, QStringLiteral("ZEM_DEFAULTSETTING"), row);
            }
            return w.update(Store, QStringLiteral("ZEM_DEFAULTSETTING"), values, QStringLiteral("CODE = 1"), {});
        },
        &error);
    prompt.info(ok ? savedText() : error);
    return ok;
}

db::Fetched<DepositLetterSettings> LetterSettings::depositSettings() const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM Sep_LtrSetting WHERE CODE = 1"));
    if (r.failed())
        return db::Fetched<DepositLetterSettings>::failure(r.error());
    DepositLetterSettings s;
    if (r) {
        s.treasuryTitle = text(r->value(QStringLiteral("KHAZANEONVAN")));
        for (int i = 0; i < 3; ++i) {
            s.sendingCopies[size_t(i)] = text(r->value(QStringLiteral("R%1ERSAL").arg(i + 1)));
            s.requestCopies[size_t(i)] = text(r->value(QStringLiteral("R%1DARKHST").arg(i + 1)));
        }
        s.treasuryHeadName = text(r->value(QStringLiteral("KHAZANEHRAIISENAME")));
    }
    return db::Fetched<DepositLetterSettings>::found(s);
}

bool LetterSettings::saveDepositSettings(const DepositLetterSettings& s, startup::Prompt& prompt)
{
    const std::pair<const QString*, int> widths[] = {{&s.treasuryTitle, 150}, {&s.treasuryHeadName, 80}, {&s.sendingCopies[0], 100},
                                                     {&s.sendingCopies[1], 100}, {&s.sendingCopies[2], 100}, {&s.requestCopies[0], 100},
                                                     {&s.requestCopies[1], 100}, {&s.requestCopies[2], 100}};
    for (const auto& [t, width] : widths) {
        if (t->trimmed().size() > width) {
            prompt.info(QStringLiteral("متن بيش از %1 حرف است: %2").arg(width).arg(t->left(40)));
            return false;
        }
    }
    QString error;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            QVariantMap row{{QStringLiteral("CODE"), 1},
                            {QStringLiteral("KHAZANEONVAN"), s.treasuryTitle.trimmed()},
                            {QStringLiteral("KHAZANEHRAIISENAME"), s.treasuryHeadName.trimmed()}};
            for (int i = 0; i < 3; ++i) {
                row.insert(QStringLiteral("R%1ERSAL").arg(i + 1), s.sendingCopies[size_t(i)].trimmed());
                row.insert(QStringLiteral("R%1DARKHST").arg(i + 1), s.requestCopies[size_t(i)].trimmed());
            }
            return w.remove(Store, QStringLiteral("Sep_LtrSetting"), QStringLiteral("1 = 1"), {}) && w.insert(Store, QStringLiteral("Sep_LtrSetting"), row);
        },
        &error);
    prompt.info(ok ? savedText() : error);
    return ok;
}

std::optional<LetterNumber> LetterSettings::nextNumber(const GuaranteeLetterSettings& s, QString* why)
{
    const auto last = counterOf(s.lastNo);
    const auto start = counterOf(s.startNo);
    if (!last || !start) {
        if (why)
            *why = QStringLiteral("آخرين شماره نامه در تنظيمات نامه ها عدد نيست: ") + (last ? s.startNo : s.lastNo);
        return std::nullopt;
    }
    LetterNumber n;
    n.counter = s.lastNo.trimmed().isEmpty() ? std::max<qint64>(1, *start) : *last + 1;
    n.text = s.prefix + QString::number(n.counter) + s.suffix;
    return n;
}

db::Fetched<LetterNumber> LetterSettings::nextNumber() const
{
    const auto s = guaranteeSettings();
    if (!s)
        return db::Fetched<LetterNumber>::failure(s.error());
    QString why;
    const auto n = nextNumber(*s, &why);
    return n ? db::Fetched<LetterNumber>::found(*n) : db::Fetched<LetterNumber>::failure(why);
}

bool LetterSettings::useNumber(db::UnitOfWork& w, qint64 counter)
{
    const auto r = w.firstRow(QStringLiteral("SELECT LAST_LTRNO FROM {deposits}.ZEM_DEFAULTSETTING WHERE CODE = 1"));
    if (r.failed())
        return w.fail(r.error());
    if (!r)
        return w.insert(Store, QStringLiteral("ZEM_DEFAULTSETTING"), {{QStringLiteral("CODE"), 1}, {QStringLiteral("LAST_LTRNO"), QString::number(counter)}});
    const auto last = counterOf(text(r->value(0)));
    if (last && *last >= counter)
        return true;
    return w.update(Store, QStringLiteral("ZEM_DEFAULTSETTING"), QStringLiteral("LAST_LTRNO = :n"), QStringLiteral("CODE = 1"),
                    {{QStringLiteral(":n"), QString::number(counter)}});
}

} // namespace orvak::letters
