#pragma once
// Contractor information: one detail account with every column of TAFSILI, on
// pages. Leaving the national identifier, the name and the stock-exchange code runs
// their checks at once; "توليد شناسه -->>" builds the reporting identifier.
#include "ui/framework/EntryForm.h"
#include "core/basedata/DetailAccounts.h"

#include <QHash>

class QComboBox;
class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class CodeEdit;
}

namespace orvak::ui::basedata {

class TORVAK_DE_TAFSIL : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TORVAK_DE_TAFSIL(startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* code = nullptr;
    QLineEdit* field(const QString& column) const { return texts_.value(column); }
    QComboBox* combo(const QString& column) const { return combos_.value(column); }
    QComboBox* group = nullptr;
    framework::CodeEdit* trade1 = nullptr;
    framework::CodeEdit* trade2 = nullptr;
    QLabel* ibanBank = nullptr;

    // The values on the screen as the service takes them.
    orvak::basedata::DetailAccount account() const;
    void buildNomineeCode();
    void pickGroup();
    // A stamp, signature or representative's picture (MOHR, EMZA, NAMAYANDEH) for the row.
    bool setPicture(const QString& column, const QByteArray& image);
    QLabel* picture(const QString& column) const { return pictures_.value(column); }

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void fillGroups();
    void showIbanBank();
    QStringList editedColumns() const;
    QVariant shownState(const QString& column) const;

    startup::Session& session_;
    orvak::basedata::DetailAccounts accounts_;
    QHash<QString, QLineEdit*> texts_;
    QHash<QString, QComboBox*> combos_;
    void showPictures();

    QHash<QString, QLabel*> pictures_;
    QVariantMap kept_;   // the loaded row, and the pictures chosen since
    QVariantMap shown_;  // what each field showed when the row was loaded (edit mode)
};

} // namespace orvak::ui::basedata
