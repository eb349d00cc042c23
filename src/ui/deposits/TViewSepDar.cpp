#include "ui/deposits/TViewSepDar.h"

#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/deposits/TDE_SEPDAR.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/DetailAccounts.h"
#include "core/deposits/CreditLetters.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositList.h"
#include "core/io/ListData.h"
#include "core/startup/Rights.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::DepositFilter;
using orvak::deposits::PeriodMode;

constexpr int FirstYear = 1384;
constexpr int LastYear = 1410;

// The mode combo's entries in the order of PeriodMode.
QStringList modeTexts()
{
    return {QStringLiteral("سپرده هاي ماه"), QStringLiteral("محدوده"), QStringLiteral("همه سپرده ها"), QStringLiteral("سپرده ها لغايت")};
}

// The status boxes in the order of StatusMarks.
QStringList markTexts()
{
    return {QStringLiteral("صورتحساب"),    QStringLiteral("ارسال به خزانه"), QStringLiteral("اعلام بستانکاري"), QStringLiteral("درخواست سپرده"),
            QStringLiteral("درخواست وجه"), QStringLiteral("تائيد واريزي"),   QStringLiteral("استرداد"),         QStringLiteral("از تنخواه")};
}

bool* markOf(orvak::deposits::StatusMarks& m, int i)
{
    bool* all[] = {&m.statement, &m.sent, &m.credit, &m.request, &m.fundRequest, &m.fundConfirmed, &m.refunded, &m.pettyCash};
    return all[i];
}

// The colouring combo: by mark, none, then fixed colours.
struct FixedColour {
    const char* name;
    QColor colour;
};
const QList<FixedColour>& fixedColours()
{
    static const QList<FixedColour> colours = {
        {"زرد", QColor(255, 250, 205)}, {"سبز", QColor(220, 245, 220)}, {"آبي", QColor(220, 235, 250)},
        {"صورتي", QColor(250, 225, 235)}, {"خاکستري", QColor(235, 235, 235)},
    };
    return colours;
}

QComboBox* yearCombo(QWidget* parent)
{
    auto* c = new QComboBox(parent);
    for (int y = FirstYear; y <= LastYear; ++y)
        c->addItem(QString::number(y), y);
    return c;
}

QComboBox* monthCombo(QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->addItems(orvak::deposits::monthTexts());
    return c;
}

void selectYear(QComboBox* c, int year)
{
    const int i = c->findData(year);
    c->setCurrentIndex(i >= 0 ? i : 0);
}

QString storedDate(const framework::JalaliDateEdit* e)
{
    const auto d = e->date();
    return d ? e->text() : QString();
}

// The buttons; the frame refuses a writing one on a read-only list and one whose
// access bit is missing.
framework::ListUi buttons()
{
    using framework::ListCommand;
    auto on = [](void (TViewSepDar::*f)()) { return [f](framework::ListScreen& l) { (static_cast<TViewSepDar&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {
        ListCommand{QStringLiteral("جديد (INS)"), {}, on(&TViewSepDar::newDeposit), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("ويرايش (ENTER)"), {}, on(&TViewSepDar::editDeposit), true, false, 0},
        ListCommand{QStringLiteral("حذف(DEL)"), {}, on(&TViewSepDar::removeDeposit), true, true, startup::AccessDelete},
        ListCommand{QStringLiteral("ويرايش سال و ماه"), {}, on(&TViewSepDar::moveYearMonth), true, true, 0},
        ListCommand{QStringLiteral("گزارش سپرده اشخاص"), {}, on(&TViewSepDar::personDeposits), true, false, 0},
        ListCommand{QStringLiteral("نمايش/چاپ"), {}, on(&TViewSepDar::printList), false, false, 0},
    };
    return ui;
}

} // namespace

TViewSepDar::TViewSepDar(Session& session, QWidget* parent)
    : framework::ListScreen(session, orvak::deposits::receivedDepositsList(DepositFilter{}), buttons(), parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("سپرده هاي دريافتي"));
    // Exports and the printed list name the period they hold.
    setTitleDetail([this] { return filter().periodText(); });
    buildPeriod();
    buildConditions();
    buildTotals();
    buildMenus();

    // The current year and month of the session's fiscal year.
    const util::JalaliDate today = util::toJalali(QDate::currentDate());
    const int year = session.CurrentYear() > 0 ? session.CurrentYear() : today.year;
    selectYear(year_, year);
    selectYear(toYear_, year);
    month_->setCurrentIndex(year == today.year ? today.month - 1 : 0);
    toMonth_->setCurrentIndex(month_->currentIndex());
    updateCaption();
    const orvak::deposits::DepositFilter f = filter();
    const io::ListDefinition d = orvak::deposits::receivedDepositsList(f);
    setQuery(d.sql);
    for (const io::ListParameter& p : d.parameters)
        setParameter(p.name, p.value);

    connect(this, &framework::ListScreen::opened, this, [this] {
        applyColouring();
        fillCreditNotices();
    });
    // The totals follow the rows the grid shows: a reopening, and the frame's filter and sorts.
    connect(&model(), &QAbstractItemModel::modelReset, this, [this] { updateTotals(); });
    grid()->installEventFilter(this);
    connect(grid(), &QTableView::doubleClicked, this, [this] { runCommand(EditCommand); });
    auto key = [this](int k, int command) {
        auto* s = new QShortcut(QKeySequence(k), this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, [this, command] { runCommand(command); });
    };
    key(Qt::Key_Insert, NewCommand);
    key(Qt::Key_Delete, DeleteCommand);
    setReadOnly(false);
    resize(1200, 720);
}

void TViewSepDar::buildPeriod()
{
    auto* row = new QHBoxLayout;
    year_ = yearCombo(this);
    year_->setObjectName(QStringLiteral("ED_Y"));
    month_ = monthCombo(this);
    month_->setObjectName(QStringLiteral("ED_M"));
    mode_ = new QComboBox(this);
    mode_->addItems(modeTexts());
    toYear_ = yearCombo(this);
    toMonth_ = monthCombo(this);
    upTo_ = new framework::JalaliDateEdit(this);
    caption_ = new QLabel(this);
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    row->addWidget(new QLabel(QStringLiteral("سال مالي"), this));
    row->addWidget(year_);
    row->addWidget(new QLabel(QStringLiteral("ماه"), this));
    row->addWidget(month_);
    row->addWidget(mode_);
    row->addWidget(new QLabel(QStringLiteral("تا"), this));
    row->addWidget(toYear_);
    row->addWidget(toMonth_);
    row->addWidget(upTo_);
    row->addSpacing(20);
    row->addWidget(caption_);
    row->addStretch();
    auto updateMode = [this] {
        const auto mode = PeriodMode(mode_->currentIndex());
        toYear_->setEnabled(mode == PeriodMode::Range);
        toMonth_->setEnabled(mode == PeriodMode::Range);
        upTo_->setEnabled(mode == PeriodMode::UpToDate);
    };
    updateMode();
    for (QComboBox* c : {year_, month_, mode_, toYear_, toMonth_}) {
        connect(c, &QComboBox::activated, this, [this, updateMode] {
            updateMode();
            applyFilter();
        });
    }
    connect(upTo_, &QLineEdit::editingFinished, this, [this] {
        if (PeriodMode(mode_->currentIndex()) == PeriodMode::UpToDate && upTo_->date())
            applyFilter();
    });
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->insertLayout(1, row);
}

void TViewSepDar::buildConditions()
{
    auto* grid = new QGridLayout;
    confirmation_ = new QComboBox(this);
    confirmation_->addItems(orvak::deposits::confirmationTexts());
    grid->addWidget(new QLabel(QStringLiteral("نوع تائيد"), this), 0, 0);
    grid->addWidget(confirmation_, 0, 1, 1, 2);
    connect(confirmation_, &QComboBox::activated, this, [this] { applyFilter(); });

    auto* marks = new QHBoxLayout;
    for (const QString& text : markTexts()) {
        auto* box = new QCheckBox(text, this);
        connect(box, &QCheckBox::toggled, this, [this] { applyFilter(); });
        marks_ << box;
        marks->addWidget(box);
    }
    marks->addStretch();
    grid->addLayout(marks, 0, 3, 1, 8);

    auto* ownerButton = new QPushButton(QStringLiteral("پيمانكار(F3)"), this);
    ownerButton->setFocusPolicy(Qt::NoFocus);
    ownerName_ = new QLabel(this);
    ownerName_->setMinimumWidth(160);
    auto* contractButton = new QPushButton(QStringLiteral("قرارداد:"), this);
    contractButton->setFocusPolicy(Qt::NoFocus);
    contractName_ = new QLabel(this);
    contractName_->setMinimumWidth(120);
    connect(ownerButton, &QPushButton::clicked, this, &TViewSepDar::pickOwner);
    connect(contractButton, &QPushButton::clicked, this, &TViewSepDar::pickContract);
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    f3->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f3, &QShortcut::activated, this, &TViewSepDar::pickOwner);
    grid->addWidget(ownerButton, 1, 0);
    grid->addWidget(ownerName_, 1, 1, 1, 2);
    grid->addWidget(contractButton, 1, 3);
    grid->addWidget(contractName_, 1, 4);

    creditMode_ = new QComboBox(this);
    creditMode_->addItems(orvak::deposits::creditModeTexts());
    creditNotice_ = new QComboBox(this);
    creditNotice_->setMinimumWidth(120);
    fillCreditNotices();
    grid->addWidget(creditMode_, 1, 5);
    grid->addWidget(creditNotice_, 1, 6);
    connect(creditMode_, &QComboBox::activated, this, [this] { applyFilter(); });
    connect(creditNotice_, &QComboBox::activated, this, [this] {
        if (creditMode_->currentIndex() != 0)
            applyFilter();
    });

    receiptFrom_ = new framework::JalaliDateEdit(this);
    receiptTo_ = new framework::JalaliDateEdit(this);
    chequeFrom_ = new framework::JalaliDateEdit(this);
    chequeTo_ = new framework::JalaliDateEdit(this);
    auto* dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("تاريخ قبض از"), this));
    dates->addWidget(receiptFrom_);
    dates->addWidget(new QLabel(QStringLiteral("تا"), this));
    dates->addWidget(receiptTo_);
    dates->addSpacing(12);
    dates->addWidget(new QLabel(QStringLiteral("تاريخ چک از"), this));
    dates->addWidget(chequeFrom_);
    dates->addWidget(new QLabel(QStringLiteral("تا"), this));
    dates->addWidget(chequeTo_);
    for (framework::JalaliDateEdit* e : {receiptFrom_, receiptTo_, chequeFrom_, chequeTo_}) {
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            if (e->isEmptyDate() || e->date())
                applyFilter();
        });
    }
    hideZero_ = new QCheckBox(QStringLiteral("نمايش/عدم نمايش بدون مانده ها"), this);
    connect(hideZero_, &QCheckBox::toggled, this, [this] { applyFilter(); });
    dates->addSpacing(12);
    dates->addWidget(hideZero_);
    auto* clear = new QPushButton(QStringLiteral("پاک کردن شرايط"), this);
    clear->setFocusPolicy(Qt::NoFocus);
    connect(clear, &QPushButton::clicked, this, [this] {
        DepositFilter f = filter();
        f.clearConditions();
        setFilter(f);
    });
    dates->addWidget(clear);
    dates->addStretch();
    grid->addLayout(dates, 2, 0, 1, 11);

    auto* orderRow = new QHBoxLayout;
    order_ = new QComboBox(this);
    order_->addItems(orvak::deposits::orderTexts());
    order_->setCurrentIndex(int(orvak::deposits::DepositOrder::ChequeDate));
    direction_ = new QComboBox(this);
    direction_->addItems({QStringLiteral("صعودي"), QStringLiteral("نزولي")});
    colouring = new QComboBox(this);
    colouring->addItems({QStringLiteral("بدون رنگ"), QStringLiteral("رنگ بندي")});
    for (const FixedColour& c : fixedColours())
        colouring->addItem(QString::fromUtf8(c.name));
    colouring->setCurrentIndex(1);
    connect(order_, &QComboBox::activated, this, [this] { applyFilter(); });
    connect(direction_, &QComboBox::activated, this, [this] { applyFilter(); });
    connect(colouring, &QComboBox::currentIndexChanged, this, [this] { applyColouring(); });
    orderRow->addWidget(new QLabel(QStringLiteral("ترتيب:"), this));
    orderRow->addWidget(order_);
    orderRow->addWidget(direction_);
    orderRow->addSpacing(20);
    orderRow->addWidget(colouring);
    orderRow->addStretch();
    grid->addLayout(orderRow, 3, 0, 1, 11);

    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->insertLayout(2, grid);
}

void TViewSepDar::fillCreditNotices()
{
    const int chosen = creditNotice_->currentData().toInt();
    const auto letters = orvak::deposits::creditLetterChoices(session_);
    if (letters.failed()) {
        framework::ShowError(letters.error(), this);
        return;
    }
    const QSignalBlocker quiet(creditNotice_);
    creditNotice_->clear();
    creditNotice_->addItem(QString(), 0);
    for (const auto& [idx, text] : letters.value_or({}))
        creditNotice_->addItem(text, idx);
    creditNotice_->setCurrentIndex(qMax(0, creditNotice_->findData(chosen)));
}

void TViewSepDar::buildTotals()
{
    auto* row = new QGridLayout;
    const QStringList labels = orvak::deposits::totalLabels();
    for (int i = 0; i < labels.size(); ++i) {
        auto* l = new QLabel(this);
        l->setTextFormat(Qt::PlainText);
        totalLabels_ << l;
        row->addWidget(l, i / 3, i % 3);
    }
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->addLayout(row);
}

DepositFilter TViewSepDar::filter() const
{
    DepositFilter f;
    f.mode = PeriodMode(mode_->currentIndex());
    f.year = year_->currentData().toInt();
    f.month = month_->currentIndex() + 1;
    f.toYear = toYear_->currentData().toInt();
    f.toMonth = toMonth_->currentIndex() + 1;
    f.upToDate = storedDate(upTo_);
    f.confirmation = orvak::deposits::Confirmation(confirmation_->currentIndex());
    for (int i = 0; i < marks_.size(); ++i)
        *markOf(f.marks, i) = marks_[i]->isChecked();
    f.owner = owner_;
    f.contract = contract_;
    f.creditMode = orvak::deposits::CreditMode(creditMode_->currentIndex());
    f.creditNotice = creditNotice_->currentData().toInt();
    f.receiptFrom = storedDate(receiptFrom_);
    f.receiptTo = storedDate(receiptTo_);
    f.chequeFrom = storedDate(chequeFrom_);
    f.chequeTo = storedDate(chequeTo_);
    f.hideZeroBalance = hideZero_->isChecked();
    f.descriptionWord = descriptionWord_;
    f.order = orvak::deposits::DepositOrder(order_->currentIndex());
    f.descending = direction_->currentIndex() == 1;
    return f;
}

DepositFilter TViewSepDar::shownFilter()
{
    DepositFilter f = filter();
    if (rearranged()) {
        const int field = model().rows().fieldIndex(QStringLiteral("IDX"));
        QList<int> idx;
        for (int row : shownRows())
            idx << model().rows().value(row, field).toInt();
        f.shown = idx;
    }
    return f;
}

void TViewSepDar::setFilter(const DepositFilter& f)
{
    // The boxes are set without each reopening the list.
    const QList<QWidget*> boxes = findChildren<QWidget*>();
    for (QWidget* w : boxes)
        w->blockSignals(true);
    mode_->setCurrentIndex(int(f.mode));
    selectYear(year_, f.year);
    month_->setCurrentIndex(qBound(0, f.month - 1, month_->count() - 1));
    selectYear(toYear_, f.toYear > 0 ? f.toYear : f.year);
    toMonth_->setCurrentIndex(qBound(0, f.toMonth - 1, toMonth_->count() - 1));
    upTo_->setDate(f.upToDate);
    confirmation_->setCurrentIndex(int(f.confirmation));
    orvak::deposits::StatusMarks m = f.marks;
    for (int i = 0; i < marks_.size(); ++i)
        marks_[i]->setChecked(*markOf(m, i));
    owner_ = f.owner;
    contract_ = f.contract;
    ownerName_->setText(owner_ == -1 ? QString() : QString::number(owner_) + QLatin1Char(' ')
                                                       + orvak::basedata::DetailAccounts(session_).nameOf(owner_).value_or(QString()));
    contractName_->setText(contract_ == -1 ? QString() : QString::number(contract_));
    creditMode_->setCurrentIndex(int(f.creditMode));
    creditNotice_->setCurrentIndex(qMax(0, creditNotice_->findData(f.creditNotice)));
    receiptFrom_->setDate(f.receiptFrom);
    receiptTo_->setDate(f.receiptTo);
    chequeFrom_->setDate(f.chequeFrom);
    chequeTo_->setDate(f.chequeTo);
    hideZero_->setChecked(f.hideZeroBalance);
    descriptionWord_ = f.descriptionWord;
    order_->setCurrentIndex(int(f.order));
    direction_->setCurrentIndex(f.descending ? 1 : 0);
    for (QWidget* w : boxes)
        w->blockSignals(false);
    toYear_->setEnabled(f.mode == PeriodMode::Range);
    toMonth_->setEnabled(f.mode == PeriodMode::Range);
    upTo_->setEnabled(f.mode == PeriodMode::UpToDate);
    applyFilter();
}

bool TViewSepDar::applyFilter(const QVariant& key)
{
    const DepositFilter f = filter();
    const io::ListDefinition d = orvak::deposits::receivedDepositsList(f);
    setQuery(d.sql);
    for (const io::ListParameter& p : d.parameters)
        setParameter(p.name, p.value);
    updateCaption();
    return reopen(key);
}

void TViewSepDar::updateCaption() { caption_->setText(QStringLiteral("سپرده هاي ماه:") + QLatin1Char(' ') + io::isolateLtr(filter().periodText())); }

QString TViewSepDar::totalText(int line) const { return totalLabels_.value(line) ? totalLabels_[line]->text() : QString(); }

void TViewSepDar::updateTotals()
{
    if (totalLabels_.isEmpty())
        return;
    // A sort leaves the rows as they are; only the frame's filter changes what is summed.
    const auto t = model().filter() ? orvak::deposits::depositTotals(model().rows(), shownRows()) : orvak::deposits::depositTotals(session_, filter());
    totals_ = t ? *t : orvak::deposits::DepositTotals{};
    const QList<orvak::deposits::TotalLine> lines = totals_.lines();
    const QStringList labels = orvak::deposits::totalLabels();
    for (int i = 0; i < totalLabels_.size(); ++i) {
        const QString sum = lines[i].sum == 0 ? QStringLiteral("0") : util::FormatAmount(lines[i].sum);
        // A damaged row is named rather than summed into a wrong total.
        if (t.failed())
            totalLabels_[i]->setText(labels[i] + QStringLiteral(" ؟") + (i == 0 ? QStringLiteral("  ") + t.error() : QString()));
        else
            totalLabels_[i]->setText(labels[i] + QLatin1Char(' ') + io::isolateLtr(sum) + QStringLiteral("   تعداد: ")
                                     + io::isolateLtr(QString::number(lines[i].count)));
    }
}

void TViewSepDar::applyColouring()
{
    const int choice = colouring->currentIndex();
    if (choice == 0) {
        model().setRowColour({});
    } else if (choice == 1) {
        model().setRowColour([](const io::RowSet& rows, int row) -> QColor {
            if (io::fieldValue(rows, row, QStringLiteral("ALTP")).toInt() == 1)
                return QColor(225, 225, 240);
            const QString mark = io::fieldValue(rows, row, QStringLiteral("TIKSUDMO")).toString().trimmed();
            if (mark == orvak::deposits::Confirmed)
                return QColor(215, 240, 215);
            if (mark == orvak::deposits::HalfConfirmed)
                return QColor(255, 245, 200);
            return {};
        });
    } else {
        const QColor c = fixedColours().value(choice - 2).colour;
        model().setRowColour([c](const io::RowSet&, int) { return c; });
    }
    grid()->viewport()->update();
}

void TViewSepDar::pickOwner()
{
    // Leaving the picker keeps the condition; "پاک کردن شرايط" clears it.
    const auto picked = basedata::pickParty(this, session_);
    if (!picked)
        return;
    owner_ = int(picked->code);
    ownerName_->setText(QString::number(picked->code) + QLatin1Char(' ') + picked->name);
    applyFilter();
}

void TViewSepDar::pickContract()
{
    const auto picked = basedata::pickContract(this, session_, owner_ > 0 ? owner_ : 0);
    if (!picked)
        return;
    contract_ = picked->current.value(QStringLiteral("CODE")).toInt();
    contractName_->setText(picked->current.value(QStringLiteral("PAYMENTNO")).toString() + QLatin1Char(' ')
                           + picked->current.value(QStringLiteral("DESCR")).toString());
    applyFilter();
}

bool TViewSepDar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            stepMark();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            runCommand(EditCommand);
            return true;
        }
    }
    return framework::ListScreen::eventFilter(watched, event);
}

void TViewSepDar::setReadOnly(bool readOnly)
{
    // The level as it stands now, read again: a level that cannot be read writes nothing.
    readOnly_ = readOnly || !orvak::deposits::ReceivedDeposits(session_).mayWrite();
    readOnly = readOnly_;
    framework::ListScreen::setReadOnly(readOnly);
    for (QAction* a : writing_)
        a->setEnabled(!readOnly);
}

QAction* TViewSepDar::action(const QString& caption) const { return actions_.value(caption); }

QAction* TViewSepDar::addEntry(QMenu* menu, const QString& caption, std::function<void()> run, bool writes)
{
    QAction* a = menu->addAction(caption);
    connect(a, &QAction::triggered, this, [this, run = std::move(run), writes] {
        // Fail closed: a writing entry reached while read-only (a key, say) is refused.
        if (writes && readOnly_) {
            framework::ShowInfo(orvak::deposits::writeRefusalText(), this);
            return;
        }
        run();
    });
    if (writes)
        writing_ << a;
    actions_.insert(caption, a);
    return a;
}

void TViewSepDar::finish(const orvak::deposits::Outcome& outcome, bool tellCount)
{
    if (outcome.done && tellCount)
        framework::ShowInfo(QStringLiteral("تعداد سپرده هاي تغيير يافته : ") + io::isolateLtr(QString::number(outcome.changed)), this);
    const int at = grid()->currentIndex().row();
    applyFilter(currentKey());
    // A row the change took out of the list leaves its place to the next one.
    if (currentSourceRow() < 0 && at >= 0 && model().rowCount() > 0) {
        const QModelIndex next = model().index(std::min(at, model().rowCount() - 1), 0);
        grid()->selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        grid()->scrollTo(next);
    }
}

void TViewSepDar::runGroup(const std::function<orvak::deposits::Outcome(orvak::deposits::ReceivedDeposits&, const DepositFilter&, startup::Prompt&)>& op)
{
    framework::MessagePrompt prompt(this);
    orvak::deposits::ReceivedDeposits register_(session_);
    finish(op(register_, shownFilter(), prompt), true);
}

void TViewSepDar::runOnRow(const std::function<orvak::deposits::Outcome(orvak::deposits::ReceivedDeposits&, int, startup::Prompt&)>& op)
{
    if (currentSourceRow() < 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return;
    }
    framework::MessagePrompt prompt(this);
    orvak::deposits::ReceivedDeposits register_(session_);
    finish(op(register_, currentIdx(), prompt), false);
}

void TViewSepDar::stepMark()
{
    if (readOnly_) {
        framework::ShowInfo(orvak::deposits::writeRefusalText(), this);
        return;
    }
    runOnRow([](auto& r, int idx, startup::Prompt& p) { return r.stepStatement(idx, p); });
}

void TViewSepDar::newDeposit()
{
    if (readOnly_) {
        framework::ShowInfo(orvak::deposits::writeRefusalText(), this);
        return;
    }
    TDE_SEPDAR form(session_, this);
    runEntryForm(form, true);
}

void TViewSepDar::editDeposit()
{
    if (currentSourceRow() < 0)
        return;
    TDE_SEPDAR form(session_, this);
    runEntryForm(form, false);
}

void TViewSepDar::removeDeposit()
{
    if (readOnly_) {
        framework::ShowInfo(orvak::deposits::writeRefusalText(), this);
        return;
    }
    if (currentSourceRow() < 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return;
    }
    framework::MessagePrompt prompt(this);
    const orvak::deposits::Outcome out = orvak::deposits::ReceivedDeposits(session_).remove(currentIdx(), prompt);
    if (out.done)
        applyFilter();
}

void TViewSepDar::notBuiltYet() { framework::ShowInfo(QStringLiteral("اين بخش هنوز ساخته نشده است"), this); }

} // namespace orvak::ui::deposits
