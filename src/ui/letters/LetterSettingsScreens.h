#pragma once
// The two letter settings screens: " تنظيمات نامه ها در تضمينات  " (the guarantee
// letters' numbering) and "تنظيمات نامه ها در سپرده ها" (the deposit letters' lines).
#include "core/letters/LetterSettings.h"
#include "core/startup/Session.h"

#include <QDialog>
#include <array>

class QLineEdit;

namespace orvak::ui::letters {

class TFZem_LtrSetting : public QDialog {
    Q_OBJECT
public:
    TFZem_LtrSetting(orvak::startup::Session& session, QWidget* parent = nullptr);
    QLineEdit* startNo = nullptr;
    QLineEdit* prefix = nullptr;
    QLineEdit* suffix = nullptr;
    QLineEdit* lastNo = nullptr;
    bool save();   // "ثبت و خروج"

private:
    orvak::startup::Session& session_;
    orvak::letters::GuaranteeLetterSettings settings_;
};

class TFSep_LtrSetting : public QDialog {
    Q_OBJECT
public:
    TFSep_LtrSetting(orvak::startup::Session& session, QWidget* parent = nullptr);
    QLineEdit* treasuryTitle = nullptr;
    std::array<QLineEdit*, 3> sending{};
    std::array<QLineEdit*, 3> request{};
    QLineEdit* treasuryHead = nullptr;
    bool save();

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::letters
