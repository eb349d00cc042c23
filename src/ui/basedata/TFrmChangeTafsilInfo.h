#pragma once
// "تغيير کلي اطلاعات تفصيلي اشخاص مشابه": the national identifier, the kind of person,
// the reporting-scheme type, category and identifier and the stock-exchange code,
// given to every selected account at once.
#include "core/basedata/DetailAccounts.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace orvak::ui::basedata {

class TFrmChangeTafsilInfo : public QDialog {
    Q_OBJECT
public:
    TFrmChangeTafsilInfo(startup::Session& session, QList<qint64> codes, QWidget* parent = nullptr);

    QLineEdit* nationalId = nullptr;
    QComboBox* personKind = nullptr;
    QComboBox* reportingType = nullptr;
    QComboBox* reportingCategory = nullptr;
    QLineEdit* nomineeCode = nullptr;
    QLineEdit* bourseCode = nullptr;

    orvak::basedata::BulkPartyValues values() const;
    // Writes the values to the accounts; false (after the message) when nothing changed.
    bool confirm();
    void buildNomineeCode();

private:
    startup::Session& session_;
    QList<qint64> codes_;
};

} // namespace orvak::ui::basedata
