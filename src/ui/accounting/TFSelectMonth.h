#pragma once
// "انتخاب ماه": a month of the common database's month names and the year beside
// the current one ("سال قبل", "سال فعلي", "سال بعد").
#include "ui/accounting/AccountingScreens.h"

#include <QDialog>

class QComboBox;

namespace orvak::ui::framework {
class ListScreen;
}

namespace orvak::ui::accounting {

class TFSelectMonth : public QDialog {
    Q_OBJECT
public:
    TFSelectMonth(Session& session, QWidget* parent = nullptr);

    QComboBox* yearChoice() const { return year_; }
    framework::ListScreen& list() const { return *list_; }
    // The year and the current row's month; nullopt without a current row.
    std::optional<MonthChoice> current() const;
    const std::optional<MonthChoice>& chosen() const { return chosen_; }

public slots:
    void continueWithCurrent();

private:
    Session& session_;
    QComboBox* year_ = nullptr;
    framework::ListScreen* list_ = nullptr;
    std::optional<MonthChoice> chosen_;
};

} // namespace orvak::ui::accounting
