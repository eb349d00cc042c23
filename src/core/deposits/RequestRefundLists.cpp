#include "core/deposits/RequestRefundLists.h"

#include "core/basedata/Lookups.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/FundRequests.h"
#include "core/deposits/OwnerRequests.h"
#include "core/deposits/Refunds.h"

namespace orvak::deposits {

namespace {

using io::CellFormat;
using io::codeField;
using io::dataField;
using io::lookupField;

constexpr qint64 RowKeyBase = 1000000;

io::LookupReader common(const char* sql) { return basedata::namesReader(sql, true); }

io::ListField ownerName(const char* field)
{
    return lookupField(QString::fromLatin1(field), QStringLiteral("صاحب سپرده"), 200, common("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI"));
}
io::ListField contractNo(const char* field)
{
    return lookupField(QString::fromLatin1(field), QStringLiteral("شماره قرارداد"), 90, common("SELECT CODE, PAYMENTNO FROM PAYMENTS WHERE CI = :CI"));
}
io::ListField integer(const char* field, const char* title, int width = 60)
{
    return dataField(QString::fromLatin1(field), QString::fromUtf8(title), width, CellFormat::Integer);
}
io::ListField date(const char* field, const char* title) { return dataField(QString::fromLatin1(field), QString::fromUtf8(title), 80, CellFormat::JalaliDate); }
io::ListField amount(const char* field, const char* title, bool total = true)
{
    return dataField(QString::fromLatin1(field), QString::fromUtf8(title), 110, CellFormat::Amount, total);
}
io::ListField text(const char* field, const char* title, int width = 120) { return dataField(QString::fromLatin1(field), QString::fromUtf8(title), width); }

io::ListDefinition list(const char* name, const QString& title, const QString& sql, QList<io::ListParameter> params, QList<io::ListField> columns,
                        const char* key, const char* table = nullptr, QStringList historyKey = {})
{
    io::ListDefinition d;
    d.name = QString::fromLatin1(name);
    d.title = title;
    d.database = io::ListDatabase::Deposits;
    d.sql = sql;
    d.parameters = std::move(params);
    d.columns = std::move(columns);
    d.keyField = QString::fromLatin1(key);
    if (table) {
        d.historyTable = QString::fromLatin1(table);
        d.historyKey = historyKey.isEmpty() ? QStringList{d.keyField} : historyKey;
    }
    return d;
}

io::ListParameter any(const char* name) { return {QString::fromLatin1(name), -1}; }
io::ListParameter noDate(const char* name) { return {QString::fromLatin1(name), QString()}; }

QString rowKeySql(const char* alias, const char* head, const char* row)
{
    return QStringLiteral("CAST(%1.%2 AS BIGINT) * %4 + %1.%3 AS ROWKEY").arg(QLatin1String(alias), QLatin1String(head), QLatin1String(row)).arg(RowKeyBase);
}

io::CodeTexts stateCodes() { return io::CodeTexts::numbered(fundStateTexts()); }

} // namespace

qint64 requestRowKey(int reqIdx, int reqRow) { return qint64(reqIdx) * RowKeyBase + reqRow; }

io::ListDefinition ownerRequestsList()
{
    return list("owner-requests", QStringLiteral("درخواست  سپرده  صاحبان سپرده "),
                QStringLiteral("SELECT * FROM SEP_TAFSILREQ WHERE (:Owner = -1 OR TAFSILNO = :Owner) AND (:Contract = -1 OR PAYMANNO = :Contract) "
                               "AND (:Answered = -1 OR COALESCE(REQSTATUSE, 0) = :Answered)\nORDER BY REQ_IDX"),
                {any(":Owner"), any(":Contract"), any(":Answered")},
                {integer("REQ_IDX", "شماره درخواست"), integer("TAFSILNO", "كد صاحب سپرده", 80), ownerName("TAFSILNO"), contractNo("PAYMANNO"),
                 date("REQSABTDATE", "تاريخ ثبت درخواست "), text("INLETTERNO", "شماره نامه وارده", 100), date("INLETTERDATE", "تاريخ نامه وارده"),
                 text("ANDNO", "شماره ثبت دفتر انديکاتور", 110), date("ANDDATE", "تاريخ ثبت  دفتر انديکاتور"), amount("OK_AMOUNT", "مبلغ تائيد شده"),
                 codeField(QStringLiteral("REQSTATUSE"), QStringLiteral("وضعيت"), 100,
                           io::CodeTexts{{{0, QStringLiteral("پاسخ داده نشده")}, {1, QStringLiteral("پاسخ داده شده")}}, {}}),
                 text("DESCR", "شرح", 200)},
                "REQ_IDX", "SEP_TAFSILREQ");
}

QStringList fundRequestOrderTexts()
{
    return {QStringLiteral("تاريخ درخواست"), QStringLiteral("کد درخواست"), QStringLiteral("شماره درخواست"), QStringLiteral("مبلغ درخواست")};
}

io::ListDefinition fundRequestsList(FundRequestOrder order)
{
    static const char* const orders[] = {"REQDATE, REQ_IDX", "REQ_IDX", "REQNO, REQ_IDX", "REQ_AMOUNT, REQ_IDX"};
    return list("fund-requests", QStringLiteral("درخواست  وجه سپرده  از خزانه  "),
                QStringLiteral("SELECT * FROM SEP_REQH WHERE (COALESCE(:From, '') = '' OR REQDATE >= :From) AND (COALESCE(:To, '') = '' OR REQDATE <= :To) "
                               "AND (:State = -1 OR COALESCE(REQSTATUSE, 0) = :State)\nORDER BY ")
                    + QString::fromLatin1(orders[int(order)]),
                {{QStringLiteral(":From"), QStringLiteral("1358/01/01")}, noDate(":To"), any(":State")},
                {integer("REQ_IDX", "کد درخواست"), text("REQNO", "شماره درخواست وجه", 100), date("REQDATE", "تاريخ درخواست وجه"),
                 text("LETTERNO", "شماره نامه ارسالي", 100), date("LETTERDATE", "تاريخ نامه ارسالي"), amount("REQ_AMOUNT", "مبلغ درخواست وجه"),
                 integer("TEDAD", "تعداد", 50), codeField(QStringLiteral("REQSTATUSE"), QStringLiteral("وضعيت درخواست"), 170, stateCodes()),
                 text("LETTERNO2", "شماره نامه تائيد واريزي", 110), date("LETTERDATE2", "تاريخ نامه تائيد"), amount("ANS_AMOUNT", "مبلغ واريزي"),
                 integer("ANS_CHKNO", "شماره چک صادره", 90), text("VARIZI_BESNO", "شماره بستانکاري واريزي", 110),
                 date("VARIZI_BESDATE", "تاريخ بستانکاري واريزي"), text("DESCR", "توضيحات", 200)},
                "REQ_IDX", "SEP_REQH");
}

io::ListDefinition fundRequestList()
{
    io::ListDefinition d = fundRequestsList();
    d.name = QStringLiteral("fund-request");
    d.sql = QStringLiteral("SELECT * FROM SEP_REQH WHERE REQ_IDX = :Req\nORDER BY REQ_IDX");
    d.parameters = {{QStringLiteral(":Req"), 0}};
    return d;
}

QStringList rowStateTexts()
{
    return {QStringLiteral("همه"), QStringLiteral("ارسال نشده به خزانه"), QStringLiteral("ارسال شده به خزانه"), QStringLiteral("واريز شده"),
            QStringLiteral("استرداد شده")};
}

io::ListDefinition fundRequestRowsList(bool oneRequest)
{
    // One request reads its rows by the key alone: the opening of a request of
    // thousands of rows does not walk every request's rows.
    const QString scope = oneRequest ? QStringLiteral("r.REQ_IDX = :Req") : QStringLiteral("(:Req = -1 OR r.REQ_IDX = :Req)");
    return list("fund-request-rows", QStringLiteral("ريز درخواست سپرده از خزانه"),
                QStringLiteral("SELECT r.*, h.REQNO, h.REQDATE, h.REQSTATUSE AS H_STATE, d.AMOUNT_RAD, d.AMOUNT_MANDEH, ") + rowKeySql("r", "REQ_IDX", "REQ_ROW")
                    + QStringLiteral(" FROM SEP_REQR r LEFT JOIN SEP_REQH h ON h.REQ_IDX = r.REQ_IDX LEFT JOIN SEP_DAR d ON d.IDX = r.SEPIDX WHERE ") + scope
                    + QStringLiteral(" AND (:Owner = -1 OR r.TAFSILNO = :Owner) AND (:Contract = -1 OR r.PAYMANNO = :Contract) "
                                     "AND (COALESCE(:ReqNo, '') = '' OR h.REQNO = :ReqNo) AND (COALESCE(:From, '') = '' OR h.REQDATE >= :From) AND (COALESCE(:To, '') = '' OR h.REQDATE <= :To) "
                                     "AND (:State = -1 OR (:State = 0 AND COALESCE(h.REQSTATUSE, 0) = 0) OR (:State = 1 AND h.REQSTATUSE IN (1, 2)) "
                                     "OR (:State = 2 AND h.REQSTATUSE IN (3, 4)) "
                                     "OR (:State = 3 AND EXISTS (SELECT 1 FROM SEP_RADR1 x WHERE x.REQIDX = r.REQ_IDX AND x.REQROW = r.REQ_ROW)))"
                                     "\nORDER BY r.REQ_IDX, r.REQ_ROW"),
                {{QStringLiteral(":Req"), oneRequest ? 0 : -1}, any(":Owner"), any(":Contract"), noDate(":ReqNo"), noDate(":From"), noDate(":To"),
                 any(":State")},
                {integer("REQ_IDX", "کد درخواست"), text("REQNO", "شماره درخواست", 90), integer("REQ_ROW", "رديف", 45), integer("SEPIDX", "شناسه سپرده"),
                 integer("TAFSILNO", "كد صاحب سپرده", 80), ownerName("TAFSILNO"), contractNo("PAYMANNO"), integer("FISHNO", "شماره قبض سپرده", 90),
                 date("FISHDATE", "تاريخ قبض"), amount("FISHAMOUNT", "مبلغ سپرده", false), amount("AMOUNT", "مبلغ درخواستي"),
                 amount("AMOUNT_MANDEH", "مانده سپرده", false), text("BESTANKARINO", "شماره بستانکاري", 90), date("BESTANKARIDATE", "تاريخ بستانکاري"),
                 amount("PEIKAREH", "پيکره واريزي", false), text("ERSALLETTER", "ش نامه ارسالي", 90), date("ERSALLETTERDATE", "تاريخ نامه ارسالي"),
                 integer("ERSAL_ROW", "رديف صورت ريز", 70), text("LETTERNO", "ش. نامه درخواست ", 90), date("LETTERDATE", "تاريخ نامه درخواست"),
                 codeField(QStringLiteral("H_STATE"), QStringLiteral("وضعيت درخواست"), 150, stateCodes()), text("DESCR", "ملاحظات", 160)},
                "ROWKEY", "SEP_REQR", {QStringLiteral("REQ_IDX"), QStringLiteral("REQ_ROW")});
}

io::ListDefinition refundsList()
{
    return list("refunds", QStringLiteral("سپرده هاي استردادي"),
                QStringLiteral("SELECT * FROM SEP_RADH WHERE (:Owner = -1 OR TAFSILI = :Owner) AND (:Contract = -1 OR PAYMAN = :Contract)\nORDER BY RAD_IDX"),
                {any(":Owner"), any(":Contract")},
                {integer("RAD_IDX", "رديف استرداد سپرده"), date("RADDATE", "تاريخ استرداد"), integer("TAFSILI", "كد صاحب سپرده", 80), ownerName("TAFSILI"),
                 contractNo("PAYMAN"), codeField(QStringLiteral("RADKIND"), QStringLiteral("علت استرداد"), 200, io::CodeTexts::numbered(refundKindTexts())),
                 amount("AMOUNT", "مبلغ استرداد"), integer("SNDNO", "شماره سند استرداد", 90), date("SNDDATE", "تاريخ سند استرداد"),
                 integer("SNDYER", "سال مالي", 60), codeField(QStringLiteral("TIK_AZTANKHAH"), QStringLiteral("از تنخواه"), 60,
                                                               io::CodeTexts{{{1, QStringLiteral("*")}}, {}}),
                 integer("TANKHAH_IDX", "شماره تنخواه", 70), integer("REQ_IDX", "ش نامه درخواست سپرده", 90), text("DESCR", "توضيحات", 200)},
                "RAD_IDX", "SEP_RADH");
}

io::ListDefinition refundList()
{
    io::ListDefinition d = refundsList();
    d.name = QStringLiteral("refund");
    d.sql = QStringLiteral("SELECT * FROM SEP_RADH WHERE RAD_IDX = :Rad\nORDER BY RAD_IDX");
    d.parameters = {{QStringLiteral(":Rad"), 0}};
    return d;
}

io::ListDefinition refundRowsList()
{
    return list("refund-rows", QStringLiteral("سپرده هاي استردادي"),
                QStringLiteral("SELECT r.*, d.AMOUNT AS D_AMOUNT, d.AMOUNT_MANDEH FROM SEP_RADR1 r LEFT JOIN SEP_DAR d ON d.IDX = r.SEPIDX "
                               "WHERE r.RAD_IDX = :Rad\nORDER BY r.RAD_ROW"),
                {{QStringLiteral(":Rad"), 0}},
                {integer("RAD_ROW", "رديف", 45), integer("SEPIDX", "شناسه سپرده"), integer("FISHNO", "شماره قبض", 80), date("FISHDATE", "تاريخ قبض"),
                 ownerName("TAFSILI"), contractNo("PAYMAN"), amount("D_AMOUNT", "مبلغ سپرده", false), amount("AMOUNT", "مبلغ استرداد"),
                 amount("AMOUNT_MANDEH", "مانده سپرده", false), integer("REQIDX", "درخواست وجه", 70), integer("REQROW", "رديف درخواست", 70),
                 text("DESCR", "توضيحات", 160)},
                "RAD_ROW", "SEP_RADR1", {QStringLiteral("RAD_IDX"), QStringLiteral("RAD_ROW")});
}

io::ListDefinition refundChequeRowsList()
{
    return list("refund-cheque-rows", QStringLiteral("چکهاي صادره جهت استرداد"),
                QStringLiteral("SELECT * FROM SEP_RADR2 WHERE RAD_IDX = :Rad\nORDER BY RAD_ROW"), {{QStringLiteral(":Rad"), 0}},
                {integer("RAD_ROW", "رديف", 45), integer("CHKNO", "شماره چک", 100), date("CHKDATE", "تاريخ چک"),
                 codeField(QStringLiteral("CHKKIND"), QStringLiteral("نوع چک"), 260, io::CodeTexts::numbered(chequeKindTexts())), ownerName("TAFSILI"),
                 amount("AMOUNT", "مبلغ چک"), text("DESCR", "توضيح", 160)},
                "RAD_ROW", "SEP_RADR2", {QStringLiteral("RAD_IDX"), QStringLiteral("RAD_ROW")});
}

io::ListDefinition refundedNotRequestedList()
{
    return list("refunded-not-requested", QStringLiteral("سپرده هاي استرداد شده که از خزانه درخواست نشده اند"),
                QStringLiteral("SELECT r.*, h.RADDATE, ") + rowKeySql("r", "RAD_IDX", "RAD_ROW")
                    + QStringLiteral(" FROM SEP_RADR1 r JOIN SEP_RADH h ON h.RAD_IDX = r.RAD_IDX "
                                     "WHERE NOT EXISTS (SELECT 1 FROM SEP_REQR q WHERE q.SEPIDX = r.SEPIDX) AND (COALESCE(:Since, '') = '' OR h.RADDATE >= :Since) "
                                     "AND (:Owner = -1 OR r.TAFSILI = :Owner) AND (:Contract = -1 OR r.PAYMAN = :Contract)"
                                     "\nORDER BY h.RADDATE DESC, r.FISHDATE DESC"),
                {noDate(":Since"), any(":Owner"), any(":Contract")},
                {integer("RAD_IDX", "رديف استرداد"), date("RADDATE", "تاريخ استرداد"), integer("SEPIDX", "شناسه سپرده"), integer("FISHNO", "شماره قبض", 80),
                 date("FISHDATE", "تاريخ قبض"), ownerName("TAFSILI"), contractNo("PAYMAN"), amount("AMOUNT", "مبلغ استرداد"), text("DESCR", "توضيحات", 160)},
                "ROWKEY");
}

io::ListDefinition requestedNotRefundedList()
{
    return list("requested-not-refunded", QStringLiteral("سپرده هاي درخواست شده از خزانه که استرداد نشده اند"),
                QStringLiteral("SELECT q.*, h.REQNO, h.REQDATE, h.REQSTATUSE AS H_STATE, ") + rowKeySql("q", "REQ_IDX", "REQ_ROW")
                    + QStringLiteral(" FROM SEP_REQR q JOIN SEP_REQH h ON h.REQ_IDX = q.REQ_IDX "
                                     "WHERE NOT EXISTS (SELECT 1 FROM SEP_RADR1 r WHERE r.SEPIDX = q.SEPIDX) AND (:Owner = -1 OR q.TAFSILNO = :Owner) "
                                     "AND (:Contract = -1 OR q.PAYMANNO = :Contract) AND (:Req = -1 OR q.REQ_IDX = :Req)"
                                     "\nORDER BY h.REQDATE DESC, q.REQ_IDX, q.REQ_ROW"),
                {any(":Owner"), any(":Contract"), any(":Req")},
                {integer("REQ_IDX", "کد درخواست"), text("REQNO", "شماره درخواست", 90), date("REQDATE", "تاريخ درخواست"), integer("REQ_ROW", "رديف", 45),
                 integer("SEPIDX", "شناسه سپرده"), integer("FISHNO", "شماره قبض", 80), date("FISHDATE", "تاريخ قبض"), ownerName("TAFSILNO"),
                 contractNo("PAYMANNO"), amount("AMOUNT", "مبلغ درخواستي"), codeField(QStringLiteral("H_STATE"), QStringLiteral("وضعيت درخواست"), 150, stateCodes()),
                 text("DESCR", "ملاحظات", 160)},
                "ROWKEY");
}

io::ListDefinition refundedDepositsList()
{
    return list("refunded-deposits", QStringLiteral("مرور و گزارش سپرده هاي استرداد شده"),
                QStringLiteral("SELECT r.*, h.RADDATE, d.AMOUNT AS D_AMOUNT, ") + rowKeySql("r", "RAD_IDX", "RAD_ROW")
                    + QStringLiteral(" FROM SEP_RADR1 r JOIN SEP_RADH h ON h.RAD_IDX = r.RAD_IDX LEFT JOIN SEP_DAR d ON d.IDX = r.SEPIDX "
                                     "WHERE (COALESCE(:From, '') = '' OR h.RADDATE >= :From) AND (COALESCE(:To, '') = '' OR h.RADDATE <= :To) AND (:Owner = -1 OR r.TAFSILI = :Owner) "
                                     "AND (:FromFloat = -1 OR COALESCE(h.TIK_AZTANKHAH, 0) = :FromFloat)"
                                     "\nORDER BY h.RADDATE, r.RAD_IDX, r.RAD_ROW"),
                {noDate(":From"), noDate(":To"), any(":Owner"), any(":FromFloat")},
                {integer("RAD_IDX", "رديف استرداد"), integer("RAD_ROW", "رديف", 45), date("RADDATE", "تاريخ استرداد"), integer("SEPIDX", "شناسه سپرده"),
                 ownerName("TAFSILI"), contractNo("PAYMAN"), amount("AMOUNT", "مبلغ استرداد"), integer("FISHNO", "شماره قبض", 80), date("FISHDATE", "تاريخ قبض"),
                 amount("D_AMOUNT", "مبلغ سپرده", false)},
                "ROWKEY");
}

io::ListDefinition refundChequesList()
{
    return list("refund-cheques", QStringLiteral("مرور و گزارش چک هاي استرداد سپرده"),
                QStringLiteral("SELECT c.*, h.RADDATE, h.TAFSILI AS H_TAFSILI, h.PAYMAN AS H_PAYMAN, ") + rowKeySql("c", "RAD_IDX", "RAD_ROW")
                    + QStringLiteral(" FROM SEP_RADR2 c JOIN SEP_RADH h ON h.RAD_IDX = c.RAD_IDX "
                                     "WHERE (COALESCE(:From, '') = '' OR h.RADDATE >= :From) AND (COALESCE(:To, '') = '' OR h.RADDATE <= :To) AND (:Owner = -1 OR h.TAFSILI = :Owner) "
                                     "AND (COALESCE(:ChkFrom, '') = '' OR c.CHKDATE >= :ChkFrom) AND (COALESCE(:ChkTo, '') = '' OR c.CHKDATE <= :ChkTo)"
                                     "\nORDER BY h.RADDATE, c.RAD_IDX, c.RAD_ROW"),
                {noDate(":From"), noDate(":To"), any(":Owner"), noDate(":ChkFrom"), noDate(":ChkTo")},
                {integer("RAD_IDX", "رديف استرداد"), integer("RAD_ROW", "رديف", 45), date("RADDATE", "تاريخ استرداد"),
                 codeField(QStringLiteral("CHKKIND"), QStringLiteral("نوع چک"), 260, io::CodeTexts::numbered(chequeKindTexts())), ownerName("H_TAFSILI"),
                 contractNo("H_PAYMAN"), amount("AMOUNT", "مبلغ چک"), integer("CHKNO", "شماره چک", 100), date("CHKDATE", "تاريخ چک"),
                 text("DESCR", "توضيح", 160)},
                "ROWKEY");
}

io::ListDefinition floatsList()
{
    return list("floats", QStringLiteral("مديريت مبالغ تنخواه"), QStringLiteral("SELECT * FROM TANKHAH_TBL\nORDER BY IDX"), {},
                {integer("IDX", "کد تنخواه"), text("DARKHSTLTRNO", "شماره نامه درخواست", 100), date("DARKHSTLTRDATE", "تاريخ نامه درخواست"),
                 amount("DARKHSTAMOUNT", "مبلغ درخواست"), text("KHAZANEHLTRNO", "شماره نامه خزانه", 100), date("KHAZANEHLTRDATE", "تاريخ نامه خزانه"),
                 text("HAVALEHNO", "شماره حواله", 90), date("HAVALEHDATE", "تاريخ حواله"), amount("HAVALEHAMOUNT", "مبلغ حواله (واريزي از خزانه)"),
                 amount("AMOUNT_MANDEH", "مبلغ مانده :"), text("DESCR", "توضيحات", 200)},
                "IDX", "TANKHAH_TBL");
}

io::ListDefinition floatChequesList()
{
    return list("float-cheques", QStringLiteral("مديريت چک هاي صادر شده از يک تنخواه"),
                QStringLiteral("SELECT c.*, h.RADDATE, h.TANKHAH_IDX, ") + rowKeySql("c", "RAD_IDX", "RAD_ROW")
                    + QStringLiteral(" FROM SEP_RADR2 c JOIN SEP_RADH h ON h.RAD_IDX = c.RAD_IDX WHERE h.TANKHAH_IDX = :Float "
                                     "AND (COALESCE(:From, '') = '' OR c.CHKDATE >= :From) AND (COALESCE(:To, '') = '' OR c.CHKDATE <= :To)\nORDER BY c.CHKDATE, c.RAD_IDX, c.RAD_ROW"),
                {{QStringLiteral(":Float"), 0}, noDate(":From"), noDate(":To")},
                {integer("RAD_IDX", "رديف استرداد"), date("RADDATE", "تاريخ استرداد"), integer("CHKNO", "شماره چک", 100), date("CHKDATE", "تاريخ چک"),
                 codeField(QStringLiteral("CHKKIND"), QStringLiteral("نوع چک"), 240, io::CodeTexts::numbered(chequeKindTexts())), ownerName("TAFSILI"),
                 amount("AMOUNT", "مبلغ چک"), text("DESCR", "توضيح", 160)},
                "ROWKEY");
}

io::ListDefinition floatsReportList()
{
    return list("floats-report", QStringLiteral("مرور و گزارش تنخواه رد وجوه سپرده"),
                QStringLiteral("SELECT * FROM TANKHAH_TBL WHERE (COALESCE(:From, '') = '' OR HAVALEHDATE >= :From) AND (COALESCE(:To, '') = '' OR HAVALEHDATE <= :To)"
                               "\nORDER BY HAVALEHDATE, IDX"),
                {noDate(":From"), noDate(":To")},
                {integer("IDX", "کد تنخواه"), text("HAVALEHNO", "شماره حواله", 90), date("HAVALEHDATE", "تاريخ حواله"),
                 text("KHAZANEHLTRNO", "شماره نامه خزانه", 100), date("KHAZANEHLTRDATE", "تاريخ نامه خزانه"),
                 amount("HAVALEHAMOUNT", "جمع كل تن خواه دريافتي "), amount("AMOUNT_MANDEH", "مانده كل "), text("DESCR", "توضيحات", 200)},
                "IDX");
}

QList<io::ListDefinition> requestRefundLists()
{
    return {ownerRequestsList(),        fundRequestsList(),       fundRequestList(),         fundRequestRowsList(false), refundsList(),
            refundList(),               refundRowsList(),
            refundChequeRowsList(),     refundedNotRequestedList(), requestedNotRefundedList(), refundedDepositsList(), refundChequesList(),
            floatsList(),               floatChequesList(),       floatsReportList()};
}

} // namespace orvak::deposits
