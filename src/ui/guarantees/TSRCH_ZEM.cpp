#include "ui/guarantees/TSRCH_ZEM.h"

#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::guarantees {

namespace g = orvak::guarantees;

namespace {

framework::ListUi commands()
{
    using framework::ListCommand;
    auto on = [](void (TSRCH_ZEM::*f)()) { return [f](framework::ListScreen& l) { (static_cast<TSRCH_ZEM&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {ListCommand{QStringLiteral("فهرست ضمانتنامه ها"), {}, on(&TSRCH_ZEM::printList), false, false, 0},
                   ListCommand{QStringLiteral("فهرست تضمينات به تفکيک شعب"), {}, on(&TSRCH_ZEM::printByBranch), false, false, 0},
                   ListCommand{QStringLiteral("گزارش پويا"), {}, on(&TSRCH_ZEM::adHocReport), false, false, 0}};
    return ui;
}

QString dateOf(const framework::JalaliDateEdit* e) { return e->isEmptyDate() ? QString() : e->text(); }

int codeOf(const QLineEdit* e)
{
    bool ok = false;
    const int v = e->text().trimmed().toInt(&ok);
    return ok ? v : -1;
}

} // namespace

TSRCH_ZEM::TSRCH_ZEM(Session& session, QWidget* parent)
    : framework::ListScreen(session, g::searchList(), commands(), parent)
    , session_(session)
{
    setWindowTitle(g::searchTitle());
    auto* grid = new QGridLayout;
    natureBox = new QComboBox(this);
    const QStringList natures = g::searchNatureTexts();
    for (int i = 0; i < natures.size(); ++i)
        natureBox->addItem(natures[i], i - 1);
    typeBox = new QComboBox(this);
    const QStringList types = g::searchTypeTexts();
    for (int i = 0; i < types.size(); ++i)
        typeBox->addItem(types[i], i - 1);
    orderBox = new QComboBox(this);
    orderBox->addItems(g::searchOrderTexts());
    auto code = [this] {
        auto* e = new QLineEdit(this);
        e->setMaximumWidth(90);
        return e;
    };
    number = code();
    party = code();
    contract = code();
    project = code();
    branch = code();
    bank = code();
    auto date = [this] { return new framework::JalaliDateEdit(this); };
    dueFrom = date();
    dueTo = date();
    issueFrom = date();
    issueTo = date();
    cancelFrom = date();
    cancelTo = date();
    int c = 0;
    auto put = [&](int row, const QString& caption, QWidget* w) {
        grid->addWidget(new QLabel(caption, this), row, c);
        grid->addWidget(w, row, c + 1);
        c += 2;
    };
    put(0, QStringLiteral("ماهيت"), natureBox);
    put(0, QStringLiteral("نوع"), typeBox);
    put(0, QStringLiteral("شماره تضمين"), number);
    put(0, QStringLiteral("پيمانكار"), party);
    put(0, QStringLiteral("پيمان"), contract);
    put(0, QStringLiteral("پروژه"), project);
    c = 0;
    put(1, QStringLiteral("شعبه بانك"), branch);
    put(1, QStringLiteral("بانك"), bank);
    put(1, QStringLiteral("سررسيد از"), dueFrom);
    put(1, QStringLiteral("تا"), dueTo);
    put(1, QStringLiteral("صدور از"), issueFrom);
    put(1, QStringLiteral("تا"), issueTo);
    c = 0;
    put(2, QStringLiteral("ابطال از"), cancelFrom);
    put(2, QStringLiteral("تا"), cancelTo);
    put(2, QStringLiteral("ترتيب"), orderBox);
    auto* tickRow = new QHBoxLayout;
    for (const g::StatusTick& t : g::statusTicks()) {
        auto* box = new QCheckBox(t.label, this);
        box->setProperty("code", t.code);
        ticks << box;
        tickRow->addWidget(box);
    }
    ticks.first()->setChecked(true);
    // "همه" clears the others; any other tick clears "همه".
    connect(ticks.first(), &QCheckBox::clicked, this, [this](bool on) {
        if (on) {
            for (int i = 1; i < ticks.size(); ++i)
                ticks[i]->setChecked(false);
        }
    });
    for (int i = 1; i < ticks.size(); ++i)
        connect(ticks[i], &QCheckBox::clicked, this, [this] {
            bool any = false;
            for (int j = 1; j < ticks.size(); ++j)
                any = any || ticks[j]->isChecked();
            ticks.first()->setChecked(!any);
        });
    tickRow->addStretch();
    grid->addLayout(tickRow, 3, 0, 1, 12);
    auto* actions = new QHBoxLayout;
    auto* show = new QPushButton(QStringLiteral("نمايش نتايج"), this);
    auto* clear = new QPushButton(QStringLiteral("پاک کردن شرايط"), this);
    count = new QLabel(this);
    actions->addWidget(show);
    actions->addWidget(clear);
    actions->addWidget(count);
    actions->addStretch();
    grid->addLayout(actions, 4, 0, 1, 12);
    connect(show, &QPushButton::clicked, this, [this] { showResults(); });
    connect(clear, &QPushButton::clicked, this, [this] { clearConditions(); });
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->insertLayout(1, grid);
    showResults();
    resize(1200, 700);
}

g::SearchFilter TSRCH_ZEM::filter() const
{
    g::SearchFilter f;
    f.number = number->text();
    f.nature = natureBox->currentData().toInt();
    f.type = typeBox->currentData().toInt();
    f.party = codeOf(party);
    f.contract = codeOf(contract);
    f.project = codeOf(project);
    f.branch = codeOf(branch);
    f.bank = codeOf(bank);
    f.dueFrom = dateOf(dueFrom);
    f.dueTo = dateOf(dueTo);
    f.issueFrom = dateOf(issueFrom);
    f.issueTo = dateOf(issueTo);
    f.cancelFrom = dateOf(cancelFrom);
    f.cancelTo = dateOf(cancelTo);
    for (int i = 1; i < ticks.size(); ++i) {
        if (ticks[i]->isChecked())
            f.statuses << ticks[i]->property("code").toInt();
    }
    f.order = g::SearchOrder(std::max(0, orderBox->currentIndex()));
    return f;
}

bool TSRCH_ZEM::showResults()
{
    QString why;
    const g::SearchFilter f = filter();
    const auto d = g::searchList(session_, f, &why);
    if (!d) {
        framework::ShowInfo(why, this);
        return false;
    }
    setQuery(d->sql);
    for (const io::ListParameter& p : d->parameters)
        setParameter(p.name, p.value);
    const bool ok = reopen();
    const auto t = g::searchTotals(session_, f);
    count->setText(t ? QStringLiteral("تعداد: %1%2   جمع مبلغ: %3").arg(t->count).arg(g::searchCountSuffix(), util::FormatAmount(t->amount)) : t.error());
    return ok;
}

QString TSRCH_ZEM::countText() const { return count->text(); }

void TSRCH_ZEM::clearConditions()
{
    for (QLineEdit* e : {number, party, contract, project, branch, bank})
        e->clear();
    for (framework::JalaliDateEdit* e : {dueFrom, dueTo, issueFrom, issueTo, cancelFrom, cancelTo})
        e->setDate(QString());
    natureBox->setCurrentIndex(0);
    typeBox->setCurrentIndex(0);
    for (int i = 1; i < ticks.size(); ++i)
        ticks[i]->setChecked(false);
    ticks.first()->setChecked(true);
    showResults();
}

void TSRCH_ZEM::printList()
{
    const auto report = g::searchReport(session_, g::idxOf(model().rows(), shownRows()));
    if (!report)
        return framework::ShowInfo(report.error(), this);
    framework::previewReport(*report, QStringLiteral("فهرست ضمانتنامه ها"), this);
}

void TSRCH_ZEM::printByBranch()
{
    const auto report = g::searchReportByBranch(session_, g::idxOf(model().rows(), shownRows()));
    if (!report)
        return framework::ShowInfo(report.error(), this);
    framework::previewReport(*report, QStringLiteral("فهرست تضمينات به تفکيک شعب"), this);
}

// The ad-hoc report: the visible columns of the result, as the list frame prints them.
void TSRCH_ZEM::adHocReport() { framework::previewReport(reportModel(), g::searchTitle(), this); }

} // namespace orvak::ui::guarantees
