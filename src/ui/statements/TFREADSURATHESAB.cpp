#include "ui/statements/TFREADSURATHESAB.h"

#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/statements/StatementScreens.h"
#include "core/statements/SettlementReader.h"
#include "core/statements/StatementDates.h"
#include "core/statements/StatementReader.h"
#include "core/util/Jalali.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvak::ui::statements {

namespace {

QComboBox* years(QWidget* parent, int current)
{
    auto* c = new QComboBox(parent);
    for (int y = orvak::statements::FirstWindowYear; y <= 1420; ++y)
        c->addItem(QString::number(y), y);
    c->setCurrentIndex(std::max(0, c->findData(current)));
    return c;
}

QComboBox* months(QWidget* parent, int current)
{
    auto* c = new QComboBox(parent);
    for (int m = 1; m <= 12; ++m)
        c->addItem(QStringLiteral("%1)%2").arg(m, 2, 10, QLatin1Char('0')).arg(util::jalaliMonthName(m)), m);
    c->setCurrentIndex(current - 1);
    return c;
}

} // namespace

ReadScreenBase::ReadScreenBase(orvak::startup::Session& session, bool settlement, QWidget* parent)
    : QWidget(parent)
    , framework::MessagePrompt(this)
    , session_(session)
{
    setLayoutDirection(Qt::RightToLeft);
    const util::JalaliDate today = util::toJalali(session.clock().now().date());
    auto* form = new QFormLayout;
    account = accountField(session, this);
    form->addRow(QStringLiteral("حساب بانکي (F7)"), account);
    auto* range = new QHBoxLayout;
    fromYear = years(this, today.year);
    fromMonth = months(this, today.month);
    toYear = years(this, today.year);
    toMonth = months(this, today.month);
    range->addWidget(fromYear);
    range->addWidget(fromMonth);
    range->addWidget(new QLabel(QStringLiteral("تا"), this));
    range->addWidget(toYear);
    range->addWidget(toMonth);
    range->addStretch();
    form->addRow(QStringLiteral("محدوده تاريخ چک"), range);
    if (!settlement) {
        format = new QComboBox(this);
        format->addItems(orvak::statements::statementFormatTitles());
        format->setCurrentIndex(orvak::statements::DefaultStatementFormat - 1);
        form->addRow(QStringLiteral("قالب فايل دريافتي"), format);
    }
    separator = new QLineEdit(QStringLiteral(";"), this);
    separator->setMaxLength(1);
    separator->setMaximumWidth(40);
    form->addRow(QStringLiteral("نوع جدا کننده"), separator);
    if (settlement) {
        chequeDigits = new QSpinBox(this);
        chequeDigits->setRange(1, 18);
        chequeDigits->setValue(6);
        form->addRow(orvak::statements::SettlementReader::chequeDigitsQuestion(), chequeDigits);
    }
    auto* where = new QHBoxLayout;
    folder = new QLineEdit(this);
    auto* choose = new QPushButton(QStringLiteral("تعيين مسير فايل صورتحساب"), this);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("تعيين مسير فايل صورتحساب"), folder->text());
        if (!dir.isEmpty())
            setFolder(dir);
    });
    connect(folder, &QLineEdit::editingFinished, this, [this] { setFolder(folder->text()); });
    where->addWidget(folder);
    where->addWidget(choose);
    form->addRow(QStringLiteral("مسير"), where);

    files = new QListWidget(this);
    bar = new QProgressBar(this);
    bar->setRange(0, 1000);
    status = new QLabel(this);
    status->setWordWrap(true);
    readButton = new QPushButton(QStringLiteral("قرائت اطلاعات صورتحساب"), this);
    stopButton = new QPushButton(QStringLiteral("توقف قرائت اطلاعات"), this);
    stopButton->setEnabled(false);
    connect(readButton, &QPushButton::clicked, this, &ReadScreenBase::read);
    connect(stopButton, &QPushButton::clicked, this, &ReadScreenBase::stop);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readButton);
    buttons->addWidget(stopButton);
    buttons->addStretch();

    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(files, 1);
    box->addWidget(bar);
    box->addWidget(status);
    box->addLayout(buttons);
    setFolder(QDir(session.startDir()).filePath(QStringLiteral("statements")));
    resize(760, 560);
}

void ReadScreenBase::setFolder(const QString& path)
{
    folder->setText(QDir::toNativeSeparators(path));
    files->clear();
    const QDir dir(path);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        auto* item = new QListWidgetItem(name, files);
        item->setData(Qt::UserRole, dir.filePath(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

QStringList ReadScreenBase::tickedFiles() const
{
    QStringList out;
    for (int i = 0; i < files->count(); ++i) {
        if (files->item(i)->checkState() == Qt::Checked)
            out << files->item(i)->data(Qt::UserRole).toString();
    }
    return out;
}

QString ReadScreenBase::summary() const { return status->text(); }

void ReadScreenBase::progress(const QString& title, int step, int total)
{
    status->setText(title);
    bar->setRange(0, std::max(total, 1));
    bar->setValue(std::min(step, std::max(total, 1)));
    QApplication::processEvents();
}

bool ReadScreenBase::stopRequested()
{
    QApplication::processEvents();
    return stop_;
}

void ReadScreenBase::read()
{
    if (running_)
        return;
    running_ = true;
    stop_ = false;
    readButton->setEnabled(false);
    stopButton->setEnabled(true);
    const QString text = runReading();
    stopButton->setEnabled(false);
    readButton->setEnabled(true);
    running_ = false;
    if (!text.isEmpty())
        status->setText(text);
}

TFREADSURATHESAB::TFREADSURATHESAB(orvak::startup::Session& session, QWidget* parent)
    : ReadScreenBase(session, false, parent)
{
    setWindowTitle(QStringLiteral("قرائت اطلاعات صورتحساب هاي بانکي"));
    rebuildButton = new QPushButton(QStringLiteral("بازسازي اطلاعات شعب"), this);
    connect(rebuildButton, &QPushButton::clicked, this, &TFREADSURATHESAB::rebuildBranches);
    layout()->addWidget(rebuildButton);
}

QString TFREADSURATHESAB::runReading()
{
    orvak::statements::ReadRequest r;
    r.account = int(account->code().value_or(0));
    r.fromYear = fromYear->currentData().toInt();
    r.fromMonth = fromMonth->currentData().toInt();
    r.toYear = toYear->currentData().toInt();
    r.toMonth = toMonth->currentData().toInt();
    r.format = format->currentIndex() + 1;
    r.separator = separator->text().isEmpty() ? QLatin1Char(';') : separator->text()[0];
    r.files = tickedFiles();
    const orvak::statements::ReadOutcome out = orvak::statements::StatementReader(session_).read(r, *this);
    if (!out)
        return out.message;
    QString text = QStringLiteral("%1 سطر ثبت شد؛ %2 سطر خارج از محدوده").arg(out.written).arg(out.outOfRange);
    if (out.replaced > 0)
        text += QStringLiteral("؛ %1 سطر قبلي حذف شد").arg(out.replaced);
    if (out.stopped)
        text += QStringLiteral("؛ قرائت متوقف شد");
    if (!out.failure.isEmpty())
        text += QStringLiteral("\n") + out.failure;
    return text;
}

void TFREADSURATHESAB::rebuildBranches()
{
    const int a = int(account->code().value_or(0));
    const QString from = orvak::statements::monthStart(fromYear->currentData().toInt(), fromMonth->currentData().toInt());
    const QString to = orvak::statements::monthEnd(toYear->currentData().toInt(), toMonth->currentData().toInt());
    if (!ask(orvak::statements::sureText()))
        return;
    const auto done = orvak::statements::StatementReader(session_).rebuildBranches(a, from, to, *this);
    if (done.done)
        status->setText(QStringLiteral("اطلاعات شعب %1 سطر بازسازي شد").arg(done.changed));
}

TFREADSURATHESABSHAPARAK::TFREADSURATHESABSHAPARAK(orvak::startup::Session& session, QWidget* parent)
    : ReadScreenBase(session, true, parent)
{
    setWindowTitle(QStringLiteral("قرائت اطلاعات شاپرک"));
    readButton->setText(QStringLiteral("قرائت اطلاعات شاپرک"));
}

QString TFREADSURATHESABSHAPARAK::runReading()
{
    orvak::statements::SettlementRequest r;
    r.account = int(account->code().value_or(0));
    r.fromYear = fromYear->currentData().toInt();
    r.fromMonth = fromMonth->currentData().toInt();
    r.toYear = toYear->currentData().toInt();
    r.toMonth = toMonth->currentData().toInt();
    r.separator = separator->text().isEmpty() ? QLatin1Char(';') : separator->text()[0];
    r.files = tickedFiles();
    r.chequeDigits = chequeDigits->value();
    const orvak::statements::SettlementOutcome out = orvak::statements::SettlementReader(session_).read(r, *this);
    if (!out)
        return out.message;
    QString text = QStringLiteral("%1 سطر ثبت شد؛ %2 سطر خارج از محدوده؛ %3 سطر در صورتحساب يافت شد")
                       .arg(out.written)
                       .arg(out.outOfRange.size())
                       .arg(out.onStatement);
    if (!out.failure.isEmpty())
        text += QStringLiteral("\n") + out.failure;
    return text;
}

} // namespace orvak::ui::statements
