#pragma once
// "ويرايش سال و ماه": the year and month a deposit's list is moved to.
#include <QDialog>
#include <optional>

class QComboBox;
class QLineEdit;

namespace orvak::ui::deposits {

struct YearMonth {
    int year = 0;
    int month = 0;   // 1..18
};

class TFSepYearMonth : public QDialog {
    Q_OBJECT
public:
    TFSepYearMonth(const QStringList& monthNames, YearMonth current, QWidget* parent = nullptr);
    // The typed year and chosen month; nullopt (with the message) for a year that is no year.
    std::optional<YearMonth> chosen(QString* message = nullptr) const;

    QLineEdit* year = nullptr;
    QComboBox* month = nullptr;
};

// Asks; nullopt when the user leaves.
std::optional<YearMonth> askYearMonth(const QStringList& monthNames, YearMonth current, QWidget* parent);

} // namespace orvak::ui::deposits
