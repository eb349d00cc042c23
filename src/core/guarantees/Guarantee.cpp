#include "core/guarantees/Guarantee.h"

#include "core/guarantees/GuaranteeCodes.h"

#include <QSqlField>
#include <QSqlRecord>
#include <cmath>

namespace orvak::guarantees {

namespace {

QStringList names(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* n : list)
        out << QString::fromLatin1(n);
    return out;
}

int whole(const QVariant& v, int none) { return v.isNull() ? none : v.toInt(); }
QString text(const QVariant& v) { return v.isNull() ? QString() : v.toString().trimmed(); }
QVariant orNull(const QString& s) { return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s); }

} // namespace

qint64 rialsOf(const QVariant& v)
{
    if (v.isNull())
        return 0;
    const double x = v.toDouble();
    return std::isfinite(x) ? qint64(std::llround(x)) : 0;
}

bool Guarantee::extended() const { return !sarresid1.isEmpty() && !sarresid.isEmpty() && sarresid1 < sarresid; }
bool Guarantee::reduced() const { return amount1 > amount; }
bool Guarantee::cancelledOrSeized() const { return status == StatusCancelled || status == StatusSeized; }

const QStringList& guaranteeColumns()
{
    static const QStringList columns = names({
        "IDX", "ZNO", "SUDDATE", "EBTALDATE", "AMOUNT", "SARRESID", "TAFSILNO", "PAYMENT", "SUDBANKCODE", "ZSTATUSE", "ZKIND",
        "ZTYPE", "ZPOS", "ZCOUNT", "SNDNO", "SNDROW", "DESCR", "LETTERNO", "LETTERDATE", "SARRESID1", "AMOUNT1", "ALTP",
        "ZEMPLACE", "PROJNO", "TARHNO", "SNDYER", "SNDC", "TAMDIDSTATUSE", "EBTALSTATUSE", "TAGHLILSTATUSE", "ZABTSTATUSE",
        "TAEIDSTATUSE", "SNDSUDDATE", "TVAZIAT_NAMEHID", "TVAZIAT_DATE", "TZNO_NEW", "ESTERDAD_NAMEHID", "ESTERDAD_DATE",
        "ESTERDAD_SANADNUM", "AMOUNTARZI", "VAHEDEPOOL", "AMOUNTHAVSANDUQ", "DATEHAVSANDUQ", "AMOUNTMOJAZE", "KUTAGNO",
        "DATEKUTAG", "KALAKIND", "KALACODE", "ACCDETAIL1", "ACCDETAIL2", "ACCDETAIL3", "ACCDETAIL4", "ACCDETAIL5",
        "ACCDETAIL6", "ACCDETAIL7", "ACCDETAIL8", "SEPAMNO",
    });
    return columns;
}

const QStringList& carriedColumns()
{
    static const QStringList columns = names({
        "ALTP", "TAMDIDSTATUSE", "EBTALSTATUSE", "TAGHLILSTATUSE", "ZABTSTATUSE", "TAEIDSTATUSE", "AMOUNTHAVSANDUQ",
        "DATEHAVSANDUQ", "AMOUNTMOJAZE", "KUTAGNO", "DATEKUTAG", "KALAKIND", "KALACODE", "ACCDETAIL1", "ACCDETAIL2",
        "ACCDETAIL3", "ACCDETAIL4", "ACCDETAIL5", "ACCDETAIL6", "ACCDETAIL7", "ACCDETAIL8",
    });
    return columns;
}

const QStringList& insertColumns()
{
    static const QStringList columns = names({
        "IDX", "ZNO", "SUDDATE", "AMOUNT", "SARRESID", "TAFSILNO", "ZKIND", "ZTYPE", "SNDNO", "SNDROW", "DESCR", "ZPOS",
        "ZCOUNT", "SUDBANKCODE", "ZSTATUSE", "AMOUNT1", "SARRESID1", "ZEMPLACE", "PROJNO", "PAYMENT", "TARHNO", "SNDSUDDATE",
        "TVAZIAT_NAMEHID", "TVAZIAT_DATE", "TZNO_NEW", "ESTERDAD_NAMEHID", "ESTERDAD_DATE", "ESTERDAD_SANADNUM", "EBTALDATE",
        "AMOUNTARZI", "VAHEDEPOOL", "SEPAMNO",
    });
    return columns;
}

const QStringList& editColumns()
{
    static const QStringList columns = names({
        "ZNO", "SUDDATE", "AMOUNT", "SARRESID", "TAFSILNO", "ZKIND", "ZTYPE", "ZCOUNT", "SNDNO", "SNDROW", "DESCR", "ZPOS",
        "SUDBANKCODE", "ZSTATUSE", "ZEMPLACE", "PROJNO", "PAYMENT", "TARHNO", "SNDSUDDATE", "AMOUNTARZI", "VAHEDEPOOL", "SEPAMNO",
    });
    return columns;
}

QVariantMap guaranteeValues(const Guarantee& g)
{
    QVariantMap v{
        {QStringLiteral("IDX"), g.idx},
        {QStringLiteral("ZNO"), orNull(g.zno)},
        {QStringLiteral("SUDDATE"), orNull(g.sudDate)},
        {QStringLiteral("EBTALDATE"), orNull(g.ebtalDate)},
        {QStringLiteral("AMOUNT"), double(g.amount)},
        {QStringLiteral("SARRESID"), orNull(g.sarresid)},
        {QStringLiteral("TAFSILNO"), g.tafsilNo},
        {QStringLiteral("PAYMENT"), g.payment},
        {QStringLiteral("SUDBANKCODE"), g.sudBankCode},
        {QStringLiteral("ZSTATUSE"), g.status},
        {QStringLiteral("ZKIND"), g.kind},
        {QStringLiteral("ZTYPE"), g.type},
        {QStringLiteral("ZPOS"), g.zpos},
        {QStringLiteral("ZCOUNT"), g.zcount},
        {QStringLiteral("SNDNO"), g.sndNo},
        {QStringLiteral("SNDROW"), g.sndRow},
        {QStringLiteral("DESCR"), orNull(g.descr)},
        {QStringLiteral("LETTERNO"), orNull(g.letterNo)},
        {QStringLiteral("LETTERDATE"), orNull(g.letterDate)},
        {QStringLiteral("SARRESID1"), orNull(g.sarresid1)},
        {QStringLiteral("AMOUNT1"), double(g.amount1)},
        {QStringLiteral("ZEMPLACE"), orNull(g.zemPlace)},
        {QStringLiteral("PROJNO"), g.projNo},
        {QStringLiteral("TARHNO"), g.tarhNo},
        {QStringLiteral("SNDYER"), g.sndYer},
        {QStringLiteral("SNDC"), g.sndC},
        {QStringLiteral("SNDSUDDATE"), orNull(g.sndSudDate)},
        {QStringLiteral("TVAZIAT_NAMEHID"), orNull(g.tvaziatNameHid)},
        {QStringLiteral("TVAZIAT_DATE"), orNull(g.tvaziatDate)},
        {QStringLiteral("TZNO_NEW"), orNull(g.tznoNew)},
        {QStringLiteral("ESTERDAD_NAMEHID"), orNull(g.esterdadNameHid)},
        {QStringLiteral("ESTERDAD_DATE"), orNull(g.esterdadDate)},
        {QStringLiteral("ESTERDAD_SANADNUM"), orNull(g.esterdadSanadNum)},
        {QStringLiteral("AMOUNTARZI"), g.amountArzi},
        {QStringLiteral("VAHEDEPOOL"), g.currency},
        {QStringLiteral("SEPAMNO"), orNull(g.sepamNo)},
    };
    for (const QString& c : carriedColumns())
        v.insert(c, g.carried.value(c));
    return v;
}

Guarantee guaranteeFrom(const QSqlRecord& r)
{
    auto value = [&](const char* name) { return r.value(QString::fromLatin1(name)); };
    Guarantee g;
    g.idx = whole(value("IDX"), 0);
    g.zno = text(value("ZNO"));
    g.sudDate = text(value("SUDDATE"));
    g.ebtalDate = text(value("EBTALDATE"));
    g.amount = rialsOf(value("AMOUNT"));
    g.sarresid = text(value("SARRESID"));
    g.tafsilNo = whole(value("TAFSILNO"), -1);
    g.payment = whole(value("PAYMENT"), -1);
    g.sudBankCode = whole(value("SUDBANKCODE"), -1);
    g.status = whole(value("ZSTATUSE"), 0);
    g.kind = whole(value("ZKIND"), 0);
    g.type = whole(value("ZTYPE"), 0);
    g.zpos = whole(value("ZPOS"), 0);
    g.zcount = whole(value("ZCOUNT"), 0);
    g.sndNo = whole(value("SNDNO"), 0);
    g.sndRow = whole(value("SNDROW"), 0);
    g.descr = text(value("DESCR"));
    g.letterNo = text(value("LETTERNO"));
    g.letterDate = text(value("LETTERDATE"));
    g.sarresid1 = text(value("SARRESID1"));
    g.amount1 = rialsOf(value("AMOUNT1"));
    g.zemPlace = text(value("ZEMPLACE"));
    g.projNo = whole(value("PROJNO"), -1);
    g.tarhNo = whole(value("TARHNO"), -1);
    g.sndYer = whole(value("SNDYER"), 0);
    g.sndC = whole(value("SNDC"), 0);
    g.sndSudDate = text(value("SNDSUDDATE"));
    g.tvaziatNameHid = text(value("TVAZIAT_NAMEHID"));
    g.tvaziatDate = text(value("TVAZIAT_DATE"));
    g.tznoNew = text(value("TZNO_NEW"));
    g.esterdadNameHid = text(value("ESTERDAD_NAMEHID"));
    g.esterdadDate = text(value("ESTERDAD_DATE"));
    g.esterdadSanadNum = text(value("ESTERDAD_SANADNUM"));
    g.amountArzi = value("AMOUNTARZI").toDouble();
    g.currency = whole(value("VAHEDEPOOL"), 0);
    g.sepamNo = text(value("SEPAMNO"));
    for (const QString& c : carriedColumns()) {
        const int i = r.indexOf(c);
        g.carried.insert(c, i >= 0 ? r.value(i) : QVariant());
    }
    return g;
}

} // namespace orvak::guarantees
