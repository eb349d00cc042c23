#include "ui/basedata/TORVAK_DE_payman.h"

#include "ui/accounting/AccountingScreens.h"
#include "ui/basedata/ContractFields.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/Pickers.h"
#include "ui/basedata/TViewMTE.h"
#include "ui/framework/Picker.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/ContractCreditSources.h"
#include "core/basedata/Parameters.h"
#include "core/basedata/Plans.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvak::ui::basedata {

namespace {

using orvak::basedata::ContractColumnKind;
namespace core = orvak::basedata;

bool isLongText(const QString& column)
{
    static const QStringList longTexts{QStringLiteral("EXTRADESCR"), QStringLiteral("TAZMINDESCR"), QStringLiteral("BIMEHBRANCH"), QStringLiteral("DESCRTEXT")};
    return longTexts.contains(column);
}

// The columns on the first page; the dates, the supplement and the insurance follow.
bool onFirstPage(const core::ContractColumn& c)
{
    static const QStringList first{QStringLiteral("PAYMENTNO"), QStringLiteral("TAFSIL"), QStringLiteral("PAYMENTDATE"), QStringLiteral("DESCR"),
                                   QStringLiteral("AMOUNT"), QStringLiteral("EZAFEHKAR"), QStringLiteral("KINDEZAFKARI"), QStringLiteral("AMOUNTFINAL"),
                                   QStringLiteral("PMOZOO"), QStringLiteral("PTABAGHE"), QStringLiteral("CHEGONEGY"), QStringLiteral("PAYMENTYEAR"),
                                   QStringLiteral("PSPACE"), QStringLiteral("PROJNO"), QStringLiteral("MOJRI"), QStringLiteral("NAZER"),
                                   QStringLiteral("TRANSFERUNIT"), QStringLiteral("HAVKOSUR"), QStringLiteral("HAVSAVABEG")};
    return first.contains(c.name);
}

QVariant valueOf(QWidget* w)
{
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentData();
    if (auto* code = qobject_cast<framework::CodeEdit*>(w))
        return code->editor()->text().trimmed();
    if (auto* date = qobject_cast<framework::JalaliDateEdit*>(w))
        return date->isEmptyDate() ? QString() : date->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        return text->toPlainText();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return line->text();
    return {};
}

void showValue(QWidget* w, const QVariant& v)
{
    if (auto* combo = qobject_cast<QComboBox*>(w))
        selectCode(combo, v);
    else if (auto* code = qobject_cast<framework::CodeEdit*>(w))
        code->setCode(v.toLongLong() > 0 ? std::optional<qint64>(v.toLongLong()) : std::nullopt);
    else if (auto* date = qobject_cast<framework::JalaliDateEdit*>(w))
        date->setDate(v.toString());
    else if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        text->setPlainText(v.toString());
    else if (auto* amount = qobject_cast<framework::AmountEdit*>(w))
        amount->setAmount(util::parseAmount(v.toString()).value_or(0));
    else if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setText(v.toString());
}

} // namespace

TORVAK_DE_payman::TORVAK_DE_payman(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("اطلاعات قراردادها"), QStringLiteral("شناسه قرارداد"), [&session] { return core::Contracts(session).proposedCode(); }, parent)
    , session_(session)
{
    auto* tabs = new QTabWidget(this);
    auto* main = new QWidget(tabs);
    auto* more = new QWidget(tabs);
    new QFormLayout(main);
    new QFormLayout(more);
    for (const core::ContractColumn& c : core::contractColumns())
        addField(onFirstPage(c) ? main : more, c);
    hasSupplement = new QCheckBox(QStringLiteral("اين قرارداد متمم دارد"), more);
    static_cast<QFormLayout*>(more->layout())->insertRow(0, QString(), hasSupplement);

    auto* sources = new QWidget(tabs);
    auto* sourcesLayout = new QVBoxLayout(sources);
    creditSources = new QListWidget(sources);
    fillCreditSources();
    // The list of sources opens here, and what it gained can be ticked at once.
    auto* sourceList = new QPushButton(QStringLiteral("منابع تامين اعتبار"), sources);
    connect(sourceList, &QPushButton::clicked, this, [this] {
        framework::pickFrom(new TViewMTE(session_), {{QStringLiteral("KIND")}, QStringLiteral("KIND"), QStringLiteral("DESCR"), {}}, this);
        fillCreditSources();
    });
    sourcesLayout->addWidget(sourceList, 0, Qt::AlignLeading);
    sourcesLayout->addWidget(creditSources);

    auto* split = new QWidget(tabs);
    auto* splitLayout = new QVBoxLayout(split);
    splits = new QTableWidget(0, 3, split);
    splits->setHorizontalHeaderLabels(QStringList{core::planWording(session.SectionCode(), QStringLiteral("طرح")), QStringLiteral("پروژه"), QStringLiteral("مبلغ")});
    splits->setEditTriggers(QAbstractItemView::NoEditTriggers);
    splits->setSelectionBehavior(QAbstractItemView::SelectRows);
    splits->horizontalHeader()->setStretchLastSection(true);
    auto* splitButtons = new QHBoxLayout;
    auto* plus = new QPushButton(QStringLiteral("+"), split);
    auto* minus = new QPushButton(QStringLiteral("-"), split);
    splitButtons->addWidget(plus);
    splitButtons->addWidget(minus);
    splitButtons->addStretch();
    splitLayout->addLayout(splitButtons);
    splitLayout->addWidget(splits);
    connect(plus, &QPushButton::clicked, this, [this] {
        const auto plan = pickPlan(this, session_);
        if (!plan)
            return;
        const int planCode = plan->current.value(QStringLiteral("CODE")).toInt();
        const auto project = pickProject(this, session_, planCode);
        if (!project)
            return;
        bool ok = false;
        const QString amount = QInputDialog::getText(this, QStringLiteral("مبلغ"), QStringLiteral("مبلغ"), QLineEdit::Normal, QString(), &ok);
        if (ok)
            addSplit(planCode, project->current.value(QStringLiteral("PROJNO")).toInt(), amount);
    });
    connect(minus, &QPushButton::clicked, this, [this] { removeCurrentSplit(); });

    tabs->addTab(main, QStringLiteral("مشخصات قرارداد"));
    tabs->addTab(more, QStringLiteral("تاريخها، متمم و بيمه"));
    tabs->addTab(sources, QStringLiteral("منابع تامين اعتبار"));
    tabs->addTab(split, core::planWording(session.SectionCode(), QStringLiteral("طرح و پروژه")));
    form()->addRow(tabs);

    connect(code, &QLineEdit::editingFinished, this, [this] { checkCodeTaken(); });
    auto* insurance = qobject_cast<QComboBox*>(field(QStringLiteral("BIMKIND")));
    connect(insurance, &QComboBox::activated, this, [this](int index) { chooseInsurance(index); });
    connect(addButton(QStringLiteral("صدور سند حسابداري مبلغ اوليه قرارداد")), &QPushButton::clicked, this,
            [this] { issueVoucher(core::ContractAmount::Initial); });
    connect(addButton(QStringLiteral("صدور سند حسابداري مبلغ تغييرات 25 قرارداد")), &QPushButton::clicked, this,
            [this] { issueVoucher(core::ContractAmount::Change); });
}

void TORVAK_DE_payman::addField(QWidget* page, const core::ContractColumn& c)
{
    QWidget* w = nullptr;
    const QString& n = c.name;
    if (n == QLatin1String("TAFSIL"))
        w = partyCodeEdit(session_, page);
    else if (n == QLatin1String("PROJNO"))
        w = projectField(session_, page);
    else if (n == QLatin1String("PSPACE"))
        w = centreField(session_, page);
    else if (n == QLatin1String("MOJRI"))
        w = executorField(session_, page);
    else if (n == QLatin1String("NAZER"))
        w = supervisorField(session_, page);
    else if (const int kind = parameterKindOf(n); kind >= 0) {
        // The kind's list, and its screen as a picker with the kind preset.
        auto* combo = parameterCombo(session_, kind, page);
        auto* pick = new QToolButton(page);
        pick->setText(QStringLiteral("..."));
        pick->setObjectName(QStringLiteral("pick") + n);
        auto* row = new QWidget(page);
        auto* box = new QHBoxLayout(row);
        box->setContentsMargins(0, 0, 0, 0);
        box->addWidget(combo, 1);
        box->addWidget(pick);
        connect(pick, &QToolButton::clicked, this, [this, combo, kind] { pickParameterInto(combo, kind); });
        fields_.insert(n, combo);
        static_cast<QFormLayout*>(page->layout())->addRow(c.caption, row);
        return;
    }
    else if (n == QLatin1String("HAVKOSUR") || n == QLatin1String("HAVSAVABEG"))
        w = codeCombo(core::yesNo(), page);
    else if (n == QLatin1String("PMODATKIND"))
        w = codeCombo(core::durationUnits(), page);
    else if (n == QLatin1String("KINDEZAFKARI"))
        w = codeCombo(core::changeKinds(), page);
    else if (n == QLatin1String("TRANSFERUNIT"))
        w = codeCombo(core::transferUnits(), page, true);
    else if (n == QLatin1String("BIMKIND")) {
        auto* combo = codeCombo(core::insuranceKinds(), page, true);
        combo->addItem(core::insurancePickTexts().last(), core::InsuranceSevenKind);
        w = combo;
    } else if (c.kind == ContractColumnKind::Date)
        w = new framework::JalaliDateEdit(page);
    else if (c.kind == ContractColumnKind::Amount)
        w = new framework::AmountEdit(page);
    else if (isLongText(n)) {
        auto* text = new QPlainTextEdit(page);
        text->setMaximumHeight(60);
        w = text;
    } else {
        auto* line = new QLineEdit(page);
        if (c.length > 0)
            line->setMaxLength(c.length);
        w = line;
    }
    fields_.insert(n, w);
    static_cast<QFormLayout*>(page->layout())->addRow(c.caption, w);
}

int TORVAK_DE_payman::parameterKindOf(const QString& column)
{
    if (column == QLatin1String("PMOZOO"))
        return int(core::ParameterKind::Subject);
    if (column == QLatin1String("PTABAGHE"))
        return int(core::ParameterKind::Classification);
    if (column == QLatin1String("CHEGONEGY"))
        return int(core::ParameterKind::Conclusion);
    return -1;
}

void TORVAK_DE_payman::refillParameters()
{
    for (auto it = fields_.begin(); it != fields_.end(); ++it) {
        if (const int kind = parameterKindOf(it.key()); kind >= 0)
            fillParameterCombo(qobject_cast<QComboBox*>(it.value()), session_, kind);
    }
}

bool TORVAK_DE_payman::pickParameterInto(QComboBox* combo, int kind)
{
    const auto picked = pickParameter(this, session_, kind);
    fillParameterCombo(combo, session_, kind);
    if (!picked)
        return false;
    selectCode(combo, picked->first);
    return true;
}

void TORVAK_DE_payman::fillCreditSources()
{
    QList<int> ticked;
    for (int i = 0; i < creditSources->count(); ++i) {
        if (creditSources->item(i)->checkState() == Qt::Checked)
            ticked << creditSources->item(i)->data(Qt::UserRole).toInt();
    }
    creditSources->clear();
    const auto all = core::ContractCreditSources(session_).all();
    if (!all)
        return;
    for (const auto& [kind, name] : *all) {
        auto* item = new QListWidgetItem(name, creditSources);
        item->setData(Qt::UserRole, int(kind));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked.contains(int(kind)) ? Qt::Checked : Qt::Unchecked);
    }
}

void TORVAK_DE_payman::chooseInsurance(int index)
{
    auto* insurance = qobject_cast<QComboBox*>(field(QStringLiteral("BIMKIND")));
    const int kind = insurance->itemData(index).toInt();
    const std::optional<core::InsuranceRates> rates = core::insuranceRates(kind, session_.installationNumber());
    if (kind == core::InsuranceSevenKind) {
        insurance->setCurrentIndex(insuranceIndex_);
        return;
    }
    insuranceIndex_ = index;
    insurance->setCurrentIndex(index);
    if (!rates)
        return;
    qobject_cast<QLineEdit*>(field(QStringLiteral("DARSADBIMEHKARF")))->setText(QString::number(rates->employer, 'g', 10));
    qobject_cast<QLineEdit*>(field(QStringLiteral("DARSADBIMPEYMANKAR")))->setText(QString::number(rates->total, 'g', 10));
}

void TORVAK_DE_payman::clearRow()
{
    refillParameters();
    for (QWidget* w : std::as_const(fields_))
        showValue(w, QVariant());
    if (auto* line = qobject_cast<QLineEdit*>(field(QStringLiteral("PAYMENTYEAR"))))
        line->clear();
    insuranceIndex_ = 0;
    hasSupplement->setChecked(false);
    for (int i = 0; i < creditSources->count(); ++i)
        creditSources->item(i)->setCheckState(Qt::Unchecked);
    splits->setRowCount(0);
}

bool TORVAK_DE_payman::loadRecord(const QVariant& key)
{
    const db::Fetched<core::Contract> c = core::Contracts(session_).read(key.toLongLong());
    if (!c)
        return false;
    showCode(c->code);
    refillParameters();
    for (auto it = fields_.begin(); it != fields_.end(); ++it)
        showValue(it.value(), c->values.value(it.key()));
    if (c->number(QStringLiteral("PAYMENTYEAR")) == 0)
        qobject_cast<QLineEdit*>(field(QStringLiteral("PAYMENTYEAR")))->clear();
    insuranceIndex_ = qobject_cast<QComboBox*>(field(QStringLiteral("BIMKIND")))->currentIndex();
    hasSupplement->setChecked(c->hasSupplement);
    for (int i = 0; i < creditSources->count(); ++i) {
        QListWidgetItem* item = creditSources->item(i);
        item->setCheckState(c->creditSources.contains(item->data(Qt::UserRole).toInt()) ? Qt::Checked : Qt::Unchecked);
    }
    showSplits();
    return true;
}

void TORVAK_DE_payman::checkCodeTaken()
{
    if (mode() != Mode::Insert || code->isReadOnly())
        return;
    const std::optional<qint64> typed = codeToSave();
    if (!typed || *typed == 0)
        return;
    const db::Fetched<bool> used = core::Contracts(session_).codeUsed(*typed);
    if (used.failed() || (used && *used)) {
        framework::ShowError(used.failed() ? used.error() : core::Contracts::usedCodeText(), this);
        code->setFocus();
    }
}

bool TORVAK_DE_payman::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    for (const QString& column : {QStringLiteral("TAFSIL"), QStringLiteral("PROJNO"), QStringLiteral("PSPACE"), QStringLiteral("MOJRI"), QStringLiteral("NAZER")}) {
        auto* f = qobject_cast<framework::CodeEdit*>(field(column));
        if (!f->editor()->text().trimmed().isEmpty() && !f->code()) {
            *message = QStringLiteral("کد بايد عددي بزرگتر از صفر باشد");
            return false;
        }
    }
    return true;
}

std::optional<QVariant> TORVAK_DE_payman::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        core::Contract contract;
        contract.code = c;
        for (auto it = fields_.begin(); it != fields_.end(); ++it)
            contract.values.insert(it.key(), valueOf(it.value()));
        contract.hasSupplement = hasSupplement->isChecked();
        for (int i = 0; i < creditSources->count(); ++i) {
            if (creditSources->item(i)->checkState() == Qt::Checked)
                contract.creditSources << creditSources->item(i)->data(Qt::UserRole).toInt();
        }
        return core::Contracts(session_).save(contract, mode() == Mode::Insert, prompt);
    }, error);
}

void TORVAK_DE_payman::showSplits()
{
    splits->setRowCount(0);
    const auto rows = core::Contracts(session_).splits(key().toLongLong());
    if (!rows)
        return;
    for (const core::ContractSplit& s : *rows) {
        const int r = splits->rowCount();
        splits->insertRow(r);
        splits->setItem(r, 0, new QTableWidgetItem(QString::number(s.plan)));
        splits->setItem(r, 1, new QTableWidgetItem(QString::number(s.project)));
        splits->setItem(r, 2, new QTableWidgetItem(util::FormatAmount(qint64(s.amount))));
    }
}

bool TORVAK_DE_payman::addSplit(int plan, int project, const QString& amount)
{
    if (mode() != Mode::Edit) {
        framework::ShowInfo(QStringLiteral("ابتدا اطلاعات قرارداد را ذخيره کنيد"), this);
        return false;
    }
    framework::MessagePrompt prompt(this);
    const bool ok = core::Contracts(session_).addSplit(key().toLongLong(), plan, project, amount, prompt);
    showSplits();
    return ok;
}

bool TORVAK_DE_payman::removeCurrentSplit()
{
    const int r = splits->currentRow();
    if (mode() != Mode::Edit || r < 0)
        return false;
    framework::MessagePrompt prompt(this);
    const bool ok = core::Contracts(session_).removeSplit(key().toLongLong(), splits->item(r, 0)->text().toInt(), splits->item(r, 1)->text().toInt(), prompt);
    showSplits();
    return ok;
}

void TORVAK_DE_payman::issueVoucher(core::ContractAmount which)
{
    if (mode() != Mode::Edit) {
        framework::ShowInfo(QStringLiteral("ابتدا اطلاعات قرارداد را ذخيره کنيد"), this);
        return;
    }
    const qint64 contract = key().toLongLong();
    ui::accounting::VoucherIssueRequest request;
    request.title = which == core::ContractAmount::Initial ? QStringLiteral("صدور سند حسابداري مبلغ اوليه قرارداد")
                                                           : QStringLiteral("صدور سند حسابداري مبلغ تغييرات 25 قرارداد");
    const core::Contracts contracts(session_);
    if (const db::Fetched<core::Contract> c = contracts.read(contract))
        request.description = contracts.voucherDescription(*c, which);
    request.clearReferences = contracts.voucherReferences(contract, which);
    ui::accounting::issueVoucher(this, session_, request, [this, contract, which](const ui::accounting::VoucherIssue& settled) {
        QString why;
        core::Contracts(session_).postVoucher(contract, which, {settled.number, settled.date, settled.clearEarlier, settled.description}, &why);
        return why;
    });
}

} // namespace orvak::ui::basedata
