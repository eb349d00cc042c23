#include "core/basedata/Plans.h"

#include "core/basedata/Projects.h"

namespace orvak::basedata {

namespace {

Plan planOf(const QSqlRecord& r)
{
    Plan p;
    p.code = r.value(QStringLiteral("CODE")).toLongLong();
    p.accountCode = r.value(QStringLiteral("CODT")).toString().trimmed();
    p.name = r.value(QStringLiteral("NAMET")).toString().trimmed();
    p.kind = r.value(QStringLiteral("KIND")).toInt();
    p.years = r.value(QStringLiteral("SAL")).toInt();
    p.agreementYear = r.value(QStringLiteral("SAL_MOF")).toInt();
    return p;
}

} // namespace

QString planWording(const QString& section, const QString& text)
{
    if (section == QStringLiteral("1"))
        return text;
    QString t = text;
    return t.replace(QStringLiteral("طرح"), QStringLiteral("برنامه"));
}

Plans::Plans(startup::Session& session)
    : session_(session)
{
}

const CodedTable& Plans::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("TARH"), QStringLiteral("CODE"), true};
    return t;
}

const io::CodeTexts& Plans::kinds()
{
    static const io::CodeTexts k = io::CodeTexts::numbered({QStringLiteral("جاري"), QStringLiteral("سنوات قبل")});
    return k;
}

QList<Reference> Plans::registerReferences()
{
    return {{db::Store::Common, QStringLiteral("PAYMAN_TP"), QStringLiteral("Tarh"), true},
            {db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("TARHNO")},
            {db::Store::Deposits, QStringLiteral("SEP_RADR2"), QStringLiteral("TARHNO")},
            {db::Store::Deposits, QStringLiteral("ZEMANAT"), QStringLiteral("TARHNO")}};
}

QList<Reference> Plans::references()
{
    QList<Reference> all = registerReferences();
    all << Reference{db::Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("TARHNO")};
    return all;
}

QString Plans::words(const QString& text) const { return planWording(session_.SectionCode(), text); }

std::optional<qint64> Plans::proposedCode() const { return basedata::proposedCode(session_, table()); }

db::Fetched<Plan> Plans::read(qint64 code) const { return readAs<Plan>(session_, table(), code, planOf); }

RegisterRules Plans::rules() const
{
    RegisterRules r;
    r.table = table();
    r.nameColumn = QStringLiteral("NAMET");
    r.required = {QStringLiteral("NAMET")};
    r.deleteMenuId = PlansMenuId;
    r.blocking = references();
    r.blockedText = words(QStringLiteral("امکان حذف طرح در گردش وجود ندارد؟"));
    // The plan stays while projects stand under it: they, and what names them, would
    // point at no plan.
    r.refusal = [this, section = sectionOf(session_)](db::UnitOfWork& w, qint64 code) -> std::optional<QString> {
        const db::Fetched<QVariant> n = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {common}.PROJEH WHERE TARHNO = :t AND CI = :CI"),
                                                 {{QStringLiteral(":t"), code}, {QStringLiteral(":CI"), section}});
        if (!n) {
            w.fail(n.failed() ? n.error() : QStringLiteral("خواندن اطلاعات انجام نشد"));
            return std::nullopt;
        }
        if (n->toLongLong() > 0)
            return words(QStringLiteral("براي اين طرح پروژه تعريف شده است و نمي تواند حذف گردد"));
        return std::nullopt;
    };
    r.deleteQuestion = QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟");
    return r;
}

std::optional<qint64> Plans::save(const Plan& plan, bool insert, startup::Prompt& prompt)
{
    const QVariantMap values{{QStringLiteral("CODT"), plan.accountCode.trimmed()}, {QStringLiteral("NAMET"), plan.name.trimmed()},
                             {QStringLiteral("KIND"), plan.kind},                  {QStringLiteral("SAL"), plan.years},
                             {QStringLiteral("SAL_MOF"), plan.agreementYear}};
    return saveRecord(session_, rules(), plan.code, values, insert, prompt);
}

bool Plans::remove(qint64 code, startup::Prompt& prompt)
{
    // Projects are read inside the check, so a failure there refuses too.
    return removeRecord(session_, rules(), code, prompt);
}

std::optional<qint64> Plans::askTarget(qint64 code, startup::Prompt& prompt)
{
    const std::optional<QString> text = prompt.askText(QStringLiteral(" کد جديد را وارد کنيد"), false);
    if (!text)
        return std::nullopt;
    const std::optional<qint64> target = typedCode(*text);
    if (!target) {
        prompt.info(words(QStringLiteral("کد طرح بايد عددي بزرگتر از صفر باشد")));
        return std::nullopt;
    }
    if (*target == code) {
        prompt.info(words(QStringLiteral("کد جديد همان کد فعلي طرح است")));
        return std::nullopt;
    }
    return target;
}

bool Plans::changeCode(qint64 code, startup::Prompt& prompt)
{
    const std::optional<qint64> target = askTarget(code, prompt);
    if (!target)
        return false;
    const db::Fetched<Plan> taken = read(*target);
    if (taken.failed() || taken) {
        prompt.info(taken.failed() ? taken.error() : duplicateText(taken->name));
        return false;
    }
    return repointAll(code, *target, false, prompt);
}

bool Plans::moveTo(qint64 code, startup::Prompt& prompt)
{
    const std::optional<qint64> target = askTarget(code, prompt);
    if (!target)
        return false;
    const db::Fetched<Plan> existing = read(*target);
    if (!existing) {
        prompt.info(existing.failed() ? existing.error() : notFoundText(*target));
        return false;
    }
    return repointAll(code, *target, true, prompt);
}

bool Plans::repointAll(qint64 from, qint64 to, bool keepTarget, startup::Prompt& prompt)
{
    if (!prompt.ask(QStringLiteral("مطمئن هستيد؟")))
        return false;
    const int section = sectionOf(session_);
    const QVariantMap binds{{QStringLiteral(":old"), from}, {QStringLiteral(":new"), to}, {QStringLiteral(":CI"), section}};
    QString why;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        // The plan first, then its projects, then this section's registers, which are
        // one per section. The vouchers are the accounting program's books of each
        // year: they keep the number they were posted with, in every year alike.
        // Moving onto an existing plan cannot rename the row (its key is taken), so
        // the emptied plan is removed instead.
        if (!keepTarget && !w.update(db::Store::Common, QStringLiteral("TARH"), QStringLiteral("CODE = :new"), QStringLiteral("CODE = :old AND CI = :CI"), binds))
            return false;
        if (!w.update(db::Store::Common, QStringLiteral("PROJEH"), QStringLiteral("TARHNO = :new"), QStringLiteral("TARHNO = :old AND CI = :CI"), binds)
            || !repoint(w, session_, registerReferences(), from, to))
            return false;
        return !keepTarget || removeByCode(w, table(), from, section);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

} // namespace orvak::basedata
