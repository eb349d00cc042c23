#pragma once
// Users, rights and passwords: TDE_USERS, TORVAK_V_USERS, TORVAK_DE_USERS,
// TUsr_Access, TGT_PASS, TFPass2 and TFPass3.
#include "ui/framework/EntryForm.h"
#include "ui/framework/ListScreen.h"
#include "core/startup/Login.h"

#include <QCheckBox>
#include <QDialog>
#include <QSpinBox>

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TDE_USERS : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TDE_USERS(Session& session, QWidget* parent = nullptr);
    QLineEdit* code = nullptr;
    QCheckBox* manager = nullptr;
    QCheckBox* enabled = nullptr;
    QSpinBox* sel[5] = {};
    QLineEdit* password = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
};

class TORVAK_V_USERS : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TORVAK_V_USERS(Session& session, QWidget* parent = nullptr);
};

class TORVAK_DE_USERS : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TORVAK_DE_USERS(Session& session, QWidget* parent = nullptr);
    QLineEdit* code = nullptr;
    QLineEdit* lastName = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* post = nullptr;
    QComboBox* eskind = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
    FamilyUser loaded_;
};

// "كنتــرل امنيت عبور كاربران": the guarded entries and a user's kinds of access.
class TUsr_Access : public QDialog {
    Q_OBJECT
public:
    TUsr_Access(Session& session, int userCode, QWidget* parent = nullptr);
    QTableWidget* table() const { return table_; }
    bool saveChanges();
    void bulk(BulkRights what);
    void applyToSelected();   // F9: the current row's kinds on every selected row
    bool hasChanges() const { return changed_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void load(const QList<Right>& rights);
    QList<Right> current() const;

    Session& session_;
    int user_;
    QTableWidget* table_ = nullptr;
    bool changed_ = false;
};

// "قفل / ورودمجدد / تغييرکاربر"
class TGT_PASS : public QDialog {
    Q_OBJECT
public:
    explicit TGT_PASS(Session& session, QWidget* parent = nullptr);
    QLineEdit* code = nullptr;
    QLineEdit* password = nullptr;
    bool enter();
    bool fullExitChosen() const { return fullExit_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Session& session_;
    bool fullExit_ = false;
};

// TFPass2 (own password) and TFPass3 (a manager sets another user's).
class TFPass2 : public QDialog {
    Q_OBJECT
public:
    explicit TFPass2(Session& session, QWidget* parent = nullptr);
    QLineEdit* current = nullptr;
    QLineEdit* fresh = nullptr;
    QLineEdit* repeated = nullptr;
    bool change();

private:
    Session& session_;
};

class TFPass3 : public QDialog {
    Q_OBJECT
public:
    TFPass3(Session& session, int userCode, QWidget* parent = nullptr);
    QLineEdit* fresh = nullptr;
    QLineEdit* repeated = nullptr;
    bool change();

private:
    Session& session_;
    int user_;
};

} // namespace orvak::ui::startup
