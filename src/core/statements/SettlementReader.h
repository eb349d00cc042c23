#pragma once
// The card acquirer's settlement files ("شاپرک") read into SURATHESABSHAPARAK as the
// statement reader reads statements: one account, a range of months by the date the
// amount was settled to the merchant account (DATEVARIZPAZIRANDE), replace or append,
// one unit of work. A line out of the range is reported with its line number and date
// and skipped; a line that cannot be parsed stops the run as for statements.
#include "core/statements/StatementReader.h"

namespace orvak::statements {

struct SettlementRequest {
    int account = 0;
    int fromYear = 0, fromMonth = 0, toYear = 0, toMonth = 0;
    QChar separator = QLatin1Char(';');
    QStringList files;
    std::optional<ReadMode> mode;
    // "تعداد ارقام چك جهت مقايسه(پيش فرض: 6)": how many last digits of the settlement
    // trace number are compared with the statement's document numbers.
    int chequeDigits = 6;

    QString from() const;
    QString to() const;
};

struct SettlementOutcome {
    bool done = false;
    int written = 0;
    int replaced = 0;
    QStringList outOfRange;     // " اشکال : تاريخ در محدوده نيست . رديف شماره " ... for each
    int onStatement = 0;        // written lines whose trace number's last digits a credit of the statement carries
    bool stopped = false;
    QString failure;
    QString message;
    explicit operator bool() const { return done; }
};

class SettlementReader {
public:
    explicit SettlementReader(startup::Session& session, Writer writer = Writer::User);
    static QString chequeDigitsQuestion();   // "تعداد ارقام چك جهت مقايسه(پيش فرض: 6)"
    static QString outOfRangeText(int line, const QString& date);
    SettlementOutcome read(const SettlementRequest& request, startup::Prompt& prompt);

private:
    startup::Session& session_;
    Writer writer_;
};

} // namespace orvak::statements
