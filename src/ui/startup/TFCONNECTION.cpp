#include "ui/startup/TFCONNECTION.h"

#include "ui/AppScreens.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/Backup.h"
#include "core/startup/Rights.h"
#include "core/startup/ServerSetup.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TFupdateProgress.h"
#include "ui/startup/TORVAK_V_USERS.h"
#include "ui/startup/TV_USERS.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QSysInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

TFConnectionInfo::TFConnectionInfo(bool localServer, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("اطلاعات ارتباط با سرور"));
    auto* form = new QFormLayout(this);
    login_ = new QComboBox(this);
    login_->addItem(QStringLiteral("کاربر اصلي اس کيو ال سرور   SQL SERVER System Administrator : sa"), QStringLiteral("sa"));
    login_->addItem(QStringLiteral("کاربر  مجموعه نرم افزارهاي مالي و اداري اورواک   ORVAK Admin  : orvak "), QStringLiteral("orvak"));
    login_->addItem(QStringLiteral("حساب کاربري ويندوز"), QStringLiteral("orvak"));
    if (localServer)
        login_->setCurrentIndex(1);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("کاربر"), login_);
    form->addRow(QStringLiteral("کلمه رمز"), password_);
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("تاييد"), this);
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    row->addWidget(ok);
    row->addWidget(cancel);
    form->addRow(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFConnectionInfo::user() const { return login_->currentData().toString(); }
QString TFConnectionInfo::password() const { return password_->text(); }

TFCONNECTION::TFCONNECTION(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("تنظيمات اوليه و راه اندازي نرم افزارهاي جامع اداري مالي اورواک"));
    auto* layout = new QVBoxLayout(this);
    auto* kind = new QHBoxLayout;
    local_ = new QRadioButton(QStringLiteral("پوشه داده محلي"), this);
    sql_ = new QRadioButton(QStringLiteral("SQL Server"), this);
    local_->setChecked(true);
    kind->addWidget(local_);
    kind->addWidget(sql_);
    kind->addStretch();
    layout->addLayout(kind);
    auto* form = new QFormLayout;
    auto* serverRow = new QHBoxLayout;
    server_ = new QLineEdit(this);
    server_->setLayoutDirection(Qt::LeftToRight);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    serverRow->addWidget(server_);
    serverRow->addWidget(browse);
    form->addRow(QStringLiteral("نام سرور / پوشه داده ها"), serverRow);
    auto* pathRow = new QHBoxLayout;
    dataFolder_ = new QLineEdit(QDir::toNativeSeparators(QDir(session.startDir()).filePath(QStringLiteral("DATA"))) + QDir::separator(), this);
    dataFolder_->setLayoutDirection(Qt::LeftToRight);
    auto* defaultPath = new QPushButton(QStringLiteral("پيش فرض"), this);
    pathRow->addWidget(dataFolder_);
    pathRow->addWidget(defaultPath);
    form->addRow(QStringLiteral("مسير فايلهاي اطلاعاتي روي سرور"), pathRow);
    version_ = new QComboBox(this);
    version_->addItems({QStringLiteral("SQL SERVER 97"), QStringLiteral("SQL SERVER 2000"), QStringLiteral("SQL SERVER 2005"),
                        QStringLiteral("SQL SERVER 2008"), QStringLiteral("SQL SERVER 2012 or Latter")});
    version_->setCurrentIndex(2);
    form->addRow(QStringLiteral("نگارش SQL Server"), version_);
    layout->addLayout(form);

    auto* grid = new QGridLayout;
    auto button = [this, grid](const QString& caption, int r, int c) {
        auto* b = new QPushButton(caption, this);
        grid->addWidget(b, r, c);
        return b;
    };
    QPushButton* initial = button(QStringLiteral("راه اندازي اوليه"), 0, 0);
    QPushButton* workstation = button(QStringLiteral("راه اندازي كاربران و ارتباط با سرور"), 0, 1);
    QPushButton* update = button(QStringLiteral("بروز آوري جداول"), 1, 0);
    QPushButton* test = button(QStringLiteral("آزمايش  برقراري ارتباط با SQL Server"), 1, 1);
    QPushButton* createIni = button(QStringLiteral("ايجاد فايل SERVER.INI"), 2, 0);
    QPushButton* computer = button(QStringLiteral("در نظر گرفتن نام رايانه بعنوان نام SQL Server"), 2, 1);
    QPushButton* saveIni = button(QStringLiteral("ذخيره"), 3, 0);
    QPushButton* recallIni = button(QStringLiteral("فراخواني"), 3, 1);
    QPushButton* backup = button(QStringLiteral("تهيه نسخه پشتيبان از اطلاعات Backup Databases"), 4, 0);
    QPushButton* restore = button(QStringLiteral("برگرداندن بانک هاي اطلاعاتي Restore Orvak Databases"), 4, 1);
    QPushButton* familyUsers = button(QStringLiteral("كاربران مجموعه نرم افزارهاي اورواک"), 5, 0);
    QPushButton* users = button(QStringLiteral("معرفي کاربران اين نرم افزار و تعيين سطوح دسترسي"), 5, 1);
    QPushButton* back = button(QStringLiteral("بازگشت"), 6, 0);
    layout->addLayout(grid);
    needConnection_ = {update, backup, restore, familyUsers, users};
    // Enter in a field must not run the first command of the screen.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);

    connect(initial, &QPushButton::clicked, this, &TFCONNECTION::initialSetup);
    connect(workstation, &QPushButton::clicked, this, [this] { workstationSetup(); });
    connect(update, &QPushButton::clicked, this, &TFCONNECTION::updateTables);
    connect(test, &QPushButton::clicked, this, [this] {
        if (testServer())
            framework::ShowInfo(QStringLiteral("با موفقيت برقرار شد SQL Serrver ارتباط با"), this);
    });
    connect(createIni, &QPushButton::clicked, this, [this] {
        QString why;
        if (writeEmptyConnectionFile(session_.startDir(), &why))
            framework::ShowInfo(QStringLiteral("فايل SERVER.INI ايجاد شد."), this);
        else
            framework::ShowError(why, this);
    });
    connect(computer, &QPushButton::clicked, this, &TFCONNECTION::offerComputerName);
    auto copyIni = [this](bool toFolder) {
        const QString ini = QDir(session_.startDir()).filePath(QStringLiteral("INI"));
        QDir().mkpath(ini);
        const QString from = toFolder ? connectionFilePath(session_.startDir()) : QDir(ini).filePath(QStringLiteral("SERVER.INI"));
        const QString to = toFolder ? QDir(ini).filePath(QStringLiteral("SERVER.INI")) : connectionFilePath(session_.startDir());
        QFile::remove(to + QStringLiteral(".new"));
        if (QFile::copy(from, to + QStringLiteral(".new")) && (!QFile::exists(to) || QFile::remove(to)) && QFile::rename(to + QStringLiteral(".new"), to))
            framework::ShowInfo(QStringLiteral("موفيقت آميز بود!"), this);
        else
            framework::ShowError(QStringLiteral("فايل قابل کپي نيست: %1").arg(QDir::toNativeSeparators(from)), this);
    };
    connect(saveIni, &QPushButton::clicked, this, [copyIni] { copyIni(true); });
    connect(recallIni, &QPushButton::clicked, this, [copyIni] { copyIni(false); });
    connect(browse, &QPushButton::clicked, this, [this] {
        if (local_->isChecked()) {
            const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("پوشه داده ها"), session_.startDir());
            if (!folder.isEmpty())
                setLocalFolder(folder);
        } else {
            offerComputerName();
        }
    });
    connect(defaultPath, &QPushButton::clicked, this, &TFCONNECTION::useServerDataFolder);
    folderChoices_ = new QMenu(this);
    folderChoices_->addAction(QStringLiteral("پيش فرض ORVAK\\DATA"), this, &TFCONNECTION::useProgramDataFolder);
    folderChoices_->addAction(QStringLiteral("پيش فرض SQL SERVER"), this, &TFCONNECTION::useServerDataFolder);
    folderChoices_->addAction(QStringLiteral("نمايش مسير ها"), this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("نمايش مسير ها"), dataFolder_->text());
        if (!folder.isEmpty())
            dataFolder_->setText(QDir::toNativeSeparators(folder) + QDir::separator());
    });
    dataFolder_->installEventFilter(this);
    for (const auto& [command, forRestore] : {std::pair{backup, false}, std::pair{restore, true}}) {
        connect(command, &QPushButton::clicked, this, [this, forRestore = forRestore] {
            if (QDialog* screen = openBackup(forRestore))
                screen->exec();
        });
    }
    connect(familyUsers, &QPushButton::clicked, this, &TFCONNECTION::openFamilyUsers);
    connect(users, &QPushButton::clicked, this, &TFCONNECTION::openProgramUsers);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    connect(local_, &QRadioButton::toggled, this, &TFCONNECTION::refresh);

    db::ConnectionSettings settings;
    ReadConnectionFile(session_.startDir(), session_.installationNumber(), settings);
    if (isLocalServerName(settings.serverName))
        setLocalFolder(localFolderOf(settings.serverName, session_.startDir()));
    else if (!settings.serverName.isEmpty())
        setSqlServer(settings.serverName);
    else
        setLocalFolder(QDir(session_.startDir()).filePath(QStringLiteral("DATA")));
    confirmed_ = session_.isConnected();
    if (confirmed_)
        version_->setCurrentIndex(std::clamp(session_.sqlVersionIndex(), 0, 4));
    refresh();
    resize(640, 420);
}

bool TFCONNECTION::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dataFolder_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            folderChoices_->popup(dataFolder_->mapToGlobal(dataFolder_->rect().bottomLeft()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFCONNECTION::offerComputerName()
{
    const QString name = QSysInfo::machineHostName();
    if (framework::Ask(QStringLiteral("Computer Name =") + name + QLatin1Char('\n') + QStringLiteral("بعنوان سرور در نظر گرفته شود؟ "), this)
        == framework::AskYes)
        setSqlServer(name);
}

void TFCONNECTION::useProgramDataFolder()
{
    const QString folder = QDir(session_.startDir()).filePath(QStringLiteral("DATA"));
    if (!QDir().mkpath(folder)) {
        framework::ShowError(QStringLiteral("پوشه %1 قابل ساختن نيست").arg(QDir::toNativeSeparators(folder)), this);
        return;
    }
    dataFolder_->setText(QDir::toNativeSeparators(folder) + QDir::separator());
}

void TFCONNECTION::useServerDataFolder()
{
    // The server says where its own files are: the connected one when it is the one
    // named here, otherwise it is reached first.
    QString folder;
    if (session_.server() && session_.server()->serverName().compare(serverName(), Qt::CaseInsensitive) == 0) {
        folder = session_.server()->defaultDataFolder();
    } else if (const std::unique_ptr<db::Server> probe = reachServer()) {
        folder = probe->defaultDataFolder();
    } else {
        return;
    }
    if (folder.isEmpty()) {
        framework::ShowInfo(QStringLiteral("مسير فايلهاي اطلاعاتي سرور خوانده نشد"), this);
        return;
    }
    dataFolder_->setText(QDir::toNativeSeparators(folder));
}

bool TFCONNECTION::needsConnection()
{
    if (confirmed_)
        return false;
    framework::ShowInfo(QStringLiteral("ابتدا برقراري ارتباط با سرور را چک فرمائيد"), this);
    return true;
}

QWidget* TFCONNECTION::openRegistered(const QString& key)
{
    for (const framework::ScreenEntry& entry : appScreens().entries()) {
        if (entry.key != key)
            continue;
        return framework::openScreenOrTell(entry, session_, this);
    }
    return nullptr;
}

QWidget* TFCONNECTION::showRegistered(const QString& key)
{
    if (needsConnection())
        return nullptr;
    QWidget* screen = openRegistered(key);
    if (screen)
        framework::showScreen(screen);
    return screen;
}

QWidget* TFCONNECTION::openFamilyUsers() { return showRegistered(framework::keyOf<TORVAK_V_USERS>()); }

QWidget* TFCONNECTION::openProgramUsers() { return showRegistered(framework::keyOf<TV_USERS>()); }

QDialog* TFCONNECTION::openBackup(bool forRestore)
{
    if (needsConnection())
        return nullptr;
    // The screen's commands check again; the entry is asked before the screen opens.
    QString why;
    if (!(forRestore ? mayUse(session_, RestoreMenuId, AccessSpecial, &why) : mayUse(session_, BackupMenuId, 0, &why))) {
        framework::ShowInfo(why, this);
        return nullptr;
    }
    auto* screen = qobject_cast<TBakup1*>(openRegistered(framework::keyOf<TBakup1>()));
    if (!screen)
        return nullptr;
    if (forRestore)
        screen->focusRestore();
    return screen;
}

void TFCONNECTION::refresh()
{
    dataFolder_->setEnabled(sql_->isChecked());
    version_->setEnabled(sql_->isChecked());
    for (QWidget* w : needConnection_)
        w->setEnabled(confirmed_);
}

void TFCONNECTION::setLocalFolder(const QString& folder)
{
    local_->setChecked(true);
    server_->setText(QDir::toNativeSeparators(folder));
}

void TFCONNECTION::setSqlServer(const QString& name)
{
    sql_->setChecked(true);
    server_->setText(name);
}

QString TFCONNECTION::serverName() const
{
    const QString typed = server_->text().trimmed();
    if (typed.isEmpty())
        return {};
    return local_->isChecked() ? localServerNameFor(QDir::fromNativeSeparators(typed), session_.startDir()) : typed;
}

std::unique_ptr<db::Server> TFCONNECTION::reachServer()
{
    if (serverName().isEmpty()) {
        framework::ShowInfo(QStringLiteral("نام سرور مشخص نشده است"), this);
        return nullptr;
    }
    TFConnectionInfo info(local_->isChecked(), this);
    if (info.exec() != QDialog::Accepted)
        return nullptr;
    db::ConnectionSettings settings = session_.connection();
    settings.serverName = serverName();
    std::unique_ptr<db::Server> probe = makeServer(settings, session_.startDir());
    QString why;
    if (!probe->testConnection(info.user(), info.password(), &why)) {
        framework::ShowError(why, this);
        return nullptr;
    }
    return probe;
}

bool TFCONNECTION::testServer() { return reachServer() != nullptr; }

bool TFCONNECTION::initialSetup()
{
    TFConnectionInfo info(local_->isChecked(), this);
    if (info.exec() != QDialog::Accepted)
        return false;
    // Without a name the computer's is offered; the set-up tells when there is still none.
    if (server_->text().trimmed().isEmpty() && sql_->isChecked())
        offerComputerName();
    InitialSetupRequest request;
    request.serverName = serverName();
    request.adminUser = info.user();
    request.adminPassword = info.password();
    request.dataFolder = dataFolder_->text().trimmed();
    request.sqlVersionIndex = version_->currentIndex();
    framework::TFDoing doing(QStringLiteral("راه اندازي اوليه"), this);
    const InitialSetupResult result = startup::initialSetup(session_, request, doing);
    doing.hide();
    if (!result.ok)
        return false;
    // The orvak login exists now; its password sets up this workstation.
    return workstationSetup(info.user() == QLatin1String("orvak") ? std::optional<QString>(info.password()) : std::nullopt);
}

bool TFCONNECTION::workstationSetup(const std::optional<QString>& password)
{
    framework::MessagePrompt prompt(this);
    std::optional<QString> typed = password;
    if (!typed)
        typed = prompt.askText(QStringLiteral("Orvak PASSWORD in SQL SERVER"), true);
    if (!typed)
        return false;
    confirmed_ = startup::workstationSetup(session_, serverName(), *typed, version_->currentIndex(), prompt);
    refresh();
    return confirmed_;
}

bool TFCONNECTION::updateTables()
{
    if (!confirmed_) {
        framework::ShowInfo(QStringLiteral("ابتدا برقراري ارتباط با سرور را چک فرمائيد"), this);
        return false;
    }
    return framework::EnsureForm<TFupdateProgress>(session_)->exec() == QDialog::Accepted;
}

} // namespace orvak::ui::startup
