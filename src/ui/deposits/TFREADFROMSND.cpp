#include "ui/deposits/TFREADFROMSND.h"

#include "core/deposits/VoucherReadingCriteria.h"
#include "core/util/Numbers.h"
#include "ui/accounting/AccountingScreens.h"
#include "ui/deposits/TFREADFROMSNDList.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"

#include <QColor>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace orvak::ui::deposits {

namespace {

using namespace orvak::deposits;

// The masks of the range fields: voucher numbers, or dates.
const QString NumberMask = QStringLiteral("00000;_");
const QString DateMask = QStringLiteral("0000/00/00;_");

QPushButton* button(const QString& text, QWidget* parent, const std::function<void()>& run)
{
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, parent, run);
    return b;
}

void shortcut(QWidget* owner, int key, const std::function<void()>& run)
{
    auto* s = new QShortcut(QKeySequence(key), owner);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(s, &QShortcut::activated, owner, run);
}

// A masked field's text without its blanks; empty when nothing was typed.
QString typed(const QLineEdit* e)
{
    const QString t = util::normalizeDigits(e->text()).remove(QLatin1Char('_')).trimmed();
    return QString(t).remove(QLatin1Char('/')).trimmed().isEmpty() ? QString() : t;
}

int numberIn(const QLineEdit* e, int empty)
{
    const std::optional<int> n = util::parseTolerantInt(util::normalizeDigits(e->text()).trimmed());
    return e->text().trimmed().isEmpty() || !n ? empty : *n;
}

// "اطلاعات سپرده ها از سند حسابداري": a voucher number and its year.
class OneVoucherDialog : public QDialog {
public:
    OneVoucherDialog(startup::Session& session, int year, QWidget* parent)
        : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("اطلاعات سپرده ها از سند حسابداري"));
        setLayoutDirection(Qt::RightToLeft);
        auto* form = new QFormLayout(this);
        number = new QSpinBox(this);
        number->setRange(0, 99999);
        years = new QSpinBox(this);
        years->setRange(1300, 1600);
        years->setValue(year);
        form->addRow(QStringLiteral("شماره سند"), number);
        form->addRow(QStringLiteral("سال مالي"), years);
        auto* buttons = new QHBoxLayout;
        auto show = [this, &session] {
            startup::CollectingPrompt quiet;
            session.OpenAccountingYear(years->value(), QStringLiteral("0"), quiet);
            ui::accounting::showVoucher(this, session, number->value());
        };
        buttons->addWidget(button(QStringLiteral(" نمايش (F9)"), this, show));
        buttons->addWidget(button(QStringLiteral("ادامه (F10)"), this, [this] { accept(); }));
        form->addRow(buttons);
        shortcut(this, Qt::Key_F9, show);
        shortcut(this, Qt::Key_F10, [this] { accept(); });
    }
    QSpinBox* number = nullptr;
    QSpinBox* years = nullptr;
};

enum Column { Tick, Row, Voucher, VoucherRow, Party, PartyName, Cheque, ChequeDate, Description, Debit, Credit, Columns };

} // namespace

TFREADFROMSND::TFREADFROMSND(startup::Session& session, int listYear, int listMonth, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , reading_(session)
    , listYear_(listYear)
    , listMonth_(listMonth)
{
    setWindowTitle(QStringLiteral("فراخواني پيمانکا از اسناد حسابداري"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QFormLayout;
    auto* first = new QHBoxLayout;
    year = new QComboBox(this);
    QList<int> years = session.ListAccountingYears();
    if (!years.contains(listYear))
        years << listYear;
    std::sort(years.begin(), years.end());
    for (int y : years)
        year->addItem(QString::number(y), y);
    year->setCurrentIndex(year->findData(listYear));
    month = new QComboBox(this);
    month->addItems(readingMonthTexts());
    month->setCurrentIndex(std::clamp(listMonth - 1, 0, ReadingMonths - 1));
    section = new QComboBox(this);
    section->addItem(QStringLiteral("حسابداري تعهدي"), QStringLiteral("0"));
    first->addWidget(new QLabel(QStringLiteral("سال مالي"), this));
    first->addWidget(year);
    first->addWidget(new QLabel(QStringLiteral("ماه"), this));
    first->addWidget(month);
    first->addWidget(section);
    top->addRow(first);

    auto* ledgers = new QHBoxLayout;
    kol = new QLineEdit(this);
    moin = new QLineEdit(this);
    moin->setPlaceholderText(QStringLiteral("همه معين ها"));
    ledgers->addWidget(new QLabel(QStringLiteral("حساب كل"), this));
    ledgers->addWidget(kol);
    ledgers->addWidget(button(QStringLiteral("..."), this, [this] { pickKol(); }));
    ledgers->addWidget(new QLabel(QStringLiteral("حساب معين"), this));
    ledgers->addWidget(moin);
    ledgers->addWidget(button(QStringLiteral("..."), this, [this] { pickMoin(); }));
    top->addRow(ledgers);

    auto* condition = new QHBoxLayout;
    const char16_t* const between[] = {u"شامل كلمه( ", u"يا", u")  و (", u"يا"};
    for (int i = 0; i < 4; ++i) {
        words[i] = new QLineEdit(this);
        condition->addWidget(new QLabel(QString::fromUtf16(between[i]), this));
        condition->addWidget(words[i]);
    }
    condition->addWidget(new QLabel(QStringLiteral(")"), this));
    top->addRow(condition);

    auto* range = new QHBoxLayout;
    cheque = new QLineEdit(this);
    rangeKind = new QComboBox(this);
    rangeKind->addItems(rangeKindTexts());
    rangeKind->setCurrentIndex(int(RangeKind::MonthRange));
    from = new QLineEdit(this);
    to = new QLineEdit(this);
    side = new QComboBox(this);
    side->addItems(readSideTexts());
    side->setCurrentIndex(int(ReadSide::Credit));
    range->addWidget(new QLabel(QStringLiteral("شماره چک"), this));
    range->addWidget(cheque);
    range->addWidget(rangeKind);
    range->addWidget(new QLabel(QStringLiteral("از"), this));
    range->addWidget(from);
    range->addWidget(new QLabel(QStringLiteral("تا"), this));
    range->addWidget(to);
    range->addWidget(button(QStringLiteral("..."), this, [this] { openOneVoucher(); }));
    range->addWidget(side);
    top->addRow(range);
    layout->addLayout(top);

    grid = new QTableWidget(0, Columns, this);
    grid->setHorizontalHeaderLabels({QStringLiteral("انتخاب"), QStringLiteral("رديف"), QStringLiteral("شماره سند"), QStringLiteral("رديف سند"),
                                     QStringLiteral("تفصيلي"), QStringLiteral("نام"), QStringLiteral("شماره چک"), QStringLiteral("تاريخ چک"),
                                     QStringLiteral("شرح"), QStringLiteral("بدهکار"), QStringLiteral("بستانکار")});
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->installEventFilter(this);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("تغيير انتخاب(SPACE)"), this, [this] { toggleCurrent(); });
        menu.addAction(QStringLiteral("انتخاب همه"), this, [this] { clearAllTicks(); });
        menu.addAction(QStringLiteral("انتقال - فقط همين"), this, [this] { transferOnlyThis(); });
        menu.exec(grid->viewport()->mapToGlobal(at));
    });
    layout->addWidget(grid, 1);

    auto* sums = new QHBoxLayout;
    debitSum = new QLabel(this);
    creditSum = new QLabel(this);
    notice = new QLabel(this);
    progress = new QProgressBar(this);
    progress->setRange(0, 1);
    progress->setValue(0);
    sums->addWidget(new QLabel(QStringLiteral("جمع بدهکار"), this));
    sums->addWidget(debitSum);
    sums->addWidget(new QLabel(QStringLiteral("جمع بستانکار"), this));
    sums->addWidget(creditSum);
    sums->addWidget(notice, 1);
    sums->addWidget(progress);
    layout->addLayout(sums);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("خواندن اطلاعات سپرده ها از اسناد(F4)"), this, [this] { readRows(); }));
    buttons->addWidget(button(QStringLiteral("تغيير انتخاب(SPACE)"), this, [this] { toggleCurrent(); }));
    buttons->addWidget(button(QStringLiteral("انتقال و خروج(F10)"), this, [this] { transferAndClose(false); }));
    buttons->addWidget(button(QStringLiteral("انتقال و جديد (F9)"), this, [this] { transferAndClose(true); }));
    buttons->addWidget(button(QStringLiteral("فهرست"), this, [this] { openSavedCriteria(); }));
    buttons->addWidget(button(QStringLiteral("خروج"), this, [this] { reject(); }));
    layout->addLayout(buttons);

    shortcut(this, Qt::Key_F4, [this] { readRows(); });
    shortcut(this, Qt::Key_F10, [this] { transferAndClose(false); });
    shortcut(this, Qt::Key_F9, [this] { transferAndClose(true); });
    connect(rangeKind, &QComboBox::currentIndexChanged, this, [this] { applyRangeMask(); });
    // The ledger pickers show the ledgers of the chosen year.
    connect(year, &QComboBox::currentIndexChanged, this, [this] {
        startup::CollectingPrompt quiet;
        reading_.selectYear(criteria(), quiet);
    });
    applyRangeMask();
    restoreLastReading();
    showRows();
    resize(1000, 600);
}

ReadingCriteria TFREADFROMSND::criteria() const
{
    ReadingCriteria c;
    c.year = year->currentData().toInt();
    c.monthIndex = month->currentIndex();
    c.section = section->currentData().toString();
    c.kol = numberIn(kol, 0);
    c.moin = numberIn(moin, -1);
    for (int i = 0; i < 4; ++i)
        c.words[size_t(i)] = words[i]->text().trimmed();
    const std::optional<qint64> chk = util::parseWholeNumber(util::normalizeDigits(cheque->text()).trimmed());
    c.chequeNo = chk && *chk > 0 ? *chk : -1;
    c.rangeKind = RangeKind(rangeKind->currentIndex());
    c.from = typed(from);
    c.to = typed(to);
    c.side = ReadSide(side->currentIndex());
    return c;
}

void TFREADFROMSND::setCriteria(const ReadingCriteria& c)
{
    if (const int y = year->findData(c.year); y >= 0)
        year->setCurrentIndex(y);
    month->setCurrentIndex(c.monthIndex);
    kol->setText(c.kol > 0 ? QString::number(c.kol) : QString());
    moin->setText(c.moin >= 0 ? QString::number(c.moin) : QString());
    for (int i = 0; i < 4; ++i)
        words[i]->setText(c.words[size_t(i)]);
    cheque->setText(c.chequeNo > 0 ? QString::number(c.chequeNo) : QString());
    rangeKind->setCurrentIndex(int(c.rangeKind));
    from->setText(c.from);
    to->setText(c.to);
    side->setCurrentIndex(int(c.side));
}

void TFREADFROMSND::restoreLastReading()
{
    const std::optional<LastReading> last = readLastReading(session_.startDir());
    if (!last)
        return;
    kol->setText(QString::number(last->kol));
    moin->setText(last->moin >= 0 ? QString::number(last->moin) : QString());
    for (int i = 0; i < 4; ++i)
        words[i]->setText(last->words[size_t(i)]);
    if (!last->from.isEmpty() || !last->to.isEmpty()) {
        rangeKind->setCurrentIndex(int(last->from.contains(QLatin1Char('/')) ? RangeKind::DateRange : RangeKind::NumberRange));
        from->setText(last->from);
        to->setText(last->to);
    }
}

void TFREADFROMSND::applyRangeMask()
{
    const RangeKind kind = RangeKind(rangeKind->currentIndex());
    const bool dates = kind == RangeKind::DateRange;
    const bool typedRange = dates || kind == RangeKind::NumberRange;
    for (QLineEdit* e : {from, to}) {
        e->setInputMask(dates ? DateMask : NumberMask);
        e->clear();
        e->setEnabled(typedRange);
    }
}

bool TFREADFROMSND::readRows()
{
    const ReadingCriteria c = criteria();
    if (const QString why = VoucherReading::check(c); !why.isEmpty()) {
        framework::ShowError(why, this);
        return false;
    }
    framework::MessagePrompt prompt(this);
    progress->setRange(0, 0);
    QString why;
    const auto summary = reading_.read(c, prompt, &why);
    progress->setRange(0, 1);
    progress->setValue(1);
    if (!summary) {
        framework::ShowError(why, this);
        return false;
    }
    showRows();
    notice->setText(summary->alreadyTransferred > 0
                        ? QStringLiteral("%1 رديف از اين رديف ها قبلا به دفتر سپرده منتقل شده است").arg(summary->alreadyTransferred)
                        : QString());
    grid->setFocus();
    if (!writeLastReading(session_.startDir(), c, &why))
        framework::ShowError(why, this);
    return true;
}

void TFREADFROMSND::showRows()
{
    const int keep = currentRow();
    const auto rows = reading_.rows();
    if (rows.failed())
        framework::ShowError(rows.error(), this);
    const QList<ReadRow> list = rows.value_or({});
    grid->setRowCount(int(list.size()));
    qint64 debit = 0, credit = 0;
    for (int i = 0; i < list.size(); ++i) {
        const ReadRow& r = list[i];
        const QString cells[Columns] = {r.ticked ? QStringLiteral("X") : QString(),
                                        QString::number(r.row),
                                        QString::number(r.voucher),
                                        QString::number(r.voucherRow),
                                        r.party ? QString::number(*r.party) : QString(),
                                        r.partyName,
                                        r.chequeNo ? QString::number(*r.chequeNo) : QString(),
                                        r.chequeDate,
                                        r.description,
                                        util::FormatAmount(r.debit),
                                        util::FormatAmount(r.credit)};
        // A row the register holds already is greyed; a row it cannot take says why.
        const QString tip = r.problem.isEmpty() ? (r.inRegister ? QStringLiteral("قبلا به دفتر سپرده منتقل شده است") : QString()) : r.problem;
        for (int c = 0; c < Columns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == Row)
                item->setData(Qt::UserRole, r.row);
            if (r.inRegister)
                item->setForeground(QColor(120, 120, 120));
            if (!r.problem.isEmpty())
                item->setBackground(QColor(250, 225, 225));
            item->setToolTip(tip);
            grid->setItem(i, c, item);
        }
        debit += r.debit;
        credit += r.credit;
    }
    debitSum->setText(util::FormatAmount(debit));
    creditSum->setText(util::FormatAmount(credit));
    if (!list.isEmpty())
        grid->selectRow(std::clamp(keep, 0, int(list.size()) - 1));
}

int TFREADFROMSND::currentRow() const { return grid->currentRow() < 0 ? 0 : grid->currentRow(); }

void TFREADFROMSND::toggleCurrent()
{
    const QTableWidgetItem* item = grid->item(grid->currentRow(), Row);
    if (!item)
        return;
    QString why;
    if (!reading_.toggle(item->data(Qt::UserRole).toInt(), &why))
        framework::ShowError(why, this);
    showRows();
}

void TFREADFROMSND::clearAllTicks()
{
    QString why;
    if (!reading_.clearTicks(&why))
        framework::ShowError(why, this);
    showRows();
}

void TFREADFROMSND::transferOnlyThis()
{
    const QTableWidgetItem* item = grid->item(grid->currentRow(), Row);
    if (!item)
        return;
    QString why;
    if (!reading_.tickOnly(item->data(Qt::UserRole).toInt(), &why)) {
        framework::ShowError(why, this);
        return;
    }
    showRows();
    transferAndClose(false);
}

bool TFREADFROMSND::transferAndClose(bool again)
{
    if (framework::Ask(QStringLiteral(" آيا اطلاعات به دفتر سپرده وارد گردد؟"), this) != framework::AskYes)
        return false;
    // A row ticked by hand that the register holds already goes in again only when the user says so.
    Repeats repeats = Repeats::Skip;
    if (const int twice = reading_.tickedInRegister(); twice > 0
        && framework::Ask(QStringLiteral("%1 رديف انتخاب شده قبلا به دفتر سپرده منتقل شده است. دوباره وارد شود؟").arg(twice), this)
               == framework::AskYes)
        repeats = Repeats::EnterShown;
    QString why;
    const auto done = reading_.transfer(listYear_, listMonth_, repeats, &why);
    if (!done) {
        framework::ShowError(why, this);
        return false;
    }
    transferred_ += done->rows;
    again_ = again;
    accept();
    return true;
}

void TFREADFROMSND::useVoucher(int number, int voucherYear)
{
    rangeKind->setCurrentIndex(int(RangeKind::NumberRange));
    from->setText(QString::number(number));
    to->setText(QString::number(number));
    if (const int y = year->findData(voucherYear); y >= 0) {
        year->setCurrentIndex(y);
    } else {
        year->addItem(QString::number(voucherYear), voucherYear);
        year->setCurrentIndex(year->count() - 1);
    }
}

void TFREADFROMSND::openOneVoucher()
{
    OneVoucherDialog dialog(session_, year->currentData().toInt(), this);
    if (dialog.exec() == QDialog::Accepted)
        useVoucher(dialog.number->value(), dialog.years->value());
    // The viewer may have opened another year; the reading screen's stays selected.
    startup::CollectingPrompt quiet;
    reading_.selectYear(criteria(), quiet);
}

void TFREADFROMSND::pickKol()
{
    if (const auto picked = ui::accounting::pickGeneralLedger(this, session_))
        kol->setText(picked->current.value(QStringLiteral("CODE")).toString());
}

void TFREADFROMSND::pickMoin()
{
    if (const auto picked = ui::accounting::pickSubsidiaryLedger(this, session_, numberIn(kol, -1))) {
        kol->setText(picked->current.value(QStringLiteral("KOL")).toString());
        moin->setText(picked->current.value(QStringLiteral("CODE")).toString());
    }
}

void TFREADFROMSND::openSavedCriteria()
{
    QDialog dialog(this);
    dialog.setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new TViewList4Get(
        session_,
        [this]() -> std::optional<SavedCriteria> {
            const ReadingCriteria c = criteria();
            SavedCriteria s;
            s.section = session_.SectionCode().toInt();
            s.kol = c.kol;
            s.moin = std::max(c.moin, 0);
            s.words = c.words;
            s.side = c.side;
            return s;
        },
        &dialog);
    dialog.setWindowTitle(list->frame().title);
    layout->addWidget(list);
    connect(list, &TViewList4Get::chosen, &dialog, [this, &dialog](const SavedCriteria& s) {
        kol->setText(QString::number(s.kol));
        moin->setText(s.moin > 0 ? QString::number(s.moin) : QString());
        for (int i = 0; i < 4; ++i)
            words[i]->setText(s.words[size_t(i)]);
        side->setCurrentIndex(int(s.side));
        dialog.accept();
    });
    list->reopen();
    dialog.resize(800, 400);
    dialog.exec();
}

bool TFREADFROMSND::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        toggleCurrent();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvak::ui::deposits
