#pragma once
// "فراخواني اطلاعات اورواک از زير سيستم ها": the coding of a year's accounting program
// copied into the common database, and the coding of one section into section 0,
// with the conflicting parties side by side.
#include "core/basedata/CodingTransfer.h"
#include "core/startup/Session.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;

namespace orvak::ui::basedata {

class TORVAK_TRANSFERCODING : public QWidget {
    Q_OBJECT
public:
    explicit TORVAK_TRANSFERCODING(orvak::startup::Session& session, QWidget* parent = nullptr);

    orvak::basedata::TransferResult fromAccounting(orvak::basedata::AccountingKind kind);
    orvak::basedata::TransferResult betweenSections(orvak::basedata::SectionKind kind);

    QComboBox* year = nullptr;
    QComboBox* section = nullptr;   // "از بخش"; none chosen at first
    QListWidget* left = nullptr;
    QListWidget* right = nullptr;
    QLabel* count = nullptr;

private:
    void showResult(const orvak::basedata::TransferResult& r);
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
