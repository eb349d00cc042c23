#pragma once
// Every declared list by its name, for orvakctl: each subsystem contributes its
// lists through one function in the catalogue's table.
#include "core/io/ListDefinition.h"

namespace orvak::io {

// The declared lists, subsystem by subsystem.
QList<ListDefinition> allLists();
std::optional<ListDefinition> findList(const QString& name);
QStringList listNames();

} // namespace orvak::io
