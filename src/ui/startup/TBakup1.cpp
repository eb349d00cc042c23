#include "ui/startup/TBakup1.h"

#include "ui/framework/Doing.h"
#include "ui/framework/ScreenRegistry.h"
#include "ui/startup/Tview_history_resback.h"

#include <QComboBox>
#include <algorithm>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

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
                     const QString f = QFileDialog::getExistingDirectory(this, QStringLiteral("انتخاب مسير"), folder_->text());
                     if (!f.isEmpty())
                         folder_->setText(QDir::toNativeSeparators(f));
                 }));
    form->addRow(QStringLiteral("نام فايل پشتيبان"), withButton(file_, QStringLiteral("انتخاب فايل"), [this] {
                     const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("انتخاب فايل"), folder_->text());
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
    layout->addLayout(form);
    status_ = new QLabel(QStringLiteral("آماده تهيه پشتيبان يا بازخواني"), this);
    layout->addWidget(new QLabel(QStringLiteral("وضعيت"), this));
    layout->addWidget(status_);
    auto* grid = new QGridLayout;
    auto* doBackup = new QPushButton(QStringLiteral("ايجاد نسخه پشتيبان"), this);
    auto* doRestore = new QPushButton(QStringLiteral("بازخواني از نسخه پشتيبان"), this);
    auto* history = new QPushButton(QStringLiteral("مرور تهيه پشتيبان"), this);
    auto* propose = new QPushButton(QStringLiteral("تعيين نام پيشنهادي با توجه به تاريخ و نام برنامه"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج"), this);
    grid->addWidget(doBackup, 0, 0);
    grid->addWidget(doRestore, 0, 1);
    grid->addWidget(history, 1, 0);
    grid->addWidget(propose, 1, 1);
    grid->addWidget(leave, 2, 0);
    layout->addLayout(grid);
    connect(doBackup, &QPushButton::clicked, this, &TBakup1::backup);
    connect(doRestore, &QPushButton::clicked, this, &TBakup1::restore);
    connect(history, &QPushButton::clicked, this, [this] {
        auto* list = framework::EnsureForm<Tview_history_resback>(session_);
        list->reopen();
        framework::showScreen(list);
    });
    connect(propose, &QPushButton::clicked, this, [this] { file_->setText(proposedBackupName(database_->currentText(), session_.clock())); });
    connect(leave, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 340);
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
        for (int year : session_.ListAccountingYears())
            periods_->addItem(QString::number(year));
    }
    showNumber();
}

// The number the next backup gets: one more than the backups of the history.
void TBakup1::showNumber()
{
    const QList<BackupHistoryRow> rows = session_.server() ? backupHistory(session_) : QList<BackupHistoryRow>();
    const auto made = std::count_if(rows.begin(), rows.end(), [](const BackupHistoryRow& r) { return r.kind == 0; });
    number_->setText(QString::number(made + 1));
}

QString TBakup1::status() const { return status_->text(); }

bool TBakup1::backup()
{
    framework::MessagePrompt prompt(this);
    BackupService service(session_, prompt);
    status_->setText(QStringLiteral("لطفا صبر کنيد. در حال تهيه نسخه پشتيبان"));
    status_->repaint();
    QDir().mkpath(QDir::fromNativeSeparators(folder_->text()));
    const bool ok = service.backup(database_->currentText(), QDir::fromNativeSeparators(folder_->text()), file_->text());
    status_->setText(ok ? service.status() : QStringLiteral("آماده تهيه پشتيبان يا بازخواني"));
    showNumber();
    return ok;
}

bool TBakup1::restore()
{
    framework::MessagePrompt prompt(this);
    BackupService service(session_, prompt);
    const bool ok = service.restore(database_->currentText(), QDir::fromNativeSeparators(folder_->text()), file_->text(),
                                    QDir::fromNativeSeparators(dataFolder_->text()));
    showNumber();
    return ok;
}

} // namespace orvak::ui::startup
