#pragma once
// The entry of a project ("پروژه ها"): number, plan (F7 picks), agreement code, name,
// execution method, sub-projects and main project, start year, place of execution
// (F7 picks), agreement year and qualitative goal.
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/startup/Session.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;

namespace orvak::ui::basedata {

class TORVAK_DE_Projects : public CodedEntry {
    Q_OBJECT
public:
    explicit TORVAK_DE_Projects(orvak::startup::Session& session, QWidget* parent = nullptr);

    framework::CodeEdit* plan = nullptr;
    QLineEdit* agreementCode = nullptr;
    QLineEdit* name = nullptr;
    QComboBox* kind = nullptr;
    QCheckBox* hasSubProjects = nullptr;
    framework::CodeEdit* mainProject = nullptr;
    QLineEdit* startYear = nullptr;
    framework::CodeEdit* centre = nullptr;
    QLineEdit* agreementYear = nullptr;
    QPlainTextEdit* goal = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
