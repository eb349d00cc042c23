#pragma once
// The projects (PROJEH) of the current financial section under their plans, with
// the place of execution (CENTERS) where each is carried out.
#include "core/basedata/CodedTable.h"
#include "core/io/ListDefinition.h"

namespace orvak::basedata {

struct Project {
    qint64 number = 0;        // PROJNO; 0 in insert mode: the next number
    qint64 plan = 0;          // TARHNO
    QString agreementCode;    // CODP
    QString name;             // NAMEP
    int kind = 0;             // KIND: execution method
    bool hasSubProjects = false;   // HVSUB
    qint64 mainProject = 0;   // MAINPROJ
    int startYear = 0;        // START_YEAR
    qint64 centre = 0;        // CENTERCODE
    int agreementYear = 0;    // SAL_MOF
    QString goal;             // DESCROP
};

class Projects {
public:
    explicit Projects(startup::Session& session);

    static const CodedTable& table();
    static const io::CodeTexts& kinds();   // KIND: "پيماني", "اماني", ...
    // Where a project's number is held.
    static QList<Reference> references();

    std::optional<qint64> proposedCode() const;
    db::Fetched<Project> read(qint64 number) const;
    // The project of the section with the agreement code (CODP), the lowest number
    // when several carry it.
    db::Fetched<Project> byAgreementCode(const QString& code) const;

    // Number and name required; a number in use refused in insert mode; the plan,
    // the place and the main project must exist when given.
    std::optional<qint64> save(const Project& project, bool insert, startup::Prompt& prompt);
    // Refused while deposits, refunds, guarantees, contracts, vouchers or
    // sub-projects hold the project.
    bool remove(qint64 number, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
