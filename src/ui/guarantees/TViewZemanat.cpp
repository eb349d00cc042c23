#include "ui/guarantees/TViewZemanat.h"

#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "ui/guarantees/TDE_ZEMANAT.h"
#include "ui/letters/TFZTOOLS2.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/Guarantees.h"
#include "core/startup/Rights.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::guarantees {

namespace {

using orvak::guarantees::GuaranteeFilter;
namespace g = orvak::guarantees;

framework::ListUi buttons()
{
    using framework::ListCommand;
    auto on = [](void (TViewZemanat::*f)()) { return [f](framework::ListScreen& l) { (static_cast<TViewZemanat&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {
        ListCommand{QStringLiteral("جديد (Ins)"), {}, on(&TViewZemanat::newGuarantee), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("ويرايش (Enter)"), {}, on(&TViewZemanat::editGuarantee), true, false, 0},
        ListCommand{QStringLiteral("حذف (Del)"), {}, on(&TViewZemanat::removeGuarantee), true, true, startup::AccessDelete},
        ListCommand{QStringLiteral("صدور سند حسابداري"), {}, on(&TViewZemanat::bookVoucher), true, true, startup::AccessEditOwn},
        ListCommand{QStringLiteral("صدور نامه"), {}, on(&TViewZemanat::issueLetter), true, false, 0},
        ListCommand{QStringLiteral("چاپ مشخصات تضمين"), {}, on(&TViewZemanat::printCards), true, false, 0},
        ListCommand{QStringLiteral("نمايش/چاپ"), {}, on(&TViewZemanat::printList), false, false, 0},
    };
    return ui;
}

QComboBox* codedCombo(const QStringList& texts, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->addItem(QStringLiteral("همه"), -1);
    for (int i = 0; i < texts.size(); ++i)
        c->addItem(texts[i].trimmed(), i);
    return c;
}

QString dateText(const framework::JalaliDateEdit* e) { return e->isEmptyDate() ? QString() : e->text(); }

} // namespace

TViewZemanat::TViewZemanat(Session& session, QWidget* parent)
    : framework::ListScreen(session, g::guaranteeList(), buttons(), parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("اطلاعات تضمينات"));
    buildFilters();
    connect(&model(), &QAbstractItemModel::modelReset, this, [this] { updateTotals(); });
    connect(grid(), &QTableView::doubleClicked, this, [this] { runCommand(EditCommand); });
    auto key = [this](QKeySequence k, std::function<void()> run) {
        auto* s = new QShortcut(k, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, std::move(run));
    };
    key(QKeySequence(Qt::Key_Insert), [this] { runCommand(NewCommand); });
    key(QKeySequence(Qt::Key_Delete), [this] { runCommand(DeleteCommand); });
    grid()->installEventFilter(this);
    key(QKeySequence(Qt::Key_F3), [this] { pickParty(); });
    // "جستجو (F8)": the free condition's value.
    key(QKeySequence(Qt::Key_F8), [this] { conditionValue->setFocus(); conditionValue->selectAll(); });
    key(QKeySequence(Qt::Key_F2), [this] { statusBox->setFocus(); statusBox->showPopup(); });
    resize(1200, 700);
}

bool TViewZemanat::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the grid edits the current guarantee; in a filter box it stays the box's.
    if (watched == grid() && event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            runCommand(EditCommand);
            return true;
        }
    }
    return framework::ListScreen::eventFilter(watched, event);
}

void TViewZemanat::buildFilters()
{
    auto* grid = new QGridLayout;
    auto* partyButton = new QPushButton(QStringLiteral("پيمانكار(F3)"), this);
    partyButton->setFocusPolicy(Qt::NoFocus);
    partyName_ = new QLabel(QStringLiteral("همه"), this);
    partyName_->setMinimumWidth(160);
    auto* contractButton = new QPushButton(QStringLiteral("قرارداد:"), this);
    contractButton->setFocusPolicy(Qt::NoFocus);
    contractName_ = new QLabel(QStringLiteral("همه"), this);
    contractName_->setMinimumWidth(120);
    connect(partyButton, &QPushButton::clicked, this, &TViewZemanat::pickParty);
    connect(contractButton, &QPushButton::clicked, this, &TViewZemanat::pickContract);
    statusBox = codedCombo(g::statusLabels(), this);
    kindBox = codedCombo([] {
        QStringList t;
        for (const auto& k : g::guaranteeKinds())
            t << k.label;
        return t;
    }(), this);
    typeBox = codedCombo([] {
        QStringList t;
        for (const auto& k : g::guaranteeTypes())
            t << k.label;
        return t;
    }(), this);
    typeBox->setToolTip(g::typeHint());
    grid->addWidget(partyButton, 0, 0);
    grid->addWidget(partyName_, 0, 1);
    grid->addWidget(contractButton, 0, 2);
    grid->addWidget(contractName_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("وضعيت(F2)"), this), 0, 4);
    grid->addWidget(statusBox, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("ماهيت"), this), 0, 6);
    grid->addWidget(kindBox, 0, 7);
    grid->addWidget(new QLabel(QStringLiteral("نوع"), this), 0, 8);
    grid->addWidget(typeBox, 0, 9);

    issuedFrom = new framework::JalaliDateEdit(this);
    issuedTo = new framework::JalaliDateEdit(this);
    dueFrom = new framework::JalaliDateEdit(this);
    dueTo = new framework::JalaliDateEdit(this);
    voucherFrom = new framework::JalaliDateEdit(this);
    voucherTo = new framework::JalaliDateEdit(this);
    windowBox = new QComboBox(this);
    windowBox->addItems(g::dueWindowTexts());
    auto* dates = new QHBoxLayout;
    auto range = [&](const QString& caption, framework::JalaliDateEdit* from, framework::JalaliDateEdit* to) {
        dates->addWidget(new QLabel(caption, this));
        dates->addWidget(from);
        dates->addWidget(new QLabel(QStringLiteral("تا"), this));
        dates->addWidget(to);
        dates->addSpacing(10);
    };
    range(QStringLiteral("تاريخ صدور از"), issuedFrom, issuedTo);
    range(QStringLiteral("سررسيد از"), dueFrom, dueTo);
    dates->addWidget(windowBox);
    dates->addSpacing(10);
    range(QStringLiteral("تاريخ سند از"), voucherFrom, voucherTo);
    dates->addStretch();
    grid->addLayout(dates, 1, 0, 1, 10);
    for (framework::JalaliDateEdit* e : {issuedFrom, issuedTo, dueFrom, dueTo, voucherFrom, voucherTo}) {
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            if (e->isEmptyDate() || e->date())
                applyFilter();
        });
    }
    // A window counts from the start typed, or from today.
    connect(windowBox, &QComboBox::activated, this, [this](int entry) {
        if (entry == 0)
            return;
        if (dueFrom->isEmptyDate())
            dueFrom->setDate(session_.clock().todayJalali());
        if (const auto end = g::addDueWindow(dueFrom->text(), entry))
            dueTo->setDate(*end);
        applyFilter();
    });

    auto* more = new QHBoxLayout;
    showCancelled = new QCheckBox(QStringLiteral("نمايش ابطالي ها"), this);
    showSeized = new QCheckBox(QStringLiteral("نمايش ضبط شده ها"), this);
    orderBox = new QComboBox(this);
    orderBox->addItems(g::orderTexts());
    conditionField = new QComboBox(this);
    for (const auto& [field, caption] : g::conditionFields())
        conditionField->addItem(caption, field);
    conditionOp = new QComboBox(this);
    conditionOp->addItems(g::conditionOperators());
    conditionValue = new QLineEdit(this);
    conditionValue->setMaximumWidth(140);
    auto* apply = new QPushButton(QStringLiteral("اعمال شرط"), this);
    apply->setFocusPolicy(Qt::NoFocus);
    auto* clear = new QPushButton(QStringLiteral("پاک کردن شرايط"), this);
    clear->setFocusPolicy(Qt::NoFocus);
    more->addWidget(showCancelled);
    more->addWidget(showSeized);
    more->addSpacing(10);
    more->addWidget(new QLabel(QStringLiteral("ترتيب:"), this));
    more->addWidget(orderBox);
    more->addSpacing(10);
    more->addWidget(new QLabel(QStringLiteral("شرط:"), this));
    more->addWidget(conditionField);
    more->addWidget(conditionOp);
    more->addWidget(conditionValue);
    more->addWidget(apply);
    more->addWidget(clear);
    more->addStretch();
    grid->addLayout(more, 2, 0, 1, 10);
    connect(apply, &QPushButton::clicked, this, [this] {
        conditionOn_ = !conditionValue->text().trimmed().isEmpty();
        applyFilter();
    });
    connect(clear, &QPushButton::clicked, this, [this] { setFilter(GuaranteeFilter{}); });
    for (QCheckBox* c : {showCancelled, showSeized})
        connect(c, &QCheckBox::toggled, this, [this] { applyFilter(); });
    for (QComboBox* c : {statusBox, kindBox, typeBox, orderBox})
        connect(c, &QComboBox::activated, this, [this] { applyFilter(); });

    totals_ = new QLabel(this);
    QFont bold = totals_->font();
    bold.setBold(true);
    totals_->setFont(bold);
    grid->addWidget(totals_, 3, 0, 1, 10);
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->insertLayout(1, grid);
}

GuaranteeFilter TViewZemanat::filter() const
{
    GuaranteeFilter f;
    f.party = party_;
    f.contract = contract_;
    f.status = statusBox->currentData().toInt();
    f.kind = kindBox->currentData().toInt();
    f.type = typeBox->currentData().toInt();
    f.showCancelled = showCancelled->isChecked();
    f.showSeized = showSeized->isChecked();
    f.issuedFrom = dateText(issuedFrom);
    f.issuedTo = dateText(issuedTo);
    f.dueFrom = dateText(dueFrom);
    f.dueTo = dateText(dueTo);
    f.voucherFrom = dateText(voucherFrom);
    f.voucherTo = dateText(voucherTo);
    f.order = g::GuaranteeOrder(std::max(0, orderBox->currentIndex()));
    if (conditionOn_)
        f.condition = g::FreeCondition{conditionField->currentData().toString(), conditionOp->currentText(), conditionValue->text()};
    return f;
}

void TViewZemanat::setFilter(const GuaranteeFilter& f)
{
    party_ = f.party;
    contract_ = f.contract;
    partyName_->setText(f.party == -1 ? QStringLiteral("همه") : QString::number(f.party));
    contractName_->setText(f.contract == -1 ? QStringLiteral("همه") : QString::number(f.contract));
    auto select = [](QComboBox* c, int v) { c->setCurrentIndex(std::max(0, c->findData(v))); };
    select(statusBox, f.status);
    select(kindBox, f.kind);
    select(typeBox, f.type);
    {
        const QSignalBlocker a(showCancelled), b(showSeized);
        showCancelled->setChecked(f.showCancelled);
        showSeized->setChecked(f.showSeized);
    }
    issuedFrom->setDate(f.issuedFrom);
    issuedTo->setDate(f.issuedTo);
    dueFrom->setDate(f.dueFrom);
    dueTo->setDate(f.dueTo);
    voucherFrom->setDate(f.voucherFrom);
    voucherTo->setDate(f.voucherTo);
    orderBox->setCurrentIndex(int(f.order));
    conditionOn_ = f.condition.has_value();
    if (f.condition) {
        conditionField->setCurrentIndex(std::max(0, conditionField->findData(f.condition->field)));
        conditionOp->setCurrentText(f.condition->op);
        conditionValue->setText(f.condition->value);
    } else {
        conditionValue->clear();
    }
    windowBox->setCurrentIndex(0);
    applyFilter();
}

bool TViewZemanat::applyFilter(const QVariant& key)
{
    QString why;
    const auto d = g::guaranteeList(filter(), &why);
    if (!d) {
        framework::ShowInfo(why, this);
        return false;
    }
    setQuery(d->sql);
    for (const io::ListParameter& p : d->parameters)
        setParameter(p.name, p.value);
    return reopen(key);
}

g::GuaranteeTotals TViewZemanat::shownTotals() { return g::guaranteeTotals(model().rows(), shownRows()); }

QString TViewZemanat::totalsLine() const { return totals_->text(); }

void TViewZemanat::updateTotals()
{
    // Exact over the query's conditions; the grid's own filter or sort narrows to what it shows.
    g::GuaranteeTotals t;
    if (rearranged()) {
        t = shownTotals();
    } else {
        const auto sum = g::guaranteeTotals(session_, filter());
        if (sum)
            t = *sum;
    }
    totals_->setText(QStringLiteral("%1 %2    %3 %4").arg(t.count).arg(g::countLabel(), g::amountLabel(),
                                                              t.amount == 0 ? QStringLiteral("0") : util::FormatAmount(t.amount)));
}

void TViewZemanat::pickParty()
{
    const auto p = basedata::pickParty(this, session_);
    if (!p)
        return;
    party_ = int(p->code);
    partyName_->setText(p->name);
    applyFilter();
}

void TViewZemanat::pickContract()
{
    const auto c = basedata::pickContract(this, session_, party_ > 0 ? party_ : 0);
    if (!c) {
        if (contract_ != -1 && framework::Ask(QStringLiteral("شرط قرارداد برداشته شود؟"), this) == framework::AskYes) {
            contract_ = -1;
            contractName_->setText(QStringLiteral("همه"));
            applyFilter();
        }
        return;
    }
    contract_ = c->current.value(QStringLiteral("CODE")).toInt();
    contractName_->setText(c->current.value(QStringLiteral("PAYMENTNO")).toString().trimmed());
    applyFilter();
}

void TViewZemanat::newGuarantee()
{
    TDE_ZEMANAT form(session_, this);
    runEntryForm(form, true);
}

void TViewZemanat::editGuarantee()
{
    TDE_ZEMANAT form(session_, this);
    form.setReadOnly(isReadOnly());
    runEntryForm(form, false);
}

void TViewZemanat::removeGuarantee()
{
    framework::MessagePrompt prompt(this);
    const int idx = currentIdx();
    if (g::Guarantees(session_).remove(idx, prompt))
        applyFilter();
}

void TViewZemanat::bookVoucher()
{
    bool ok = false;
    const QString date = QInputDialog::getText(this, QStringLiteral("صدور سند حسابداري"), QStringLiteral("تاريخ سند"), QLineEdit::Normal,
                                               session_.clock().todayJalali(), &ok);
    if (!ok)
        return;
    framework::MessagePrompt prompt(this);
    const int idx = currentIdx();
    const g::Outcome o = g::Guarantees(session_).book(idx, {0, date.trimmed()}, prompt);
    if (o) {
        framework::ShowInfo(QStringLiteral("سند شماره %1 صادر شد").arg(o.voucher), this);
        applyFilter(idx);
    }
}

void TViewZemanat::issueLetter()
{
    letters::TFZTOOLS2 dialog(session_, currentIdx(), -1, this);
    dialog.exec();
}

void TViewZemanat::printCards()
{
    const auto cards = g::guaranteeCards(session_, g::idxOf(model().rows(), shownRows()));
    if (!cards) {
        framework::ShowInfo(cards.error(), this);
        return;
    }
    framework::previewReport(*cards, QStringLiteral("مشخصات تضمين"), this);
}

void TViewZemanat::printList() { framework::previewReport(reportModel(), frame().title, this); }

} // namespace orvak::ui::guarantees
