#include "core/letters/DepositLetters.h"

#include "core/letters/LetterFill.h"
#include "core/letters/LetterFooter.h"
#include "core/letters/LetterSettings.h"
#include "core/startup/OrganisationPicture.h"
#include "core/util/AmountWords.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

namespace orvak::letters {

db::Fetched<LetterPage> fixedDepositLetter(startup::Session& session, const FixedLetterInput& in)
{
    const auto settings = LetterSettings(session).depositSettings();
    if (!settings)
        return db::Fetched<LetterPage>::failure(settings.error());
    if (in.month < 1 || in.month > 12 || in.year < 1300 || in.year > 1600)
        return db::Fetched<LetterPage>::failure(QStringLiteral("ماه و سال نامه درست نيست"));
    const QString figures = QStringLiteral("/%1/").arg(in.amount > 0 ? util::FormatAmount(in.amount) : QStringLiteral("0"));
    const QString words = in.amount > 0 ? util::AmountToWords(quint64(in.amount)) : QStringLiteral("صفر");
    const QString month = util::jalaliMonthName(in.month) + QLatin1Char(' ') + QString::number(in.year);
    const startup::OfficeData& office = session.office();
    const QString account = office.treasuryAccount.trimmed();
    QString body;
    QString addressee = settings->treasuryTitle;
    const std::array<QString, 3>* copies = &settings->sendingCopies;
    switch (in.which) {
    case FixedDepositLetter::MonthlyList:
        body = QStringLiteral("با احترام صورت ريز سپرده هاي دريافتي(وصولي) ماه %1 اين اداره کل به مبلغ %2 ريال (%3 ريال) به پيوست ارسال مي گردد. "
                              "خواهشمند است دستور فرماييد ضمن تاييد وصول آن، اعلاميه بستانکاري مربوط را صادر و ارسال نمايند.")
                   .arg(month, figures, words);
        break;
    case FixedDepositLetter::TreasuryHead:
        addressee = settings->treasuryHeadName.isEmpty() ? office.treasuryHeadName : settings->treasuryHeadName;
        addressee = QStringLiteral("جناب آقاي ") + addressee + QStringLiteral(" رييس محترم خزانه معين استان");
        body = QStringLiteral("احتراما ، به پيوست تصوير صورتحساب بانکي فيشهاي واريزي و فهرست سپرده هاي دريافتي ماه %1 به مبلغ %2 ريال (%3 ريال) "
                              "واريز شده به حساب تمرکز وجوه سپرده خزانه به شماره %4 جهت صدور اعلاميه بستانکاري ارسال مي گردد.")
                   .arg(month, figures, words, account);
        break;
    case FixedDepositLetter::BalanceConfirmation: {
        const auto d = util::parseJalali(in.balanceDate);
        if (!d)
            return db::Fetched<LetterPage>::failure(QStringLiteral("تاريخ مانده درست نيست: ") + in.balanceDate);
        body = QStringLiteral("احترامـا خواهشـمند است دسـتور فرمايـيد تائـيديه مانده حسـاب خزانـه سپرده اين اداره کل به شماره %1 در تاريخ %2 "
                              "به مبلغ %3 ريال (%4 ريال) را به اين اداره کل اعلام نمايند.")
                   .arg(account, letterDate(d->toText(), false), figures, words);
        copies = &settings->requestCopies;
        break;
    }
    }
    LetterPage page;
    page.layout = in.layout;
    page.bodyHtml = QStringLiteral("<html><body><p>") + addressee.toHtmlEscaped() + QStringLiteral("</p><p>") + body.toHtmlEscaped()
        + QStringLiteral("</p></body></html>");
    QString lines;
    for (const QString& c : *copies) {
        if (!c.trimmed().isEmpty())
            lines += QStringLiteral("<p>") + c.toHtmlEscaped() + QStringLiteral("</p>");
    }
    page.copiesHtml = lines;
    page.date = letterDate(in.date.isEmpty() ? session.clock().todayJalali() : in.date, false);
    page.number = in.number;
    page.enclosures = QStringLiteral("دارد");
    page.addressee = addressee;
    page.sender = session.site().organisationName;
    for (const QString& line : {office.generalOfficeName, office.officeName}) {
        if (!line.trimmed().isEmpty())
            page.organisationLines << line.trimmed();
    }
    if (page.organisationLines.isEmpty())
        page.organisationLines << session.site().organisationName;
    if (paperLayout(page.layout).letterhead) {
        const auto picture = startup::readOrganisationPicture(session);
        if (picture)
            page.letterhead.loadFromData(picture->data);
    }
    page.signatures = signatureBlocks(session, QStringLiteral("deposit-letter"), LettersGroup);
    if (page.signatures.size() > 2)
        page.signatures.resize(2);
    return db::Fetched<LetterPage>::found(page);
}

} // namespace orvak::letters
