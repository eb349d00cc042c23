#include "ui/guarantees/GuaranteeTextScreens.h"

#include "ui/basedata/TDE_CodeName.h"
#include "ui/framework/Picker.h"
#include "core/guarantees/GuaranteeTexts.h"

namespace orvak::ui::guarantees {

namespace {

template <class Register>
framework::ListUi commands(orvak::startup::Session& session, const QString& title, const QString& caption, int width)
{
    auto reg = std::make_shared<Register>(session);
    return basedata::registerCommands(
        [reg, title, caption, width](framework::ListScreen& l) { return std::make_unique<basedata::TDE_CodeName>(*reg, title, caption, width, &l); },
        [reg](qint64 code, startup::Prompt& prompt) { return reg->remove(code, prompt); });
}

std::optional<QString> pickName(QWidget* parent, framework::ListScreen* list)
{
    framework::PickRequest request;
    request.fields = {QStringLiteral("NAME")};
    const auto picked = framework::pickFrom(list, request, parent);
    if (!picked)
        return std::nullopt;
    return picked->current.value(QStringLiteral("NAME")).toString().trimmed();
}

} // namespace

TViewZemDescr::TViewZemDescr(orvak::startup::Session& session, QWidget* parent)
    : RegisterList(session, orvak::guarantees::guaranteeSubjectsList(),
                   commands<orvak::guarantees::GuaranteeSubjects>(session, QStringLiteral("شرح موضوع تضمينات"), QStringLiteral("شرح"), 100), parent)
{
    addCodeAndNameSearch(QStringLiteral("جستجوي کد"), QStringLiteral("NAME"), QStringLiteral("کلمه در شرح"));
}

TViewBaygani::TViewBaygani(orvak::startup::Session& session, QWidget* parent)
    : RegisterList(session, orvak::guarantees::archiveFoldersList(),
                   commands<orvak::guarantees::ArchiveFolders>(session, QStringLiteral("اسامي پوشه ها"), QStringLiteral("نام پوشه"), 50), parent)
{
}

std::optional<QString> pickGuaranteeSubject(QWidget* parent, orvak::startup::Session& session)
{
    return pickName(parent, new TViewZemDescr(session));
}

std::optional<QString> pickArchiveFolder(QWidget* parent, orvak::startup::Session& session)
{
    return pickName(parent, new TViewBaygani(session));
}

} // namespace orvak::ui::guarantees
