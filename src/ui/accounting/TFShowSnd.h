#pragma once
// "نمايش اسناد حسابداري ": one voucher of the year, its head, its rows with their
// names and its totals; a word is looked for among the rows, and the voucher is
// printed. It only reads.
#include "core/accounting/VoucherSheet.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace orvak::ui::accounting {

class TFShowSnd : public QDialog {
    Q_OBJECT
public:
    TFShowSnd(startup::Session& session, QWidget* parent = nullptr);

    // Shows the voucher; false (with "يافت نشد") when the year has no such voucher.
    bool showNumber(int number);
    const orvak::accounting::VoucherSheet& sheet() const { return sheet_; }
    QTableWidget* rows() const { return rows_; }
    QString totalsText() const;
    // Stands on the next row whose description holds the word; false when none does.
    bool findWord(const QString& word);
    void print();

private:
    void fill();

    startup::Session& session_;
    orvak::accounting::VoucherSheet sheet_;
    QLineEdit* number_ = nullptr;
    QLabel* head_ = nullptr;
    QTableWidget* rows_ = nullptr;
    QLabel* debit_ = nullptr;
    QLabel* credit_ = nullptr;
    QLabel* difference_ = nullptr;
    QLineEdit* word_ = nullptr;
};

} // namespace orvak::ui::accounting
