#include "core/letters/GuaranteeLetters.h"

#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/Guarantees.h"
#include "core/letters/LetterFooter.h"
#include "core/startup/OrganisationPicture.h"
#include "core/util/Jalali.h"

#include <QTextDocument>

namespace orvak::letters {

const QStringList& signatoryTexts()
{
    static const QStringList texts = {QStringLiteral("ذيحساب"), QStringLiteral("مديريت دستگاه"), QStringLiteral("ذيحساب و مدير کل امور مالي"),
                                      QStringLiteral("ذيحساب اعتبارات تملک دارائيهاي سرمايه اي"), QStringLiteral("قائم مقام رييس سازمان و مدير کل"),
                                      QStringLiteral("هيچ کدام")};
    return texts;
}

QString dialogIncompleteText() { return QStringLiteral("اطلاعات كامل نيست"); }

GuaranteeLetters::GuaranteeLetters(startup::Session& session)
    : session_(session)
{
}

std::optional<PreparedLetter> GuaranteeLetters::prepare(const LetterRequest& request, startup::Prompt& prompt) const
{
    auto told = [&](const QString& text) -> std::optional<PreparedLetter> {
        prompt.info(text);
        return std::nullopt;
    };
    const auto g = guarantees::Guarantees(session_).read(request.guarantee);
    if (!g)
        return told(g.failed() ? g.error() : guarantees::notFoundText());
    LetterTemplates templates(session_);
    db::Fetched<LetterTemplate> t = db::Fetched<LetterTemplate>::none();
    if (request.templateCode > 0) {
        t = templates.read(request.templateCode);
    } else {
        const auto ofKind = templates.ofKind(request.kind < 0 ? KindGeneral : request.kind);
        if (ofKind.failed())
            return told(ofKind.error());
        if (ofKind && !ofKind->isEmpty())
            t = db::Fetched<LetterTemplate>::found(ofKind->first());
    }
    if (t.failed())
        return told(t.error());
    if (!t)
        return told(dialogIncompleteText());
    const int kind = request.kind < 0 ? t->kind : request.kind;
    LetterInput input = request.input;
    for (QString* d : {&input.newDue, &input.receivedDate, &input.secretariatDate}) {
        QString bare = *d;
        bare.remove(QLatin1Char('/')).remove(QLatin1Char(' '));
        if (bare.isEmpty()) {
            d->clear();
            continue;
        }
        const auto real = util::parseJalali(*d);
        if (!real)
            return told(QStringLiteral("تاريخ درست نيست: ") + *d);
        *d = real->toText();
    }
    if ((kindNeedsNewDue(kind) && input.newDue.isEmpty()) || (kindNeedsNewAmount(kind) && (!input.newAmount || *input.newAmount <= 0)))
        return told(dialogIncompleteText());
    if (request.copyCount < 0 || request.copyCount > 20)
        return told(QStringLiteral("تعداد کپي هاي رونوشت درست نيست"));
    if (request.signatory < 0 || request.signatory >= signatoryTexts().size() || request.layout < 0 || request.layout >= paperLayouts().size())
        return told(dialogIncompleteText());

    PreparedLetter letter;
    letter.guarantee = *g;
    letter.letterTemplate = *t;
    // A number typed as "تخصيص ش. نامه" gave it is the counter's next as well.
    const auto next = LetterSettings(session_).nextNumber();
    if (input.secretariatNo.trimmed().isEmpty()) {
        if (!next)
            return told(next.error());
        input.secretariatNo = next->text;
        letter.counter = next->counter;
    } else if (next && next->text == input.secretariatNo.trimmed()) {
        letter.counter = next->counter;
    }
    letter.number = input.secretariatNo.trimmed();
    const auto values = placeholderValues(session_, *g, input);
    if (!values)
        return told(values.error());
    letter.values = *values;
    letter.body = fillTemplate(t->contents, *values);
    QString copies;
    const auto lines = templates.copyRecipients(t->chosenCopies());
    if (lines.failed())
        return told(lines.error());
    for (const CopyRecipient& c : lines.value_or({})) {
        QTextDocument d;
        d.setHtml(c.text);
        copies += QStringLiteral("<p>") + d.toPlainText().toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br/>")) + QStringLiteral("</p>");
    }
    letter.copyVersion = copies.isEmpty() ? QString() : fillTemplate(QStringLiteral("<html><body>") + copies + QStringLiteral("</body></html>"), *values);
    letter.pages = pagesOf(letter, request);
    return letter;
}

std::vector<LetterPage> GuaranteeLetters::pagesOf(const PreparedLetter& letter, const LetterRequest& request) const
{
    const LetterTemplate& t = letter.letterTemplate;
    const PlaceholderValues& v = letter.values;
    LetterPage page;
    page.layout = request.layout;
    page.a4 = t.paperSize == 1;
    page.landscape = t.landscape == 1;
    page.twoPerSheet = t.perSheet == 1;
    page.offsetLeft = t.offsetLeft;
    page.offsetTop = t.offsetTop;
    page.bodyHtml = letter.body;
    page.closing = request.closing.trimmed();
    page.date = letterDate(request.input.secretariatDate.isEmpty() ? session_.clock().todayJalali() : request.input.secretariatDate,
                           request.input.reverseDates);
    page.number = letter.number;
    page.enclosures = letter.guarantee.zcount > 0 ? QString::number(letter.guarantee.zcount) : QStringLiteral("ندارد");
    page.addressee = v.value(QStringLiteral("((نام شعبه))"));
    page.sender = session_.site().organisationName;
    page.subject = t.title;
    const startup::OfficeData& office = session_.office();
    for (const QString& line : {office.generalOfficeName, office.officeName}) {
        if (!line.trimmed().isEmpty())
            page.organisationLines << line.trimmed();
    }
    if (page.organisationLines.isEmpty())
        page.organisationLines << session_.site().organisationName;
    if (paperLayout(page.layout).letterhead) {
        const auto picture = startup::readOrganisationPicture(session_);
        if (picture)
            page.letterhead.loadFromData(picture->data);
    }
    // The footer's letter blocks; the chosen signatory names the first one's post.
    std::vector<io::ReportSignature> blocks = signatureBlocks(session_, QStringLiteral("letter"), LettersGroup);
    if (request.signatory == NoSignatory) {
        blocks.clear();
    } else {
        if (blocks.empty())
            blocks.push_back({});
        blocks.resize(std::min<size_t>(2, blocks.size()));
        blocks[0].title = signatoryTexts()[request.signatory];
    }
    page.signatures = blocks;
    if (paperLayout(page.layout).positioned) {
        const QStringList keys = {QStringLiteral("((شماره تضمين))"), QStringLiteral("((نوع تضمين))"), QStringLiteral("((پيمانکار))"),
                                  QStringLiteral("((سررسيد فعلي))"), QStringLiteral("((سررسيد جديد))"), QStringLiteral("((مدت تمديد))"),
                                  QStringLiteral("((مبلغ فعلي))"), QStringLiteral("((مبلغ جديد))"), QStringLiteral("((ميزان تقليل))"),
                                  QStringLiteral("((نام شعبه))"), QStringLiteral("((قرارداد))"), QStringLiteral("((نام پروژه))"),
                                  QStringLiteral("((ش.بايگاني))"), QStringLiteral("((نام اداره))"), QStringLiteral("((شرح))")};
        const QString comptroller = blocks.empty() ? QString() : blocks.front().name;
        for (int i = 0; i < PositionedItemCount; ++i) {
            const PositionedItem& item = t.items[size_t(i)];
            if (item.left <= 0 && item.top <= 0)
                continue;
            QString text = i < keys.size() ? v.value(keys[i]) : i == 15 ? fillPlain(t.word1, v) : i == 16 ? fillPlain(t.word2, v) : comptroller;
            page.placed.push_back({double(item.left), double(item.top), double(item.width), double(item.height), double(item.size), item.bold, item.font,
                                   text.trimmed()});
        }
    }
    std::vector<LetterPage> pages{page};
    if (request.withCopies && !letter.copyVersion.isEmpty()) {
        LetterPage copy = page;
        copy.copiesHtml = letter.copyVersion;
        for (int i = 0; i < std::max(1, request.copyCount); ++i)
            pages.push_back(copy);
    }
    return pages;
}

int GuaranteeLetters::historyKindOf(int letterKind)
{
    static const int kinds[] = {0, 1, 2, 5, 8, 4, 3, 6, 23};
    return letterKind >= 0 && letterKind < 9 ? kinds[letterKind] : 0;
}

std::optional<int> GuaranteeLetters::requestStatusOf(int letterKind)
{
    static const int statuses[] = {-1, 10, 11, 13, 9, 14, 12, 7, 24};
    if (letterKind <= 0 || letterKind >= 9)
        return std::nullopt;
    return statuses[letterKind];
}

std::optional<int> GuaranteeLetters::registerRequest(const PreparedLetter& letter, const LetterRequest& request, const QString& body, startup::Prompt& prompt)
{
    const int kind = request.kind < 0 ? letter.letterTemplate.kind : request.kind;
    const guarantees::Guarantee& g = letter.guarantee;
    const QString today = session_.clock().todayJalali();
    const auto registered = util::parseJalali(request.registrationDate);
    if (!request.registrationDate.trimmed().isEmpty() && !registered) {
        prompt.info(QStringLiteral("تاريخ ثبت درست نيست: ") + request.registrationDate);
        return std::nullopt;
    }
    const QString registrationDay = registered ? registered->toText() : today;
    const QString letterDay = request.input.secretariatDate.isEmpty() ? today : request.input.secretariatDate;
    int row = 0;
    QString error;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            if (const auto refusal = guarantees::Guarantees::writeRefusal(w, session_))
                return w.fail(*refusal);
            const std::optional<guarantees::Guarantee> now = guarantees::Guarantees::readIn(w, g.idx);
            if (!now)
                return false;
            const auto next = w.nextKey(db::Store::Deposits, QStringLiteral("ZHIST"), QStringLiteral("ROW"), QStringLiteral("ZIDX = :Idx"),
                                        {{QStringLiteral(":Idx"), g.idx}});
            if (!next)
                return false;
            row = int(*next);
            const QString due = request.input.newDue.isEmpty() ? now->sarresid : request.input.newDue;
            const qint64 amount = request.input.newAmount && *request.input.newAmount > 0 ? *request.input.newAmount : now->amount;
            QVariantMap h{{QStringLiteral("ZIDX"), g.idx},
                          {QStringLiteral("ROW"), row},
                          {QStringLiteral("KIND"), historyKindOf(kind)},
                          {QStringLiteral("LETTERNO"), letter.number.left(20)},
                          {QStringLiteral("LETTERDATE"), letterDay},
                          {QStringLiteral("LTRSABTDATE"), registrationDay},
                          {QStringLiteral("SARRESID"), due.isEmpty() ? QVariant() : QVariant(due)},
                          {QStringLiteral("AMOUNT"), double(amount)},
                          {QStringLiteral("ANS"), 2},
                          {QStringLiteral("LTRCODE"), letter.letterTemplate.code},
                          {QStringLiteral("LTRCONTENT"), body.isEmpty() ? letter.body : body},
                          {QStringLiteral("OLD_SARRESID"), now->sarresid.isEmpty() ? QVariant() : QVariant(now->sarresid)},
                          {QStringLiteral("OLD_AMOUNT"), double(now->amount)},
                          {QStringLiteral("OLD_STATUSE"), now->status},
                          {QStringLiteral("OLD_ZNO"), now->zno.isEmpty() ? QVariant() : QVariant(now->zno)}};
            if (!w.insert(db::Store::Deposits, QStringLiteral("ZHIST"), h))
                return false;
            QString set = QStringLiteral("LETTERNO = :No, LETTERDATE = :Date");
            QVariantMap binds{{QStringLiteral(":No"), letter.number.left(15)}, {QStringLiteral(":Date"), letterDay}, {QStringLiteral(":Idx"), g.idx}};
            if (const auto status = requestStatusOf(kind)) {
                set += QStringLiteral(", ZSTATUSE = :Status");
                binds.insert(QStringLiteral(":Status"), *status);
            }
            if (!w.update(db::Store::Deposits, QStringLiteral("ZEMANAT"), set, QStringLiteral("IDX = :Idx"), binds))
                return false;
            return letter.counter <= 0 || LetterSettings::useNumber(w, letter.counter);
        },
        &error);
    if (!ok) {
        prompt.info(error.isEmpty() ? QStringLiteral("نامه ثبت نشد") : error);
        return std::nullopt;
    }
    return row;
}

} // namespace orvak::letters
