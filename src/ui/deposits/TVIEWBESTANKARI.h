#pragma once
// "اعلاميه هاي بستانكاري و اطلاعات مربوطه ": the credit notices with their orders,
// the searches by number and by date, the counts and sums of the current notice,
// new / edit / delete over TFDE_BESTANKARI, the two reports, and "انتخاب(F10)" that
// hands the current notice back to the deposits screen that opened the list.
#include "ui/basedata/RegisterList.h"
#include "core/deposits/CreditLetters.h"

class QLabel;

namespace orvak::ui::deposits {

class TVIEWBESTANKARI : public basedata::RegisterList {
    Q_OBJECT
public:
    explicit TVIEWBESTANKARI(orvak::startup::Session& session, QWidget* parent = nullptr);
    // As a picker: with "انتخاب(F10)".
    TVIEWBESTANKARI(orvak::startup::Session& session, bool picking, QWidget* parent = nullptr);

    void setOrder(orvak::deposits::NoticeOrder order);
    // The searches; false (after "يافت نشد ") when nothing matches.
    bool searchNumber(const QString& typed);
    bool searchDate(const QString& typed);
    void showAll();
    QString countsText() const;
    // "جستجو(F8)": by number or by date, or "همه".
    void search();

    std::optional<io::ReportModel> balanceReport();
    std::optional<io::ReportModel> historyReport();

private slots:
    void refreshCounts();

private:
    bool searched();

    QLabel* counts_ = nullptr;
};

// The list as a picker; nullopt when the user leaves (or the notice cannot be read,
// which is said).
std::optional<orvak::deposits::CreditLetter> pickCreditNotice(QWidget* parent, orvak::startup::Session& session, const QString& title);

} // namespace orvak::ui::deposits
