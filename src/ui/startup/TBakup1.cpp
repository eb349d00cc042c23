#include "ui/startup/TBakup1.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"
#include "ui/startup/Tview_history_resback.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

namespace {
const QString kReady = QStringLiteral("آماده تهيه پشتيبان يا بازخواني");
const QString kWorking = QStringLiteral("لطفا صبر کنيد. در حال تهيه نسخه پشتيبان");
} // namespace

TBakup1::TBakup1(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("Bakup1"));
    setWindowTitle(QStringLiteral("توجه بفرمائيد! در تهيه نسخه پشتيبان و بازخواني از نسخه پشتيبان کاملا دقت داشته باشيد. "));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto withButton = [this](QLineEdit* edit, const QString& caption, auto action) {
        auto* row = new QHBoxLayout;
        edit->setLayoutDirection(Qt::LeftToRight);
        row->addWidget(edit);
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        row->addWidget(b);
        return row;
    };
    folder_ = new QLineEdit(this);
    file_ = new QLineEdit(this);
    dataFolder_ = new QLineEdit(this);
    database_ = new QComboBox(this);
    database_->setEditable(true);
    form->addRow(QStringLiteral(" مسير فايل پشتيبان"), withButton(folder_, QStringLiteral("انتخاب مسير"), [this] {
                     const QString f = QFileDialog::getExistingDirectory(this, QStringLiteral("انتخاب مسير"), typedFolder());
                     if (!f.isEmpty())
                         folder_->setText(QDir::toNativeSeparators(f));
                 }));
    form->addRow(QStringLiteral("نام فايل پشتيبان"), withButton(file_, QStringLiteral("انتخاب فايل"), [this] {
                     const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("انتخاب فايل"), typedFolder());
                     if (!f.isEmpty()) {
                         folder_->setText(QDir::toNativeSeparators(QFileInfo(f).absolutePath()));
                         file_->setText(QFileInfo(f).fileName());
                     }
                 }));
    form->addRow(QStringLiteral("نام بانک اطلاعاتي"), database_);
    form->addRow(QStringLiteral("مسير فايلهاي اطلاعاتي"), withButton(dataFolder_, QStringLiteral("تغيير مسير"), [this] {
                     const QString f = QFileDialog::getExistingDirectory(this, QStringLiteral("تغيير مسير"), dataFolder_->text());
                     if (!f.isEmpty())
                         dataFolder_->setText(QDir::toNativeSeparators(f));
                 }));
    number_ = new QLineEdit(this);
    number_->setReadOnly(true);
    form->addRow(QStringLiteral("شماره پشتيبان"), number_);
    periods_ = new QListWidget(this);
    periods_->setMaximumHeight(90);
    form->addRow(QStringLiteral("دوره هاي مالي موجود"), periods_);
    compress_ = new QCheckBox(QStringLiteral("پشتيبان فشرده (zip)"), this);
    form->addRow(QString(), compress_);
    layout->addLayout(form);
    status_ = new QLabel(kReady, this);
    layout->addWidget(new QLabel(QStringLiteral("وضعيت"), this));
    layout->addWidget(status_);

    auto* grid = new QGridLayout;
    auto button = [this, grid](const QString& caption, int r, int c) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);   // Enter in a field starts nothing
        grid->addWidget(b, r, c);
        return b;
    };
    QPushButton* doBackup = button(QStringLiteral("ايجاد نسخه پشتيبان"), 0, 0);
    restore_ = button(QStringLiteral("بازخواني از نسخه پشتيبان"), 0, 1);
    QPushButton* history = button(QStringLiteral("مرور تهيه پشتيبان"), 1, 0);
    QPushButton* compressCopy = button(QStringLiteral("فشرده سازي و کپي"), 1, 1);
    QPushButton* moreButton = button(QStringLiteral("ساير تسهيلات"), 2, 0);
    QPushButton* leave = button(QStringLiteral("خروج"), 2, 1);
    layout->addLayout(grid);

    more_ = new QMenu(this);
    more_->addAction(QStringLiteral("انتخاب  مسير و نام فايل"), this, [this] {
        const QString f = QFileDialog::getSaveFileName(this, QStringLiteral("انتخاب  مسير و نام فايل"),
                                                       QDir(typedFolder()).filePath(file_->text().trimmed()));
        if (!f.isEmpty()) {
            folder_->setText(QDir::toNativeSeparators(QFileInfo(f).absolutePath()));
            file_->setText(QFileInfo(f).fileName());
        }
    });
    more_->addAction(QStringLiteral("تعيين نام پيشنهادي با توجه به تاريخ و نام برنامه"), this, &TBakup1::proposeName);
    more_->addAction(QStringLiteral("پشتيبان از اطلاعات سال مالي فوق در همه بخش ها"), this, &TBakup1::backupAllSections);
    more_->addAction(QStringLiteral("اضافه نمودن نام سرور"), this, &TBakup1::addServerName);
    moreButton->setMenu(more_);

    connect(doBackup, &QPushButton::clicked, this, &TBakup1::backup);
    connect(restore_, &QPushButton::clicked, this, &TBakup1::restore);
    connect(history, &QPushButton::clicked, this, [this] {
        auto* list = framework::EnsureForm<Tview_history_resback>(session_);
        list->reopen();
        framework::showScreen(list);
    });
    connect(compressCopy, &QPushButton::clicked, this, [this] {
        const QString to = QFileDialog::getExistingDirectory(this, QStringLiteral("فشرده سازي و کپي"), typedFolder());
        if (!to.isEmpty())
            compressAndCopy(to);
    });
    connect(database_, &QComboBox::currentTextChanged, this, &TBakup1::showNumber);
    connect(leave, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 380);
}

void TBakup1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QString last = readLastBackupFolder(session_.startDir());
    folder_->setText(last.isEmpty() ? QDir::toNativeSeparators(QDir(session_.startDir()).filePath(QStringLiteral("BACKUP"))) : last);
    database_->clear();
    if (session_.server())
        database_->addItems(session_.server()->databaseNames());
    database_->setCurrentText(session_.hasDeposits() ? session_.depositDbName() : session_.commonDbName());
    if (session_.server())
        dataFolder_->setText(QDir::toNativeSeparators(session_.server()->defaultDataFolder()));
    periods_->clear();
    if (session_.server()) {
        for (int year : session_.ListAccountingYears()) {
            periods_->addItem(QString::number(year));
            if (year == session_.CurrentYear())
                periods_->setCurrentRow(periods_->count() - 1);
        }
    }
    showNumber();
}

void TBakup1::showNumber()
{
    if (!session_.server()) {
        number_->clear();
        return;
    }
    const auto history = backupHistory(session_);
    // A history that cannot be read gives no number rather than a wrong one.
    number_->setText(history.failed() ? QString() : QString::number(nextBackupNumber(*history, database_->currentText())));
}

QString TBakup1::status() const { return status_->text(); }

QString TBakup1::typedFolder() const { return QDir::fromNativeSeparators(folder_->text().trimmed()); }

int TBakup1::chosenYear() const
{
    const QListWidgetItem* item = periods_->currentItem();
    return item ? item->text().toInt() : session_.CurrentYear();
}

bool TBakup1::backup()
{
    framework::MessagePrompt prompt(this);
    BackupService service(session_, prompt);
    status_->setText(kWorking);
    status_->repaint();
    QDir().mkpath(typedFolder());
    const bool ok = service.backup(database_->currentText(), typedFolder(), file_->text(), compress_->isChecked());
    status_->setText(ok ? service.status() : kReady);
    showNumber();
    return ok;
}

bool TBakup1::restore()
{
    framework::MessagePrompt prompt(this);
    BackupService service(session_, prompt);
    const bool ok = service.restore(database_->currentText(), typedFolder(), file_->text(), QDir::fromNativeSeparators(dataFolder_->text()));
    showNumber();
    return ok;
}

bool TBakup1::backupAllSections()
{
    framework::TFDoing doing(QStringLiteral("پشتيبان از اطلاعات سال مالي فوق در همه بخش ها"), this);
    BackupService service(session_, doing);
    status_->setText(kWorking);
    QDir().mkpath(typedFolder());
    const QList<SectionBackup> report = service.backupYearInAllSections(chosenYear(), typedFolder(), compress_->isChecked());
    doing.hide();
    status_->setText(service.status());
    showNumber();
    if (report.isEmpty())
        return false;
    QStringList lines;
    for (const SectionBackup& line : report)
        lines << line.text();
    const bool ok = wentWell(report);
    if (ok)
        framework::ShowInfo(lines.join(QLatin1Char('\n')), this);
    else
        framework::ShowError(lines.join(QLatin1Char('\n')), this);
    return ok;
}

bool TBakup1::compressAndCopy(const QString& toFolder)
{
    framework::MessagePrompt prompt(this);
    return BackupService(session_, prompt).compressAndCopy(typedFolder(), file_->text(), QDir::fromNativeSeparators(toFolder));
}

void TBakup1::proposeName()
{
    const QString name = proposedBackupName(database_->currentText(), session_.clock());
    file_->setText(compress_->isChecked() ? compressedBackupName(name) : name);
}

void TBakup1::addServerName()
{
    folder_->setText(withServerName(session_.connection().serverName, folder_->text()));
}

void TBakup1::focusRestore() { restore_->setFocus(); }

} // namespace orvak::ui::startup
