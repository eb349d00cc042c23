#pragma once
// "سوابق قرارداد": the history letters of one contract.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewPaymanLetters : public RegisterList {
    Q_OBJECT
public:
    TViewPaymanLetters(Session& session, qint64 contract, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
