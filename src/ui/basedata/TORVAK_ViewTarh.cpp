#include "ui/basedata/TORVAK_ViewTarh.h"

#include "ui/basedata/PartyListCommands.h"
#include "ui/basedata/TORVAK_DE_Tarh.h"
#include "ui/framework/Doing.h"
#include "core/basedata/PlanBankLists.h"
#include "core/basedata/Plans.h"
#include "core/startup/Rights.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    const orvak::basedata::Plans plans(session);
    // The change of number and the move re-point the plan's references: they write.
    auto recode = [&session](bool move) {
        return [&session, move](framework::ListScreen& l) {
            TitledPrompt prompt(&l, QStringLiteral("تغيير کد"));
            orvak::basedata::Plans p(session);
            if (move ? p.moveTo(l.currentKey().toLongLong(), prompt) : p.changeCode(l.currentKey().toLongLong(), prompt))
                l.reopen();
        };
    };
    return registerCommandsOf<TORVAK_DE_Tarh, orvak::basedata::Plans>(
        session, {{plans.words(QStringLiteral("تغيير کد طرح")), QKeySequence(), recode(false), true, true, startup::AccessEditOwn},
                  {plans.words(QStringLiteral("انتقال اطلاعات به طرح ديگر")), QKeySequence(), recode(true), true, true, startup::AccessEditOwn}});
}

} // namespace

TORVAK_ViewTarh::TORVAK_ViewTarh(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::plansList(session.SectionCode()), commands(session), parent)
{
    const orvak::basedata::Plans plans(session);
    auto words = [&plans](const char* text) { return plans.words(QString::fromUtf8(text)); };
    followSection(QStringLiteral(":CI"), [this, &session] { setWindowTitle(orvak::basedata::Plans(session).words(QStringLiteral("فهرست طرح ها"))); });
    addChoice(QStringLiteral("سال موافقتنامه"), QStringLiteral(":SAL_MOF"), yearChoices(session));
    addChoice(QStringLiteral("ترتيب"), QStringLiteral(":POrder"),
              {{words(" کد طرح ").trimmed(), 0}, {words(" نام طرح ").trimmed(), 1}, {words(" نوع طرح ").trimmed(), 2}, {QStringLiteral("كد حساب"), 3}});
    addSearch(words("جستــجوي كد طرح"), [this, t = words("جستــجوي كد طرح")] { searchWord(QStringLiteral("CODT"), t); });
    addSearch(QStringLiteral("جستــجوي كد حساب"), [this] { locate(QStringLiteral("CODT"), QStringLiteral("جستــجوي كد حساب")); });
    addSearch(words("جستجوي نام طرح"), [this, t = words("كلمه در نام طرح")] { searchWord(QStringLiteral("NAMET"), t); });
}

} // namespace orvak::ui::basedata
