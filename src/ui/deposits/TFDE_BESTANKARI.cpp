#include "ui/deposits/TFDE_BESTANKARI.h"

#include "core/deposits/CreditLetters.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::deposits {

using orvak::deposits::CreditNotices;

TFDE_BESTANKARI::TFDE_BESTANKARI(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("ويرايش اطلاعات بستانكاري ها"), QStringLiteral("ش رديف"),
                 CodedEntry::FetchedProposer([&session] { return CreditNotices(session).proposedIdx(); }), parent)
    , session_(session)
{
    amount = new framework::AmountEdit(this);
    creditDate = new framework::JalaliDateEdit(this);
    creditNo = basedata::textField(this, 15);
    creditLetterNo = basedata::textField(this, 15);
    creditLetterDate = new framework::JalaliDateEdit(this);
    bank = new QComboBox(this);
    letterNo = basedata::textField(this, 20);
    letterDate = new framework::JalaliDateEdit(this);
    bank->addItem(QString(), 0);
    for (const auto& [code, name] : CreditNotices(session).poolingAccounts().value_or({}))
        bank->addItem(QStringLiteral("%1 - %2").arg(code).arg(name), code);
    form()->addRow(QStringLiteral("پيكره واريزي"), amount);
    form()->addRow(QStringLiteral("تاريخ بستانكاري"), creditDate);
    form()->addRow(QStringLiteral("شماره بستانكاري خزانه"), creditNo);
    form()->addRow(QStringLiteral("شماره نامه بستانكاري"), creditLetterNo);
    form()->addRow(QStringLiteral("تاريخ نامه بستانكاري"), creditLetterDate);
    form()->addRow(QStringLiteral("واريز به حساب تمرکز وجوه سپرده خزانه"), bank);
    form()->addRow(QStringLiteral("شماره نامه صورت ريز ارسالي"), letterNo);
    form()->addRow(QStringLiteral("تاريخ نامه صورت ريز ارسالي"), letterDate);
}

void TFDE_BESTANKARI::clearRow()
{
    amount->setAmount(0);
    for (framework::JalaliDateEdit* d : {creditDate, creditLetterDate, letterDate})
        d->setDate(QString());
    for (QLineEdit* f : {creditNo, creditLetterNo, letterNo})
        f->clear();
    bank->setCurrentIndex(0);
}

bool TFDE_BESTANKARI::loadRecord(const QVariant& key)
{
    const auto n = CreditNotices(session_).read(key.toInt());
    if (!n)
        return false;
    showCode(n->idx);
    amount->setAmount(n->amount);
    creditDate->setDate(n->creditDate);
    creditNo->setText(n->creditNo);
    creditLetterNo->setText(n->creditLetterNo);
    creditLetterDate->setDate(n->creditLetterDate);
    int at = bank->findData(n->bank);
    if (at < 0) {
        // An account that is no pooling account (or gone) is shown as it stands.
        bank->addItem(QString::number(n->bank), n->bank);
        at = bank->count() - 1;
    }
    bank->setCurrentIndex(at);
    letterNo->setText(n->letterNo);
    letterDate->setDate(n->letterDate);
    return true;
}

bool TFDE_BESTANKARI::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    for (framework::JalaliDateEdit* d : {creditDate, creditLetterDate, letterDate}) {
        if (!d->validate(message))
            return false;
    }
    return true;
}

std::optional<QVariant> TFDE_BESTANKARI::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) -> std::optional<qint64> {
        orvak::deposits::CreditNotice n;
        n.idx = int(c);
        n.amount = amount->amount();
        const auto dateOf = [](framework::JalaliDateEdit* d) { return d->isEmptyDate() ? QString() : d->text(); };
        n.creditDate = dateOf(creditDate);
        n.creditNo = creditNo->text();
        n.creditLetterNo = creditLetterNo->text();
        n.creditLetterDate = dateOf(creditLetterDate);
        n.bank = bank->currentData().toInt();
        n.letterNo = letterNo->text();
        n.letterDate = dateOf(letterDate);
        const auto idx = CreditNotices(session_).save(n, mode() == Mode::Insert, prompt);
        return idx ? std::optional<qint64>(*idx) : std::nullopt;
    }, error);
}

} // namespace orvak::ui::deposits
