#pragma once
// The demo office with deposits of its own in a year the demo leaves empty, so that
// the request and refund tests see exactly the amounts they wrote.
#include "core/deposits/FundRequests.h"
#include "core/deposits/Refunds.h"
#include "support/DemoOffice.h"

namespace orvak::test {

struct RequestOffice : DemoOffice {
    static constexpr int Year = 1409;
    int owner = 0;

    RequestOffice()
    {
        session->setCurrentUserCode(3);
        owner = int(number(session->common(), QStringLiteral("SELECT MIN(CODE) FROM TAFSILI WHERE CI = 0")));
    }
    QSqlDatabase db() { return session->deposits(); }
    static qint64 number(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
    {
        return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong();
    }
    qint64 count(const QString& sql, const QVariantMap& binds = {}) { return number(db(), sql, binds); }
    qint64 audit() { return historyCount(*session); }

    // A deposit of the test year with the amount, receipt number and columns given.
    int deposit(qint64 amount, qint64 sepNo = 0, const QVariantMap& more = {})
    {
        const int idx = int(count(QStringLiteral("SELECT COALESCE(MAX(IDX), 0) + 1 FROM SEP_DAR")));
        QVariantMap v{{QStringLiteral("IDX"), idx},          {QStringLiteral("MY"), Year},           {QStringLiteral("MM"), 1},
                      {QStringLiteral("TAFSILI"), owner},    {QStringLiteral("AMOUNT"), double(amount)}, {QStringLiteral("AMOUNT_RAD"), 0},
                      {QStringLiteral("AMOUNT_MANDEH"), double(amount)}, {QStringLiteral("SEPKIND"), 1}, {QStringLiteral("SEPNO"), sepNo},
                      {QStringLiteral("SEPDATE"), QStringLiteral("1409/01/10")}, {QStringLiteral("CHKDATE"), QStringLiteral("1409/01/05")},
                      {QStringLiteral("ALTP"), 0},           {QStringLiteral("FROMOLDM"), 2},       {QStringLiteral("PAYMENT"), -1},
                      {QStringLiteral("TIK_ESTERDAD"), 0},   {QStringLiteral("TIK_DARKHASTVJH"), 0}, {QStringLiteral("TIK_DARKHASTVJHOK"), 0},
                      {QStringLiteral("TANKHAHSTATUS"), 0}};
        v.insert(more);
        QStringList names, marks;
        QVariantMap binds;
        for (auto it = v.cbegin(); it != v.cend(); ++it) {
            names << it.key();
            marks << QLatin1Char(':') + it.key();
            binds.insert(QLatin1Char(':') + it.key(), it.value());
        }
        EXPECT_TRUE(db::execSql(db(), QStringLiteral("INSERT INTO SEP_DAR (%1) VALUES (%2)").arg(names.join(','), marks.join(',')), binds));
        return idx;
    }
    QVariant at(int idx, const char* column)
    {
        return db::scalar(db(), QStringLiteral("SELECT %1 FROM SEP_DAR WHERE IDX = :i").arg(QLatin1String(column)), {{QStringLiteral(":i"), idx}})
            .value_or(QVariant(QStringLiteral("<none>")));
    }
    // TIK_DARKHASTVJH and TIK_DARKHASTVJHOK of a deposit.
    std::pair<int, int> marks(int idx) { return {at(idx, "TIK_DARKHASTVJH").toInt(), at(idx, "TIK_DARKHASTVJHOK").toInt()}; }
    // AMOUNT_RAD, AMOUNT_MANDEH, TIK_ESTERDAD, TANKHAHSTATUS.
    std::tuple<qint64, qint64, int, int> refunded(int idx)
    {
        return {qint64(at(idx, "AMOUNT_RAD").toDouble()), qint64(at(idx, "AMOUNT_MANDEH").toDouble()), at(idx, "TIK_ESTERDAD").toInt(),
                at(idx, "TANKHAHSTATUS").toInt()};
    }

    // A new fund request in draft with rows for the deposits and amounts given.
    int request(const QList<std::pair<int, qint64>>& rows, const QString& no = QStringLiteral("T-1"))
    {
        deposits::FundRequests requests(*session);
        startup::ScriptedPrompt prompt({}, true);
        auto h = requests.newRequest();
        EXPECT_TRUE(h);
        deposits::FundRequest header = *h;
        header.reqNo = no;
        const auto saved = requests.save(header, true, prompt);
        EXPECT_TRUE(saved) << prompt.text().toStdString();
        if (!saved)
            return 0;
        for (const auto& [idx, amount] : rows) {
            auto row = requests.rowFor(*saved, idx);
            EXPECT_TRUE(row) << row.error().toStdString();
            deposits::FundRequestRow r = *row;
            r.amount = amount;
            EXPECT_TRUE(requests.saveRow(r, true, prompt)) << prompt.text().toStdString();
        }
        return *saved;
    }
    bool toState(int reqIdx, deposits::FundState state, qint64 paidIn = 0)
    {
        deposits::FundRequests requests(*session);
        startup::ScriptedPrompt prompt({}, true);
        deposits::FundRequest h = requests.read(reqIdx).value_or({});
        h.ansAmount = paidIn;
        const bool ok = requests.changeState(h, state, prompt).has_value();
        EXPECT_TRUE(ok) << prompt.text().toStdString();
        return ok;
    }
    deposits::Refund refundFor(int tafsili = 0)
    {
        deposits::Refund r = deposits::Refunds(*session).newRefund();
        r.tafsili = tafsili > 0 ? tafsili : owner;
        return r;
    }
};

} // namespace orvak::test
