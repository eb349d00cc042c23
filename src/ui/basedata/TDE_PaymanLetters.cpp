#include "ui/basedata/TDE_PaymanLetters.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/basedata/ContractFields.h"
#include "core/basedata/Contracts.h"
#include "core/basedata/Parameters.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace orvak::ui::basedata {

TDE_PaymanLetters::TDE_PaymanLetters(orvak::startup::Session& session, qint64 contract, QWidget* parent)
    : framework::EntryForm(QStringLiteral("سوابق قرارداد"), parent)
    , session_(session)
    , contract_(contract)
{
    date = new framework::JalaliDateEdit(this);
    letterNo = textField(this, 30);
    subject = parameterCombo(session, int(orvak::basedata::ParameterKind::Subject), this);
    description = textField(this, 200);
    extra = textField(this, 200);
    automationId = textField(this, 9);
    letter = new QPlainTextEdit(this);
    form()->addRow(QStringLiteral("تاريخ نامه"), date);
    form()->addRow(QStringLiteral("شماره نامه"), letterNo);
    form()->addRow(QStringLiteral("موضوع"), subject);
    form()->addRow(QStringLiteral("شرح"), description);
    form()->addRow(QStringLiteral("توضيحات"), extra);
    form()->addRow(QStringLiteral("شماره اتوماسيون"), automationId);
    form()->addRow(QStringLiteral("متن نامه"), letter);
}

void TDE_PaymanLetters::clearFields()
{
    date->setDate(QString());
    for (QLineEdit* f : {letterNo, description, extra, automationId})
        f->clear();
    subject->setCurrentIndex(0);
    letter->clear();
}

bool TDE_PaymanLetters::loadRecord(const QVariant& key)
{
    const auto l = orvak::basedata::Contracts(session_).letter(contract_, key.toLongLong());
    if (!l)
        return false;
    date->setDate(l->date);
    letterNo->setText(l->letterNo);
    selectCode(subject, l->subject);
    description->setText(l->description);
    extra->setText(l->extra);
    automationId->setText(numberText(l->automationId));
    letter->setPlainText(l->letter);
    return true;
}

bool TDE_PaymanLetters::validate(QString* message)
{
    if (!numberIn(automationId)) {
        *message = QStringLiteral("شماره اتوماسيون بايد عدد باشد");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_PaymanLetters::saveRecord(QString* error)
{
    orvak::basedata::ContractLetter l;
    l.contract = contract_;
    l.number = mode() == Mode::Edit ? key().toLongLong() : 0;
    l.date = date->isEmptyDate() ? QString() : date->text();
    l.letterNo = letterNo->text();
    l.subject = subject->currentData().toInt();
    l.description = description->text();
    l.extra = extra->text();
    l.automationId = int(numberIn(automationId).value_or(0));
    l.letter = letter->toPlainText();
    const bool insert = mode() == Mode::Insert;
    return savedThrough(this, [&](startup::Prompt& prompt) { return orvak::basedata::Contracts(session_).saveLetter(l, insert, prompt); }, error);
}

} // namespace orvak::ui::basedata
