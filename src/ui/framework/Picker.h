#pragma once
// A list screen opened modally by another screen to choose rows. "ادامه (ENTER)"
// (Enter or a double click on the grid) hands back the current row's fields, the
// number of grid rows and, for several selected rows, their codes and "code,name"
// pairs. The list keeps its own commands, so a row added while picking can be
// chosen at once; the caller learns that the list changed.
#include "ui/framework/ListScreen.h"

#include <QDialog>
#include <functional>
#include <optional>

namespace orvak::ui::framework {

struct PickResult {
    QVariantMap current;             // the asked fields of the current row, by the names asked
    int rowCount = 0;                // rows in the grid
    QString selectedCodes = QStringLiteral("0");   // "12,15"; "0" for no selection
    QString selectedPairs = QStringLiteral("0");   // "12,name1,15,name2"; "0" for no selection
    bool listChanged = false;        // the list was written while it was open
};

struct PickRequest {
    QStringList fields;              // returned from the current row
    QString codeField;               // for the selection's codes and pairs
    QString nameField;
    // Said or asked before handing back (e.g. a warning on the chosen row); false
    // keeps the picker open.
    std::function<bool(const PickResult&, QWidget* parent)> beforeReturn;
    // The caption of the button that hands the row back; empty: "ادامه (ENTER)".
    QString continueText = {};
};

class PickerDialog : public QDialog {
    Q_OBJECT
public:
    // Takes the screen over (it becomes the dialog's child).
    PickerDialog(ListScreen* screen, PickRequest request, QWidget* parent = nullptr);

    ListScreen& screen() const { return *screen_; }
    // What "ادامه (ENTER)" would hand back now; nullopt without a current row.
    std::optional<PickResult> currentResult() const;
    const std::optional<PickResult>& result() const { return result_; }

public slots:
    void continueWithCurrent();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ListScreen* screen_;
    PickRequest request_;
    std::optional<PickResult> result_;
    int opens_ = 0;
};

// Opens the screen as a picker and waits; nullopt when the user leaves without
// choosing.
std::optional<PickResult> pickFrom(ListScreen* screen, PickRequest request, QWidget* parent = nullptr);

} // namespace orvak::ui::framework
