#pragma once
// "بررسي سررسيد ضمانتنامه هاي بانکي": the bank guarantees falling due in a window
// (from today, one month by default), with the kind filter, the order, the count, the
// report ("گزارش (F9)") and the extension-letter run ("صدور تمديد نامه") walked by the
// navigator "انتخاب و تمديد ضمانت نامه".
#include "ui/framework/ListScreen.h"
#include "core/guarantees/GuaranteeDue.h"
#include "core/startup/Session.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLabel;
class QProgressBar;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::guarantees {

using orvak::startup::Session;

class TFZEMSARRASID : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TFZEMSARRASID(Session& session, QWidget* parent = nullptr);

    orvak::guarantees::DueFilter filter() const;
    bool refresh();
    int listedCount() const { return count_; }
    // The window list's entry: the end from the start (7: typed).
    void chooseWindow(int entry);
    void printReport();
    // "صدور تمديد نامه": the period, then the navigator over the window.
    void issueExtensions();

    framework::JalaliDateEdit* from = nullptr;
    framework::JalaliDateEdit* to = nullptr;
    QComboBox* windowBox = nullptr;
    QComboBox* kindBox = nullptr;
    QComboBox* orderBox = nullptr;
    QLabel* countLabel = nullptr;

private:
    Session& session_;
    int count_ = 0;
};

// "انتخاب و تمديد ضمانت نامه": one guarantee of the run at a time.
class TFSelNextLetterQ : public QDialog {
    Q_OBJECT
public:
    TFSelNextLetterQ(Session& session, orvak::guarantees::ExtensionRun& run, QWidget* parent = nullptr);

    void showLetter();
    bool issueOne();
    void next();
    void issueAll();
    const std::vector<orvak::letters::LetterPage>& printed() const { return printed_; }
    QLabel* position = nullptr;
    QLabel* details = nullptr;

private:
    void showCurrent();

    Session& session_;
    orvak::guarantees::ExtensionRun& run_;
    std::vector<orvak::letters::LetterPage> printed_;
    QProgressBar* progress_ = nullptr;
};

} // namespace orvak::ui::guarantees
