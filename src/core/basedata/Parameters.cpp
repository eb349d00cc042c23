#include "core/basedata/Parameters.h"

namespace orvak::basedata {

namespace {

bool validKind(int kind) { return kind >= 0 && kind < int(parameterKinds().size()); }

QString badKind() { return QStringLiteral("نوع جدول پارامتر معتبر نيست."); }

} // namespace

QStringList parameterKinds()
{
    return {QStringLiteral("موضوع پيمان"), QStringLiteral("طبقه بندي پيمان"), QStringLiteral("کسورات قانوني"),
            QStringLiteral("دستگاه گيرنده"), QStringLiteral("چگونگي قرارداد"), QStringLiteral("شعبات بانک")};
}

RegisterRules Parameters::rules(int kind)
{
    RegisterRules r = typedCodeRules({db::Store::Common, QStringLiteral("TBPARAMS_PAY"), QStringLiteral("code"), false, {{QStringLiteral("kind"), kind}}},
                                     QStringLiteral("name"), 100);
    r.incomplete = QStringLiteral("اطلاعات كامل نيست");
    // The contract columns that hold each kind's codes.
    static const QHash<int, QStringList> uses{
        {int(ParameterKind::Subject), {QStringLiteral("PAYMENTS.PMOZOO"), QStringLiteral("PAYMAN_LETTERS.PMOZOO")}},
        {int(ParameterKind::Classification), {QStringLiteral("PAYMENTS.PTABAGHE")}},
        {int(ParameterKind::Deduction), {QStringLiteral("PAYMAN_KOSURAT.CODE_KOSUR")}},
        {int(ParameterKind::Receiver), {QStringLiteral("PAYMAN_KOSURAT.DEVICE")}},
        {int(ParameterKind::Conclusion), {QStringLiteral("PAYMENTS.CHEGONEGY")}},
    };
    r.refusal = [kind](db::UnitOfWork& w, qint64 code) -> std::optional<QString> {
        for (const QString& use : uses.value(kind)) {
            const QStringList column = use.split(QLatin1Char('.'));
            const auto n = w.scalar(QStringLiteral("select count(*) from {common}.%1 where %2=:PCode").arg(column[0], column[1]), {{QStringLiteral(":PCode"), code}});
            // A use that cannot be read refuses: the work fails with the reason.
            if (!n) {
                w.fail(n.failed() ? n.error() : QStringLiteral("خواندن اطلاعات انجام نشد"));
                return std::nullopt;
            }
            if (n->toLongLong() > 0)
                return QStringLiteral("اين مورد در قراردادها بکار رفته است و نميتواند حذف گردد.");
        }
        return std::nullopt;
    };
    return r;
}

bool Parameters::save(int kind, qint64 code, const QString& name, bool insert, startup::Prompt& prompt)
{
    if (!validKind(kind)) {
        prompt.info(badKind());
        return false;
    }
    return saveRecord(session_, rules(kind), code, {{QStringLiteral("name"), name.trimmed()}}, insert, prompt).has_value();
}

bool Parameters::remove(int kind, qint64 code, startup::Prompt& prompt)
{
    if (!validKind(kind)) {
        prompt.info(badKind());
        return false;
    }
    return removeRecord(session_, rules(kind), code, prompt);
}

} // namespace orvak::basedata
