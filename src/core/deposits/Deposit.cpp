#include "core/deposits/Deposit.h"

#include <QSqlRecord>
#include <cmath>

namespace orvak::deposits {

namespace {

int whole(const QVariant& v, int none = 0) { return v.isNull() ? none : v.toInt(); }
QString text(const QVariant& v) { return v.isNull() ? QString() : v.toString().trimmed(); }

} // namespace

qint64 rialsOf(const QVariant& v) { return v.isNull() ? 0 : qint64(std::llround(v.toDouble())); }

bool Deposit::statementOpen() const
{
    const QString m = tikSudmo.trimmed();
    return m != HalfConfirmed && m != Confirmed;
}

bool Deposit::matchedOrFinal() const { return !statementOpen() || altp == 1; }

const QStringList& depositColumns()
{
    static const QStringList columns = {
        QStringLiteral("IDX"), QStringLiteral("SEPNO"), QStringLiteral("SEPDATE"), QStringLiteral("SABTDATE"),
        QStringLiteral("TARHNO"), QStringLiteral("PROJNO"), QStringLiteral("TAFSILI"), QStringLiteral("PAYMENT"),
        QStringLiteral("AMOUNT"), QStringLiteral("SEPKIND"), QStringLiteral("MY"), QStringLiteral("MM"),
        QStringLiteral("SEPROW"), QStringLiteral("TIKSUDMO"), QStringLiteral("TIKBESTANKARI"), QStringLiteral("SNDNO"),
        QStringLiteral("SNDROW"), QStringLiteral("DESCR"), QStringLiteral("CHKNO"), QStringLiteral("CHKDATE"),
        QStringLiteral("FROMOLDM"), QStringLiteral("ALTP"), QStringLiteral("SNDYER"), QStringLiteral("MOSALSAL"),
        QStringLiteral("YERSEPROW"), QStringLiteral("SAVABEGH"), QStringLiteral("ERSALVAJHKHAZANE_NO"),
        QStringLiteral("ERSALVAJHKHAZANE_DATE"), QStringLiteral("ELAMBESIDX"), QStringLiteral("AMOUNT_RAD"),
        QStringLiteral("AMOUNT_MANDEH"), QStringLiteral("CONTROLBANKOK"), QStringLiteral("TIK_ERSAL"),
        QStringLiteral("TIK_DARKHAST"), QStringLiteral("TIK_DARKHASTVJH"), QStringLiteral("TIK_DARKHASTVJHOK"),
        QStringLiteral("TIK_ESTERDAD"), QStringLiteral("TANKHAHSTATUS"), QStringLiteral("CONTROLTIK"),
        QStringLiteral("SNDNO_ERSAL"), QStringLiteral("SNDROW_ERSAL"), QStringLiteral("SNDYER_ERSAL"),
        QStringLiteral("ACCDETAIL1"), QStringLiteral("ACCDETAIL2"), QStringLiteral("ACCDETAIL3"),
        QStringLiteral("ACCDETAIL4"), QStringLiteral("ACCDETAIL5"), QStringLiteral("ACCDETAIL6"),
        QStringLiteral("ACCDETAIL7"), QStringLiteral("BESNO"), QStringLiteral("TAMINKIND"),
    };
    return columns;
}

QVariantMap depositValues(const Deposit& d)
{
    auto orNull = [](const QString& s) { return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s); };
    QVariantMap v{
        {QStringLiteral("IDX"), d.idx},
        {QStringLiteral("SEPNO"), d.sepNo},
        {QStringLiteral("SEPDATE"), orNull(d.sepDate)},
        {QStringLiteral("SABTDATE"), orNull(d.sabtDate)},
        {QStringLiteral("TARHNO"), d.tarhNo},
        {QStringLiteral("PROJNO"), d.projNo},
        {QStringLiteral("TAFSILI"), d.tafsili},
        {QStringLiteral("PAYMENT"), d.payment},
        {QStringLiteral("AMOUNT"), d.amount},
        {QStringLiteral("SEPKIND"), d.sepKind},
        {QStringLiteral("MY"), d.my},
        {QStringLiteral("MM"), d.mm},
        {QStringLiteral("SEPROW"), d.sepRow},
        {QStringLiteral("TIKSUDMO"), orNull(d.tikSudmo)},
        {QStringLiteral("TIKBESTANKARI"), orNull(d.tikBestankari)},
        {QStringLiteral("SNDNO"), d.sndNo},
        {QStringLiteral("SNDROW"), d.sndRow},
        {QStringLiteral("DESCR"), d.descr},
        {QStringLiteral("CHKNO"), d.chkNo},
        {QStringLiteral("CHKDATE"), orNull(d.chkDate)},
        {QStringLiteral("FROMOLDM"), d.fromOldM},
        {QStringLiteral("ALTP"), d.altp},
        {QStringLiteral("SNDYER"), d.sndYer},
        {QStringLiteral("MOSALSAL"), d.mosalsal},
        {QStringLiteral("YERSEPROW"), d.yerSepRow},
        {QStringLiteral("SAVABEGH"), d.savabegh},
        {QStringLiteral("ERSALVAJHKHAZANE_NO"), orNull(d.ersalNo)},
        {QStringLiteral("ERSALVAJHKHAZANE_DATE"), orNull(d.ersalDate)},
        {QStringLiteral("ELAMBESIDX"), d.elamBesIdx},
        {QStringLiteral("AMOUNT_RAD"), d.amountRad},
        {QStringLiteral("AMOUNT_MANDEH"), d.amountMandeh},
        {QStringLiteral("CONTROLBANKOK"), d.controlBankOk},
        {QStringLiteral("TIK_ERSAL"), d.tikErsal},
        {QStringLiteral("TIK_DARKHAST"), d.tikDarkhast},
        {QStringLiteral("TIK_DARKHASTVJH"), d.tikDarkhastVjh},
        {QStringLiteral("TIK_DARKHASTVJHOK"), d.tikDarkhastVjhOk},
        {QStringLiteral("TIK_ESTERDAD"), d.tikEsterdad},
        {QStringLiteral("TANKHAHSTATUS"), d.tankhahStatus},
        {QStringLiteral("CONTROLTIK"), d.controlTik},
        {QStringLiteral("SNDNO_ERSAL"), d.sndNoErsal},
        {QStringLiteral("SNDROW_ERSAL"), d.sndRowErsal},
        {QStringLiteral("SNDYER_ERSAL"), d.sndYerErsal},
        {QStringLiteral("BESNO"), d.besNo},
        {QStringLiteral("TAMINKIND"), d.taminKind},
    };
    for (int i = 0; i < 7; ++i)
        v.insert(QStringLiteral("ACCDETAIL%1").arg(i + 1), orNull(d.accDetail[size_t(i)]));
    return v;
}

Deposit depositFrom(const QSqlRecord& r)
{
    auto at = [&](const char* name) { return r.value(QLatin1String(name)); };
    Deposit d;
    d.idx = whole(at("IDX"));
    d.sepNo = rialsOf(at("SEPNO"));
    d.sepDate = text(at("SEPDATE"));
    d.sabtDate = text(at("SABTDATE"));
    d.tarhNo = whole(at("TARHNO"), -1);
    d.projNo = whole(at("PROJNO"), -1);
    d.tafsili = whole(at("TAFSILI"), -1);
    d.payment = whole(at("PAYMENT"), -1);
    d.amount = rialsOf(at("AMOUNT"));
    d.sepKind = whole(at("SEPKIND"));
    d.my = whole(at("MY"));
    d.mm = whole(at("MM"));
    d.sepRow = whole(at("SEPROW"));
    d.tikSudmo = text(at("TIKSUDMO"));
    d.tikBestankari = text(at("TIKBESTANKARI"));
    d.sndNo = whole(at("SNDNO"));
    d.sndRow = whole(at("SNDROW"));
    d.descr = text(at("DESCR"));
    d.chkNo = rialsOf(at("CHKNO"));
    d.chkDate = text(at("CHKDATE"));
    d.fromOldM = whole(at("FROMOLDM"));
    d.altp = whole(at("ALTP"));
    d.sndYer = whole(at("SNDYER"));
    d.mosalsal = rialsOf(at("MOSALSAL"));
    d.yerSepRow = whole(at("YERSEPROW"));
    d.savabegh = whole(at("SAVABEGH"));
    d.ersalNo = text(at("ERSALVAJHKHAZANE_NO"));
    d.ersalDate = text(at("ERSALVAJHKHAZANE_DATE"));
    d.elamBesIdx = whole(at("ELAMBESIDX"));
    d.amountRad = rialsOf(at("AMOUNT_RAD"));
    d.amountMandeh = rialsOf(at("AMOUNT_MANDEH"));
    d.controlBankOk = whole(at("CONTROLBANKOK"));
    d.tikErsal = whole(at("TIK_ERSAL"));
    d.tikDarkhast = whole(at("TIK_DARKHAST"));
    d.tikDarkhastVjh = whole(at("TIK_DARKHASTVJH"));
    d.tikDarkhastVjhOk = whole(at("TIK_DARKHASTVJHOK"));
    d.tikEsterdad = whole(at("TIK_ESTERDAD"));
    d.tankhahStatus = whole(at("TANKHAHSTATUS"));
    d.controlTik = whole(at("CONTROLTIK"));
    d.sndNoErsal = whole(at("SNDNO_ERSAL"));
    d.sndRowErsal = whole(at("SNDROW_ERSAL"));
    d.sndYerErsal = whole(at("SNDYER_ERSAL"));
    for (int i = 0; i < 7; ++i)
        d.accDetail[size_t(i)] = text(r.value(QStringLiteral("ACCDETAIL%1").arg(i + 1)));
    d.besNo = whole(at("BESNO"));
    d.taminKind = whole(at("TAMINKIND"));
    return d;
}

} // namespace orvak::deposits
