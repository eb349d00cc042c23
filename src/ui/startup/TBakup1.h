#pragma once
// Backup and restore of the current deposits database (or another), with the
// history and the guarded buttons.
#include "core/startup/Backup.h"
#include "core/startup/Session.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TBakup1 : public QDialog {
    Q_OBJECT
public:
    explicit TBakup1(Session& session, QWidget* parent = nullptr);

    QLineEdit* folder() const { return folder_; }
    QLineEdit* fileName() const { return file_; }
    QComboBox* database() const { return database_; }
    QString status() const;

    bool backup();
    bool restore();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& session_;
    QLineEdit* folder_ = nullptr;
    QLineEdit* file_ = nullptr;
    QComboBox* database_ = nullptr;
    QLineEdit* dataFolder_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace orvak::ui::startup
