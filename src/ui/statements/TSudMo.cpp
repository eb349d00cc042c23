#include "ui/statements/TSudMo.h"

#include "ui/framework/Editors.h"
#include "ui/statements/StatementScreens.h"
#include "core/statements/StatementDates.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::statements {

using orvak::statements::BankMatching;

TSudMo::TSudMo(orvak::startup::Session& session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("مغايرت بانکي"));
    setLayoutDirection(Qt::RightToLeft);
    account = accountField(session, this);
    account->setCode(1);
    year = new QComboBox(this);
    for (int y = orvak::statements::FirstWindowYear; y <= 1420; ++y)
        year->addItem(QString::number(y), y);
    month = new QComboBox(this);
    for (int m = 1; m <= 12; ++m)
        month->addItem(QStringLiteral("%1)%2").arg(m, 2, 10, QLatin1Char('0')).arg(util::jalaliMonthName(m)), m);
    const util::JalaliDate today = util::toJalali(session.clock().now().date());
    setMonth(today.year, today.month);
    sameAmount = new QCheckBox(QStringLiteral("يکسان بودن مبلغ سپرده و مبلغ صورتحساب"), this);
    sameAmount->setChecked(true);
    sameAmount->setEnabled(false);
    sameDate = new QCheckBox(QStringLiteral("و يکسان بودن تاريخ چک/فيش سپرده و تاريخ  صورتحساب"), this);
    sameNumber = new QCheckBox(QStringLiteral("و يکسان بودن شماره چک/فيش سپرده و شماره صورتحساب"), this);
    plan = new QLabel(this);
    plan->setWordWrap(true);
    matchButton = new QPushButton(BankMatching::matchButtonText(), this);
    undoButton = new QPushButton(BankMatching::undoButtonText(), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("تعيين صورتحساب بانکي"), account);
    auto* period = new QHBoxLayout;
    period->addWidget(year);
    period->addWidget(month);
    period->addStretch();
    form->addRow(QStringLiteral("ماه"), period);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(matchButton);
    buttons->addWidget(undoButton);
    buttons->addStretch();
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(sameAmount);
    box->addWidget(sameDate);
    box->addWidget(sameNumber);
    box->addWidget(plan, 1);
    box->addLayout(buttons);
    connect(matchButton, &QPushButton::clicked, this, [this] {
        framework::MessagePrompt p(this);
        match(p);
    });
    connect(undoButton, &QPushButton::clicked, this, [this] {
        framework::MessagePrompt p(this);
        undo(p);
    });
    for (QComboBox* c : {year, month})
        connect(c, &QComboBox::activated, this, [this] { preview(); });
    for (QCheckBox* c : {sameDate, sameNumber})
        connect(c, &QCheckBox::toggled, this, [this] { preview(); });
    connect(account, &framework::CodeEdit::codeChanged, this, [this] { preview(); });
    resize(620, 380);
}

void TSudMo::setMonth(int y, int m)
{
    year->setCurrentIndex(std::max(0, year->findData(y)));
    month->setCurrentIndex(std::clamp(m, 1, 12) - 1);
    if (plan)
        preview();
}

orvak::statements::MatchRequest TSudMo::request() const
{
    orvak::statements::MatchRequest r;
    r.account = int(account->code().value_or(0));
    r.year = year->currentData().toInt();
    r.month = month->currentData().toInt();
    r.criteria.sameDate = sameDate->isChecked();
    r.criteria.sameNumber = sameNumber->isChecked();
    return r;
}

QString TSudMo::preview()
{
    const auto r = request();
    const auto p = BankMatching(session_).plan(r);
    QString text = p ? BankMatching::planText(r, *p) : p.error();
    text.remove(orvak::statements::sureText());
    const auto last = BankMatching(session_).lastRun(r.account);
    if (last)
        text += QStringLiteral("\nآخرين تطابق اين حساب: %1").arg(last->description);
    plan->setText(text.trimmed());
    return plan->text();
}

orvak::statements::MatchOutcome TSudMo::match(orvak::startup::Prompt& prompt)
{
    const auto out = BankMatching(session_).run(request(), prompt);
    if (out)
        prompt.info(QStringLiteral("تطابق انجام شد: %1 سپرده تائيد و %2 سپرده نيمه تائيد افزوده شد").arg(out.matched).arg(out.added));
    preview();
    return out;
}

orvak::statements::MatchOutcome TSudMo::undo(orvak::startup::Prompt& prompt)
{
    const auto out = BankMatching(session_).undoLast(request().account, prompt);
    if (out)
        prompt.info(QStringLiteral("آخرين تطابق برگشت داده شد"));
    preview();
    return out;
}

void TSudMo::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    matchButton->setEnabled(!readOnly);
    undoButton->setEnabled(!readOnly);
}

} // namespace orvak::ui::statements
