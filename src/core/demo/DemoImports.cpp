// The demo's spreadsheet book of deposits beside its installation: imports/deposits-sample.csv,
// owners known by identifier, by code and new ones, some rows refunded, and the
// import screen's saved mapping of its columns (ReadXLSSepordeh.TMP in the start folder).
#include "core/demo/DemoSteps.h"

#include "core/deposits/DepositImport.h"
#include "core/util/AtomicFile.h"

#include <QDir>

namespace orvak::demo {

bool addImportSamples(DemoContext& ctx)
{
    using F = deposits::ImportField;
    deposits::ImportMapping m;
    for (const auto& [f, c] : {std::pair{F::ReceiptNo, "شماره قبض"}, {F::PaymentDate, "تاريخ واريز"}, {F::DocumentNo, "شماره فيش"},
                               {F::OwnerCode, "کد پيمانکار"}, {F::OwnerNid, "کد ملي"}, {F::OwnerName, "نام پيمانکار"}, {F::Project, "پروژه"},
                               {F::Amount, "مبلغ"}, {F::RefundMark, "استرداد؟"}, {F::RefundDate, "تاريخ استرداد"}, {F::Remarks, "ملاحظات"}})
        m.set(f, QString::fromUtf8(c));
    QString why;
    if (!m.save(deposits::mappingFilePath(ctx.options.folder), &why))
        return ctx.fail(QStringLiteral("انتخاب فيلدهاي نمونه نوشته نشد: ") + why);
    QString text = QStringLiteral("شماره قبض,تاريخ واريز,شماره فيش,کد پيمانکار,کد ملي,نام پيمانکار,پروژه,مبلغ,استرداد؟,تاريخ استرداد,ملاحظات\n");
    const int year = ctx.years.isEmpty() ? 1400 : ctx.years.first() - 1;
    for (int i = 0; i < 24; ++i) {
        const Owner* known = ctx.owners.isEmpty() ? nullptr : &ctx.owners.at(i % ctx.owners.size());
        QString code, nid, name;
        if (i % 4 == 0 && known) {
            nid = known->nid;
        } else if (i % 4 == 1 && known) {
            code = QString::number(known->code);
        } else {
            nid = QStringLiteral("00%1").arg(81234500 + i % 3 * 11);
            name = QStringLiteral("پيمانکار دفتر قديم %1").arg(i % 3 + 1);
        }
        const bool refunded = i % 5 == 0;
        text += QStringLiteral("%1,%2/%3/%4,%5,%6,%7,%8,%9,\"%10\",%11,%12,%13\n")
                    .arg(1000 + i).arg(year).arg(1 + i % 12, 2, 10, QLatin1Char('0')).arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                    .arg(55000 + i).arg(code, nid, name).arg(i % 6 == 0 ? QStringLiteral("990%1").arg(i % 2 + 1) : QString())
                    .arg(QString::number(qint64(1 + i % 7) * 1'250'000)).arg(refunded ? QStringLiteral("1") : QString())
                    .arg(refunded ? QStringLiteral("%1/12/20").arg(year) : QString())
                    .arg(QStringLiteral("سپرده دفتر سال %1").arg(year));
    }
    const QString folder = QDir(ctx.options.folder).filePath(QStringLiteral("imports"));
    QDir().mkpath(folder);
    return util::writeFileAtomically(QDir(folder).filePath(QStringLiteral("deposits-sample.csv")), text.toUtf8(), &why)
        || ctx.fail(QStringLiteral("فايل نمونه سپرده ها نوشته نشد: ") + why);
}

} // namespace orvak::demo
