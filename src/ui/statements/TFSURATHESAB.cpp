#include "ui/statements/TFSURATHESAB.h"

#include "core/letters/LetterFooter.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "ui/statements/StatementScreens.h"
#include "core/basedata/Branches.h"
#include "core/basedata/Provinces.h"
#include "core/basedata/SupervisingOffices.h"
#include "core/statements/StatementDates.h"
#include "core/statements/StatementLines.h"
#include "core/statements/StatementParser.h"
#include "core/util/Jalali.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::statements {

namespace {

using orvak::statements::StatementFilter;
using orvak::statements::StatementLines;

framework::ListUi commands()
{
    using framework::ListCommand;
    auto on = [](auto f) { return [f](framework::ListScreen& l) { f(static_cast<TFSURATHESAB&>(l)); }; };
    framework::ListUi ui;
    ui.commands = {
        ListCommand{QStringLiteral("گزارش صورتحساب بانک"), {}, on([](TFSURATHESAB& s) {
                        const QStringList to{QStringLiteral("صفحه نمايش"), QStringLiteral("چاپگر")};
                        bool ok = false;
                        const QString where = QInputDialog::getItem(&s, QStringLiteral("گزارش صورتحساب بانک"), QStringLiteral("چاپ به"), to, 0, false, &ok);
                        if (!ok)
                            return;
                        const io::ReportModel report = s.statementReport();
                        if (where == to[0]) {
                            framework::previewReport(report, QStringLiteral("گزارش صورتحساب بانک"), &s);
                            return;
                        }
                        QPrinter printer(QPrinter::HighResolution);
                        QPrintDialog dialog(&printer, &s);
                        QString why;
                        if (dialog.exec() == QDialog::Accepted && !io::renderReport(report, printer, &why))
                            framework::ShowError(why, &s);
                    }),
                    false, false, 0},
        ListCommand{QStringLiteral("گزارش مانده حسابهاي بانکي"), {}, on([](TFSURATHESAB& s) {
                        bool ok = false;
                        const QString date = QInputDialog::getText(&s, QStringLiteral("گزارش مانده حسابهاي بانکي"), QStringLiteral("تاريخ"),
                                                                   QLineEdit::Normal, util::TodayJalali(), &ok);
                        if (!ok)
                            return;
                        if (const auto report = s.balancesReport(date))
                            framework::previewReport(*report, QStringLiteral("گزارش مانده حسابهاي بانکي"), &s);
                    }),
                    false, false, 0},
    };
    return ui;
}

QComboBox* codeCombo(QWidget* parent, const QList<std::pair<qint64, QString>>& rows)
{
    auto* c = new QComboBox(parent);
    c->addItem(QStringLiteral("همه"), -1);
    for (const auto& [code, name] : rows)
        c->addItem(QStringLiteral("%1 - %2").arg(code).arg(name), int(code));
    return c;
}

} // namespace

TFSURATHESAB::TFSURATHESAB(orvak::startup::Session& session, QWidget* parent)
    : framework::ListScreen(session, orvak::statements::statementLinesList(), commands(), parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("اطلاعات صورتحساب دريافتي از بانک"));
    buildFilters();
    settlement_ = new framework::ListScreen(session, orvak::statements::settlementLinesList(), {}, this);
    settlement_->setMaximumHeight(220);
    totals_ = new QLabel(this);
    if (auto* box = qobject_cast<QVBoxLayout*>(layout())) {
        box->addWidget(totals_);
        box->addWidget(new QLabel(QStringLiteral("اطلاعات شاپرک"), this));
        box->addWidget(settlement_);
    }
    buildActions();
    connect(&model(), &QAbstractItemModel::modelReset, this, [this] { updateTotals(); });
    // The grid shows what the boxes say from the start (no account: nothing).
    applyFilter();
    resize(1150, 760);
}

void TFSURATHESAB::buildFilters()
{
    auto* grid = new QGridLayout;
    account = accountField(session_, this);
    from = new framework::JalaliDateEdit(this);
    to = new framework::JalaliDateEdit(this);
    const util::JalaliDate today = util::toJalali(session_.clock().now().date());
    from->setDate(orvak::statements::monthStart(today.year, today.month == 1 ? 1 : today.month - 1));
    to->setDate(orvak::statements::monthEnd(today.year, 12).left(8) + QStringLiteral("29"));
    order = new QComboBox(this);
    order->addItems(orvak::statements::statementOrderTexts());
    kind = new QComboBox(this);
    kind->addItems(orvak::statements::amountKindTexts());
    place = new QComboBox(this);
    place->addItems(orvak::statements::depositPlaceTexts());
    // The statement lines name a branch by the bank's own branch code.
    orvak::basedata::CodedTable branches = orvak::basedata::Branches::table();
    branches.key = QStringLiteral("CODESHOBEH");
    branch = codeCombo(this, orvak::basedata::codeNames(session_, branches, QStringLiteral("NAME")));
    province = codeCombo(this, orvak::basedata::codeNames(session_, orvak::basedata::Provinces::table(), QStringLiteral("NAME")));
    office = codeCombo(this, orvak::basedata::codeNames(session_, orvak::basedata::SupervisingOffices::table(), QStringLiteral("NAME")));
    grid->addWidget(new QLabel(QStringLiteral("حساب بانکي (F7)"), this), 0, 0);
    grid->addWidget(account, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("تاريخ  واريز/برداشت"), this), 0, 4);
    grid->addWidget(from, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("تا"), this), 0, 6);
    grid->addWidget(to, 0, 7);
    grid->addWidget(new QLabel(QStringLiteral("ترتيب"), this), 1, 0);
    grid->addWidget(order, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("نوع مبلغ"), this), 1, 2);
    grid->addWidget(kind, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("محل واريز"), this), 1, 4);
    grid->addWidget(place, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("شعبه"), this), 2, 0);
    grid->addWidget(branch, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("استان"), this), 2, 2);
    grid->addWidget(province, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("سرپرستي"), this), 2, 4);
    grid->addWidget(office, 2, 5);
    for (QComboBox* c : {order, kind, place, branch, province, office})
        connect(c, &QComboBox::activated, this, [this] { applyFilter(); });
    for (framework::JalaliDateEdit* e : {from, to})
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            if (e->date())
                applyFilter();
        });
    connect(account, &framework::CodeEdit::codeChanged, this, [this] { applyFilter(); });
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->insertLayout(1, grid);
}

QAction* TFSURATHESAB::addAction(const QString& caption, std::function<void()> run, bool writes)
{
    QAction* a = contextMenu()->addAction(caption);
    connect(a, &QAction::triggered, this, std::move(run));
    actions_.insert(caption, a);
    if (writes)
        writing_ << a;
    return a;
}

QAction* TFSURATHESAB::action(const QString& caption) const { return actions_.value(caption); }

void TFSURATHESAB::buildActions()
{
    contextMenu()->addSeparator();
    auto done = [this](const orvak::statements::EditOutcome& o) {
        if (o.done)
            applyFilter(currentKey());
    };
    addAction(QStringLiteral("در نظر گرفتن بعنوان اصلاحات"), [this] { reclassify(true); }, true);
    addAction(QStringLiteral("در نظر گرفتن بعنوان چک/انتقالي"), [this] { reclassify(false); }, true);
    addAction(QStringLiteral("حذف  اطلاعات صورتحساب"), [this, done] {
        framework::MessagePrompt p(this);
        done(StatementLines(session_).removeRange(filter(), p));
    }, true);
    addAction(QStringLiteral("حذف اطلاعات شاپرک"), [this, done] {
        framework::MessagePrompt p(this);
        done(StatementLines(session_).removeSettlementRange(filter(), p));
    }, true);
    addAction(QStringLiteral("اضافه نمودن به شاپرک"), [this, done] {
        framework::MessagePrompt p(this);
        done(StatementLines(session_).copyToSettlement(filter().account, currentRow(), p));
    }, true);
    addAction(QStringLiteral("حذف رديف فعلي صورتحساب"), [this, done] {
        framework::MessagePrompt p(this);
        done(StatementLines(session_).removeLine(filter().account, currentRow(), p));
    }, true);
    addAction(QStringLiteral("حذف رديف فعلي شاپرک"), [this, done] {
        framework::MessagePrompt p(this);
        done(StatementLines(session_).removeSettlementLine(filter().account, settlement_->currentKey().toInt(), p));
    }, true);
    contextMenu()->addSeparator();
    addAction(QStringLiteral("جستجوي مبلغ"), [this] {
        bool ok = false;
        const QString t = QInputDialog::getText(this, QStringLiteral("جستجو"), QStringLiteral("مبلغ را وارد کنيد"), QLineEdit::Normal, {}, &ok);
        QString why;
        if (!ok)
            return;
        if (const auto a = orvak::statements::readAmount(t, &why))
            findAmount(*a);
        else
            framework::ShowInfo(why, this);
    }, false);
    addAction(QStringLiteral("جستجوي شماره مدرک"), [this] {
        bool ok = false;
        const QString t = QInputDialog::getText(this, QStringLiteral("جستجو"), QStringLiteral("شماره مدرک را وارد کنيد"), QLineEdit::Normal, {}, &ok);
        QString why;
        if (!ok)
            return;
        if (const auto n = orvak::statements::readDocumentNumber(t, &why))
            findDocument(*n);
        else
            framework::ShowInfo(why, this);
    }, false);
    addAction(QStringLiteral("جستجوي تاريخ  مدرک"), [this] {
        bool ok = false;
        const QString t = QInputDialog::getText(this, QStringLiteral("جستجوي تاريخ  مدرک"), QStringLiteral("تاريخ"), QLineEdit::Normal, {}, &ok);
        if (!ok)
            return;
        QString why;
        if (const auto d = orvak::statements::readDate(t, orvak::statements::DateForm::YearFirst, &why))
            findDate(d->date);
        else
            framework::ShowInfo(why, this);
    }, false);
}

void TFSURATHESAB::reclassify(bool correction)
{
    framework::MessagePrompt p(this);
    const auto o = StatementLines(session_).reclassify(filter().account, currentRow(), correction, p);
    if (o.done)
        applyFilter(currentKey());
}

StatementFilter TFSURATHESAB::filter() const
{
    StatementFilter f;
    f.account = int(account->code().value_or(0));
    f.from = from->date() ? from->text() : QString();
    f.to = to->date() ? to->text() : QString();
    f.order = orvak::statements::StatementOrder(order->currentIndex());
    f.kind = orvak::statements::AmountKind(kind->currentIndex());
    f.place = orvak::statements::DepositPlace(place->currentIndex());
    f.branch = branch->currentData().toInt();
    f.province = province->currentData().toInt();
    f.office = office->currentData().toInt();
    return f;
}

void TFSURATHESAB::setFilter(const StatementFilter& f)
{
    {
        const QSignalBlocker block(account);
        account->setCode(f.account > 0 ? std::optional<qint64>(f.account) : std::nullopt);
    }
    from->setDate(f.from);
    to->setDate(f.to);
    order->setCurrentIndex(int(f.order));
    kind->setCurrentIndex(int(f.kind));
    place->setCurrentIndex(int(f.place));
    branch->setCurrentIndex(std::max(0, branch->findData(f.branch)));
    province->setCurrentIndex(std::max(0, province->findData(f.province)));
    office->setCurrentIndex(std::max(0, office->findData(f.office)));
    applyFilter();
}

bool TFSURATHESAB::applyFilter(const QVariant& key)
{
    const StatementFilter f = filter();
    const io::ListDefinition d = orvak::statements::statementLinesList(f);
    setQuery(d.sql);
    for (const io::ListParameter& p : d.parameters)
        setParameter(p.name, p.value);
    const io::ListDefinition s = orvak::statements::settlementLinesList(f);
    settlement_->setQuery(s.sql);
    for (const io::ListParameter& p : s.parameters)
        settlement_->setParameter(p.name, p.value);
    settlement_->reopen();
    return reopen(key);
}

void TFSURATHESAB::updateTotals()
{
    const auto t = orvak::statements::statementTotals(session_, filter());
    totals_->setText(t ? orvak::statements::statementTotalText(*t) + QStringLiteral("     ") + orvak::statements::settlementTotalText(*t)
                       : t.error());
}

QString TFSURATHESAB::totalsLine() const { return totals_->text(); }

bool TFSURATHESAB::findBy(const QString& field, const std::function<bool(const QVariant&)>& hit)
{
    const std::vector<int> shown = shownRows();
    const io::RowSet& rows = model().rows();
    const int column = rows.fieldIndex(field);
    const int current = grid()->currentIndex().isValid() ? grid()->currentIndex().row() : -1;
    for (size_t step = 1; column >= 0 && step <= shown.size(); ++step) {
        const size_t i = (size_t(current + 1) + step - 1) % shown.size();
        if (hit(rows.value(shown[i], column))) {
            grid()->setCurrentIndex(grid()->model()->index(int(i), 0));
            return true;
        }
    }
    framework::ShowInfo(QStringLiteral("يافت نشد"), this);
    return false;
}

bool TFSURATHESAB::findAmount(qint64 amount)
{
    return findBy(QStringLiteral("AMOUNT"), [amount](const QVariant& v) { return qint64(std::llround(v.toDouble())) == amount; });
}

bool TFSURATHESAB::findDocument(qint64 number)
{
    return findBy(QStringLiteral("CHKNO"), [number](const QVariant& v) { return v.toLongLong() == number; });
}

bool TFSURATHESAB::findDate(const QString& date)
{
    const QString stored = orvak::statements::storedDate(date).value_or(QStringLiteral("~"));
    return findBy(QStringLiteral("CHKDATE"), [stored](const QVariant& v) { return v.toString().trimmed() == stored; });
}

io::ReportModel TFSURATHESAB::statementReport()
{
    io::ReportModel m = reportModel();
    m.titleLines = QStringList{QStringLiteral("گزارش صورتحساب بانک"), account->name()} + m.titleLines.mid(1);
    return m;
}

std::optional<io::ReportModel> TFSURATHESAB::balancesReport(const QString& date)
{
    QString why;
    const auto d = orvak::statements::readDate(date, orvak::statements::DateForm::YearFirst, &why);
    if (!d || d->date == QLatin1String("0000/00/00")) {
        framework::ShowInfo(why.isEmpty() ? QStringLiteral("تاريخ درست نيست") : why, this);
        return std::nullopt;
    }
    const auto balances = orvak::statements::accountBalances(session_, d->date);
    if (!balances) {
        framework::ShowError(balances.error(), this);
        return std::nullopt;
    }
    io::ReportModel report = orvak::statements::balanceReport(*balances, d->date);
    report.signatures = letters::signatureBlocks(session_, QStringLiteral("bank-balances"), letters::DepositReportsGroup);
    return report;
}

void TFSURATHESAB::setReadOnly(bool readOnly)
{
    framework::ListScreen::setReadOnly(readOnly);
    for (QAction* a : writing_)
        a->setEnabled(!readOnly);
}

} // namespace orvak::ui::statements
