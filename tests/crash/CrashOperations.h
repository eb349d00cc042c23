#pragma once
// The units of work the crash test ends at every step: each runs one operation of
// a register on a connected session (section 0 of the demo's last year open, the
// system manager logged in). A register adds its own here.
#include "core/startup/Session.h"

#include <QString>
#include <functional>
#include <optional>

namespace orvak::test::crash {

struct Operation {
    const char* name;
    const char* what;   // for the test's messages
    // Reads what the operation needs (outside the counted steps) and hands back the
    // unit of work itself, which returns false with the reason; empty when the
    // preparation failed.
    using Work = std::function<bool(QString* error)>;
    std::function<Work(startup::Session&, QString* error)> prepare;
};

const std::vector<Operation>& operations();
const Operation* findOperation(const QString& name);

} // namespace orvak::test::crash
