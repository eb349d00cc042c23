#include "ui/guarantees/TFZEMSARRASID.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "ui/letters/LetterPrinting.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

namespace orvak::ui::guarantees {

namespace g = orvak::guarantees;

namespace {

framework::ListUi commands()
{
    using framework::ListCommand;
    auto on = [](void (TFZEMSARRASID::*f)()) { return [f](framework::ListScreen& l) { (static_cast<TFZEMSARRASID&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {ListCommand{QStringLiteral("گزارش (F9)"), {}, on(&TFZEMSARRASID::printReport), false, false, 0},
                   ListCommand{QStringLiteral("صدور تمديد نامه"), {}, on(&TFZEMSARRASID::issueExtensions), false, true, 0}};
    return ui;
}

} // namespace

TFZEMSARRASID::TFZEMSARRASID(Session& session, QWidget* parent)
    : framework::ListScreen(session, *g::dueList(g::defaultDueFilter(session.clock().todayJalali())), commands(), parent)
    , session_(session)
{
    setWindowTitle(g::dueTitle());
    auto* bar = new QHBoxLayout;
    auto* today = new QLabel(QStringLiteral("تاريخ امروز: ") + session.clock().todayJalali(), this);
    from = new framework::JalaliDateEdit(this);
    to = new framework::JalaliDateEdit(this);
    const g::DueFilter initial = g::defaultDueFilter(session.clock().todayJalali());
    from->setDate(initial.from);
    to->setDate(initial.to);
    windowBox = new QComboBox(this);
    windowBox->addItems(g::dueWindowLabels());
    windowBox->setCurrentIndex(g::DefaultDueWindow - 1);
    kindBox = new QComboBox(this);
    const QStringList kinds = g::dueKindTexts();
    for (int i = 0; i < kinds.size(); ++i)
        kindBox->addItem(kinds[i], i - 1);
    orderBox = new QComboBox(this);
    orderBox->addItems(g::dueOrderTexts());
    auto* go = new QPushButton(QStringLiteral(">>"), this);
    countLabel = new QLabel(this);
    bar->addWidget(today);
    bar->addSpacing(10);
    bar->addWidget(new QLabel(QStringLiteral("از تاريخ"), this));
    bar->addWidget(from);
    bar->addWidget(new QLabel(QStringLiteral("تا تاريخ"), this));
    bar->addWidget(to);
    bar->addWidget(windowBox);
    bar->addWidget(new QLabel(QStringLiteral("نوع"), this));
    bar->addWidget(kindBox);
    bar->addWidget(new QLabel(QStringLiteral("ترتيب"), this));
    bar->addWidget(orderBox);
    bar->addWidget(go);
    bar->addWidget(countLabel);
    bar->addStretch();
    auto* note = new QLabel(QStringLiteral("در صورت زياد بودن تعداد ضمانتنامه ها، بازه کوتاه تري انتخاب کنيد تا چاپ نامه ها براي چاپگر آسان باشد"), this);
    if (auto* box = qobject_cast<QVBoxLayout*>(layout())) {
        box->insertLayout(1, bar);
        box->insertWidget(2, note);
    }
    connect(windowBox, &QComboBox::activated, this, [this](int i) { chooseWindow(i + 1); });
    connect(go, &QPushButton::clicked, this, [this] { refresh(); });
    for (QComboBox* c : {kindBox, orderBox})
        connect(c, &QComboBox::activated, this, [this] { refresh(); });
    auto* f9 = new QShortcut(QKeySequence(Qt::Key_F9), this);
    f9->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f9, &QShortcut::activated, this, [this] { runCommand(0); });
    refresh();
    resize(1100, 600);
}

g::DueFilter TFZEMSARRASID::filter() const
{
    g::DueFilter f;
    f.from = from->text();
    f.to = to->text();
    f.kind = kindBox->currentData().toInt();
    f.order = g::DueOrder(std::max(0, orderBox->currentIndex()));
    return f;
}

void TFZEMSARRASID::chooseWindow(int entry)
{
    if (entry >= 1 && entry <= 6) {
        if (const auto end = g::dueWindowEnd(from->text(), entry))
            to->setDate(*end);
        refresh();
    } else {
        to->setFocus();
        to->selectAll();
    }
}

bool TFZEMSARRASID::refresh()
{
    QString why;
    const auto d = g::dueList(filter(), &why);
    if (!d) {
        framework::ShowInfo(why, this);
        return false;
    }
    setQuery(d->sql);
    for (const io::ListParameter& p : d->parameters)
        setParameter(p.name, p.value);
    const bool ok = reopen();
    const auto t = g::dueTotals(session_, filter());
    count_ = t ? t->count : 0;
    countLabel->setText(QString::number(count_) + QStringLiteral(" ") + g::dueCountLabel());
    return ok;
}

void TFZEMSARRASID::printReport()
{
    const auto report = g::dueReport(session_, g::idxOf(model().rows(), shownRows()));
    if (!report) {
        framework::ShowInfo(report.error(), this);
        return;
    }
    framework::previewReport(*report, g::dueTitle(), this);
}

void TFZEMSARRASID::issueExtensions()
{
    QStringList periods;
    for (const auto& p : g::extensionPeriods())
        periods << p.label;
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, g::extensionLetterTitle(), QStringLiteral("مدت تمديد"), periods, 0, false, &ok);
    if (!ok)
        return;
    g::ExtensionRun::Choice choice;
    choice.months = g::extensionPeriods().value(int(periods.indexOf(chosen))).months;
    if (choice.months == 0) {
        choice.untilDate = QInputDialog::getText(this, g::extensionLetterTitle(), QStringLiteral("تا تاريخ"), QLineEdit::Normal, to->text(), &ok);
        if (!ok)
            return;
    }
    g::ExtensionRun run(session_, filter(), choice);
    framework::MessagePrompt prompt(this);
    if (!run.start(prompt))
        return;
    if (run.count() == 0) {
        refresh();
        return;
    }
    TFSelNextLetterQ navigator(session_, run, this);
    navigator.exec();
    if (!navigator.printed().empty())
        letters::previewLetters(navigator.printed(), g::extensionLetterTitle(), this);
    refresh();
}

TFSelNextLetterQ::TFSelNextLetterQ(Session& session, g::ExtensionRun& run, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , run_(run)
{
    setWindowTitle(QStringLiteral("انتخاب و تمديد ضمانت نامه"));
    setLayoutDirection(Qt::RightToLeft);
    auto* box = new QVBoxLayout(this);
    box->addWidget(new QLabel(g::extensionLetterTitle(), this));
    details = new QLabel(this);
    position = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, std::max(1, run.count()));
    box->addWidget(details);
    box->addWidget(position);
    box->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    add(QStringLiteral("نمايش نامه"), [this] { showLetter(); });
    add(QStringLiteral("صدور و چاپ نامه"), [this] { issueOne(); });
    add(QStringLiteral("نامه بعدي"), [this] { next(); });
    add(QStringLiteral("صدور وچاپ همه"), [this] { issueAll(); });
    add(QStringLiteral("انصراف"), [this] { reject(); });
    box->addLayout(buttons);
    showCurrent();
}

void TFSelNextLetterQ::showCurrent()
{
    if (run_.done()) {
        accept();
        return;
    }
    const auto& current = run_.current();
    const QString party = QString::number(current.tafsilNo);
    details->setText(QStringLiteral("پيمانكار: %1\nشماره تضمين: %2\nسررسيد: %3\nمبلغ: %4\nشماره نامه: %5")
                         .arg(party, current.zno, current.sarresid, util::FormatAmount(current.amount), run_.nextNumberText()));
    position->setText(QStringLiteral("شماره %1 از %2").arg(run_.position() + 1).arg(run_.count()));
    progress_->setValue(run_.position());
}

void TFSelNextLetterQ::showLetter()
{
    framework::MessagePrompt prompt(this);
    const auto letter = run_.preview(prompt);
    if (letter)
        letters::previewLetters(letter->pages, g::extensionLetterTitle(), this);
}

bool TFSelNextLetterQ::issueOne()
{
    framework::MessagePrompt prompt(this);
    const bool ok = run_.issue(printed_, prompt);
    showCurrent();
    return ok;
}

void TFSelNextLetterQ::next()
{
    run_.skip();
    showCurrent();
}

void TFSelNextLetterQ::issueAll()
{
    framework::MessagePrompt prompt(this);
    run_.issueAll(printed_, prompt);
    showCurrent();
}

} // namespace orvak::ui::guarantees
