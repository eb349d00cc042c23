#include "core/deposits/DepositKinds.h"

#include "core/util/Jalali.h"

namespace orvak::deposits {

const QList<DepositKind>& depositKinds()
{
    static const QList<DepositKind> kinds = [] {
        const std::pair<const char*, const char*> table[KindCount] = {
            {"127000001", "سپرده حسن انجام كار 10 درصد"},
            {"127000002", "سپرده حسن اجراي تعهدات 5 درصد كل قرارداد"},
            {"127000003", "سپرده شرکت در مناقصه"},
            {"127000006", "ساير سپرده ها"},
            {"127000006", "مازادسپرده"},
            {"127000001", "مازادکسوروجه الضمان"},
            {"127000006", "ضبط ضمانتنامه"},
            {"127000006", "مازاد اسناد مثبته"},
            {"127000006", "واريزاسنادمثبته"},
            {"127000006", "مازاد5%"},
            {"127000006", "5  درصد بيمه 5 درصد"},
            {"127000004", "اسناد مثبته شرکت در مناقصه"},
            {"127000002", " 5 درصد تضمين"},
            {"127000001", "پنج درصد از ده درصد"},
            {"127000004", "شرکت در مزايده"},
            {"127000006", "وديعه مسکن خانه سازماني"},
            {"127000006", "بابت بدهي"},
            {"127000006", "واريزي نامشخص"},
            {"127000005", "بابت بدهي به بيمه"},
            {"127000003", "خريد اسناد مناقصه"},
            {"127000003", "اشتباه واريزي خريد اسناد مناقصه"},
            {"127000004", "مزايده خودرو"},
            {"127000006", "اشتباه واريزي"},
            {"127000006", "بدهي بيمه پرسنل اداره"},
            {"127000001", "پنج درصد دوم سپرده"},
            {"127000001", " بدهي سپرده"},
        };
        QList<DepositKind> list;
        for (int i = 0; i < KindCount; ++i)
            list.append({i + 1, QString::fromLatin1(table[i].first), QString::fromUtf8(table[i].second)});
        return list;
    }();
    return kinds;
}

QString kindLedger(int kind) { return kind >= 1 && kind <= KindCount ? depositKinds()[kind - 1].ledger : QString(); }

QString kindFormText(int kind)
{
    if (kind < 1 || kind > KindCount)
        return {};
    const DepositKind& k = depositKinds()[kind - 1];
    return QStringLiteral("%1)%2:%3").arg(kind, 2, 10, QLatin1Char('0')).arg(k.ledger, k.text);
}

QStringList kindFormTexts()
{
    QStringList texts;
    for (int k = 1; k <= KindCount; ++k)
        texts << kindFormText(k);
    return texts;
}

QString kindListText(int kind)
{
    if (kind < 1 || kind > KindCount)
        return {};
    switch (kind) {
    case 11: return QStringLiteral("11)5%تضمين 25%");
    case 13: return QStringLiteral("13)5%تضمين");
    case 26: return QStringLiteral("26)بدهي سپرده");
    default: return QString::number(kind) + QLatin1Char(')') + depositKinds()[kind - 1].text;
    }
}

io::CodeTexts kindCodeTexts()
{
    io::CodeTexts codes;
    for (int k = 1; k <= KindCount; ++k)
        codes.entries.append({k, kindListText(k)});
    return codes;
}

QString monthName(int month)
{
    if (month >= 1 && month <= 12)
        return util::jalaliMonthName(month);
    if (month == MonthCount)
        return QStringLiteral("شهريورماه متمم");
    if (month > 12 && month < MonthCount)
        return util::jalaliMonthName(month - 12) + QStringLiteral(" متمم");
    return {};
}

QString monthText(int month)
{
    const QString name = monthName(month);
    return name.isEmpty() ? name : QStringLiteral("%1)%2").arg(month, 2, 10, QLatin1Char('0')).arg(name);
}

QStringList monthTexts()
{
    QStringList texts;
    for (int m = 1; m <= MonthCount; ++m)
        texts << monthText(m);
    return texts;
}

QStringList fixedDescriptions()
{
    return {QStringLiteral("صورت وضعيت موقت  شماره"), QStringLiteral("صورت وضعيت قطعي شماره"),
            QStringLiteral("پنجاه درصد اول حسن انجام کار"), QStringLiteral("پنجاه درصد دوم حسن انجام کار"),
            QStringLiteral("تعديل شماره"), QStringLiteral("مابه التفاوت مطالح شماره"),
            QStringLiteral("پنج درصد حسن انجام تعهدات"), QStringLiteral("تضمين نقدي"), QStringLiteral("بين راهي"),
            QStringLiteral("مابقي")};
}

} // namespace orvak::deposits
