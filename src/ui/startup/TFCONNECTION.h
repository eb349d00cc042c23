#pragma once
// "تنظيمات اوليه و راه اندازي نرم افزارهاي جامع اداري مالي اورواک": pointing this
// workstation at a server, setting up a new server, and the structure update.
#include "core/startup/Session.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QMenu;
class QRadioButton;

namespace orvak::ui::startup {

using namespace orvak::startup;

// "اطلاعات ارتباط با سرور": which login sets the server up, and its password.
class TFConnectionInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFConnectionInfo(bool localServer, QWidget* parent = nullptr);
    QString user() const;
    QString password() const;

private:
    QComboBox* login_ = nullptr;
    QLineEdit* password_ = nullptr;
};

class TFCONNECTION : public QDialog {
    Q_OBJECT
public:
    explicit TFCONNECTION(Session& session, QWidget* parent = nullptr);
    bool connectionConfirmed() const { return confirmed_; }

    QString serverName() const;   // "LOCAL:<folder>" or the SQL db::Server name
    void setLocalFolder(const QString& folder);
    void setSqlServer(const QString& name);

    bool initialSetup();
    bool workstationSetup(const std::optional<QString>& password = std::nullopt);
    bool updateTables();
    bool testServer();

    QLineEdit* dataFolder() const { return dataFolder_; }
    // What Enter in the data folder offers: "پيش فرض ORVAK\DATA", "پيش فرض SQL SERVER",
    // "نمايش مسير ها".
    QMenu* dataFolderChoices() const { return folderChoices_; }
    void useProgramDataFolder();
    void useServerDataFolder();
    // The users and backup screens, as the main menu opens them (with their access
    // entries); they need the connection confirmed. Each returns the screen opened.
    QWidget* openFamilyUsers();
    QWidget* openProgramUsers();
    QDialog* openBackup(bool forRestore);   // the backup screen, to be run

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void offerComputerName();
    // The server named on the screen, logged in with the login the user picks.
    std::unique_ptr<db::Server> reachServer();
    bool needsConnection();
    QWidget* openRegistered(const QString& key);
    QWidget* showRegistered(const QString& key);

    Session& session_;
    QRadioButton* local_ = nullptr;
    QRadioButton* sql_ = nullptr;
    QLineEdit* server_ = nullptr;
    QLineEdit* dataFolder_ = nullptr;
    QComboBox* version_ = nullptr;
    QMenu* folderChoices_ = nullptr;
    QList<QWidget*> needConnection_;
    bool confirmed_ = false;
};

} // namespace orvak::ui::startup
