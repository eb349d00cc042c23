#pragma once
// Backup and restore of the current deposits database (or another), with the
// history and the guarded buttons.
#include "core/startup/Backup.h"
#include "core/startup/Session.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TBakup1 : public QDialog {
    Q_OBJECT
public:
    explicit TBakup1(Session& session, QWidget* parent = nullptr);

    QLineEdit* folder() const { return folder_; }
    QLineEdit* fileName() const { return file_; }
    QComboBox* database() const { return database_; }
    // Where the server keeps the database's files; the restore uses it.
    QLineEdit* dataFolder() const { return dataFolder_; }
    QLineEdit* backupNumber() const { return number_; }
    QListWidget* periods() const { return periods_; }   // the fiscal years with an accounting database
    QCheckBox* compressed() const { return compress_; }
    QMenu* moreMenu() const { return more_; }           // "ساير تسهيلات"
    QString status() const;

    bool backup();
    bool restore();
    // The chosen fiscal period (this year when none is chosen) in every section.
    bool backupAllSections();
    bool compressAndCopy(const QString& toFolder);
    void proposeName();
    void addServerName();
    // Opened for a restore: the restore button has the focus.
    void focusRestore();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& session_;
    QLineEdit* folder_ = nullptr;
    QLineEdit* file_ = nullptr;
    QComboBox* database_ = nullptr;
    QLineEdit* dataFolder_ = nullptr;
    QLineEdit* number_ = nullptr;
    QListWidget* periods_ = nullptr;
    QCheckBox* compress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* restore_ = nullptr;
    QMenu* more_ = nullptr;

    void showNumber();
    QString typedFolder() const;
    int chosenYear() const;
};

} // namespace orvak::ui::startup
