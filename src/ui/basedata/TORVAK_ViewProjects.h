#pragma once
// The projects of the current section, filtered by plan and agreement year, in three orders, with the searches by code and by a word of the name.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TORVAK_ViewProjects : public RegisterList {
    Q_OBJECT
public:
    explicit TORVAK_ViewProjects(Session& session, QWidget* parent = nullptr);
    // Shows the projects of one plan (0: of every plan).
    void setPlan(qint64 plan);
};

} // namespace orvak::ui::basedata
