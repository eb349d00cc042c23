#pragma once
// Fields the contract screens share: a combo of a contract parameter kind, of coded
// texts, and the executor and supervisor fields (F7 opens their lists).
#include "ui/framework/Editors.h"
#include "core/io/ListDefinition.h"
#include "core/startup/Session.h"

class QComboBox;

namespace orvak::ui::basedata {

// "" (0), then the kind's names with their codes as data.
QComboBox* parameterCombo(orvak::startup::Session& session, int kind, QWidget* parent);
// The same read again (rows added meanwhile), the choice kept.
void fillParameterCombo(QComboBox* combo, orvak::startup::Session& session, int kind);
// The texts with their codes as data, after an empty choice (0) when asked.
QComboBox* codeCombo(const io::CodeTexts& texts, QWidget* parent, bool withNone = false);
// Stands on the item whose data is the code; a code no item holds is added as its
// number (0 stands on the first item).
void selectCode(QComboBox* combo, const QVariant& code);

framework::CodeEdit* executorField(orvak::startup::Session& session, QWidget* parent);
framework::CodeEdit* supervisorField(orvak::startup::Session& session, QWidget* parent);

} // namespace orvak::ui::basedata
