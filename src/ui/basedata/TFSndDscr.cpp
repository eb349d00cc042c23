#include "ui/basedata/TFSndDscr.h"

#include "ui/basedata/PartyListCommands.h"
#include "ui/framework/Doing.h"

#include <QComboBox>

#include "core/basedata/PartyLists.h"
#include "core/startup/Rights.h"

namespace orvak::ui::basedata {

namespace {

using framework::ListCommand;
using framework::ListScreen;
using orvak::basedata::DescriptionKey;
using orvak::basedata::StandardDescriptions;

TFSndDscr& self(ListScreen& l) { return static_cast<TFSndDscr&>(l); }

// The key of the row a command wrote, so the list stands on it again.
void reopenOn(ListScreen& l, const std::optional<DescriptionKey>& key)
{
    if (key)
        l.reopen(key->row);
}

framework::ListUi commands(startup::Session& session)
{
    framework::ListUi ui;
    ui.commands = {
        {QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert),
         [&session](ListScreen& l) {
             if (const auto text = askText(&l, QStringLiteral("شرح جديد"), QStringLiteral("شرح"))) {
                 framework::MessagePrompt prompt(&l);
                 reopenOn(l, StandardDescriptions(session).add(*text, prompt));
             }
         },
         false, true, startup::AccessInsert},
        {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F10),
         [&session](ListScreen& l) {
             const auto key = self(l).currentDescription();
             const auto text = askText(&l, QStringLiteral("ويرايش شرح"), QStringLiteral("شرح"));
             if (key && text) {
                 framework::MessagePrompt prompt(&l);
                 reopenOn(l, StandardDescriptions(session).change(*key, *text, prompt));
             }
         },
         true, true, startup::AccessEditOwn},
        {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
         [&session](ListScreen& l) {
             framework::MessagePrompt prompt(&l);
             if (const auto key = self(l).currentDescription(); key && StandardDescriptions(session).remove(*key, prompt))
                 l.reopen();
         },
         true, true, startup::AccessDelete},
        {QStringLiteral("در نظر گرفتن  اين شرح بعنوان شرح عمومي و همگاني"), QKeySequence(),
         [&session](ListScreen& l) {
             framework::MessagePrompt prompt(&l);
             if (const auto key = self(l).currentDescription())
                 reopenOn(l, StandardDescriptions(session).makeGeneral(*key, prompt));
         },
         true, true, startup::AccessEditOwn},
        nameSearch(QStringLiteral("جستجو"), QStringLiteral("جستجوي شرح"), QStringLiteral("کلمه در شرح"), QStringLiteral("DESCR")),
    };
    return ui;
}

} // namespace

TFSndDscr::TFSndDscr(startup::Session& session, QWidget* parent, orvak::basedata::DescriptionScope scope)
    : framework::ListScreen(session, orvak::basedata::standardDescriptionsList(), commands(session), parent)
    , session_(session)
{
    scopes_ = addChoiceRow(*this, QString(), orvak::basedata::descriptionScopes());
    setScope(scope);
    connect(scopes_, &QComboBox::currentIndexChanged, this, [this](int s) {
        setScope(orvak::basedata::DescriptionScope(s));
        reopen();
    });
}

void TFSndDscr::setScope(orvak::basedata::DescriptionScope scope)
{
    const QSignalBlocker quiet(scopes_);
    scopes_->setCurrentIndex(int(scope));
    const QVariantMap p = orvak::basedata::descriptionScopeParameters(scope, session_.currentUserCode());
    for (auto it = p.begin(); it != p.end(); ++it)
        setParameter(it.key(), it.value());
}

std::optional<DescriptionKey> TFSndDscr::currentDescription() const
{
    const int row = currentSourceRow();
    if (row < 0)
        return std::nullopt;
    const io::RowSet& rows = const_cast<TFSndDscr*>(this)->model().rows();
    return DescriptionKey{io::fieldValue(rows, row, QStringLiteral("UID")).toInt(), io::fieldValue(rows, row, QStringLiteral("ROW")).toInt()};
}

} // namespace orvak::ui::basedata
