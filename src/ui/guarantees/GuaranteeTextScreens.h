#pragma once
// The guarantee register's small lists: "شرح موضوع تضمينات" (ZEMDESCR) and
// "اسامي پوشه ها" (BAYGANI), each with its entry, and as pickers for the entry screen.
#include "ui/basedata/RegisterList.h"

#include <optional>

namespace orvak::ui::guarantees {

class TViewZemDescr : public basedata::RegisterList {
    Q_OBJECT
public:
    explicit TViewZemDescr(orvak::startup::Session& session, QWidget* parent = nullptr);
};

class TViewBaygani : public basedata::RegisterList {
    Q_OBJECT
public:
    explicit TViewBaygani(orvak::startup::Session& session, QWidget* parent = nullptr);
};

// The chosen text (select with Enter); nullopt when the user leaves.
std::optional<QString> pickGuaranteeSubject(QWidget* parent, orvak::startup::Session& session);
std::optional<QString> pickArchiveFolder(QWidget* parent, orvak::startup::Session& session);

} // namespace orvak::ui::guarantees
