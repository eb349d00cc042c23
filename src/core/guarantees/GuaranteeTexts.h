#pragma once
// The guarantee register's two small lists: the standard subject texts (ZEMDESCR,
// "شرح موضوع تضمينات"), seeded with the five standard rows when it is opened empty
// from the entry screen, and the archive folders (BAYGANI, "اسامي پوشه ها").
#include "core/basedata/NamedRegister.h"
#include "core/io/ListDefinition.h"

namespace orvak::guarantees {

class GuaranteeSubjects : public basedata::NamedRegister {
public:
    explicit GuaranteeSubjects(startup::Session& session);
    static const basedata::CodedTable& table();
    // The five standard texts, codes 1 to 5, written in one unit of work when the
    // table is empty (and only then); false, told, when it could not be read or written.
    bool seedWhenEmpty(startup::Prompt& prompt);
    static const QStringList& standardTexts();
    db::Fetched<QStringList> texts() const;
};

class ArchiveFolders : public basedata::NamedRegister {
public:
    explicit ArchiveFolders(startup::Session& session);
    static const basedata::CodedTable& table();
};

io::ListDefinition guaranteeSubjectsList();   // "guarantee-subjects"
io::ListDefinition archiveFoldersList();      // "archive-folders"

} // namespace orvak::guarantees
