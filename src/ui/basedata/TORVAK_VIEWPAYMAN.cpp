#include "ui/basedata/TORVAK_VIEWPAYMAN.h"

#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/TORVAK_DE_payman.h"
#include "ui/basedata/TViewPaymanKosurat.h"
#include "ui/basedata/TViewPaymanLetters.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/ContractLists.h"
#include "core/basedata/Contracts.h"
#include "core/basedata/PlanBankLists.h"

#include <QDialog>
#include <QInputDialog>
#include <QVBoxLayout>

namespace orvak::ui::basedata {

namespace {

using orvak::basedata::Contracts;

// A list of the current contract shown in a dialog of its own.
void showOf(framework::ListScreen& l, QWidget* list)
{
    QDialog d(&l);
    d.setWindowTitle(list->windowTitle());
    d.setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(&d);
    list->setParent(&d);
    layout->addWidget(list);
    d.resize(900, 500);
    d.exec();
}

framework::ListUi commands(Session& session)
{
    using framework::ListCommand;
    auto code = [](framework::ListScreen& l) { return io::fieldValue(l.model().rows(), l.currentSourceRow(), QStringLiteral("CODE")).toLongLong(); };
    QList<ListCommand> more{
        {QStringLiteral("سوابق پرداخت"), {}, [&session, code](framework::ListScreen& l) {
             auto* list = new framework::ListScreen(session, orvak::basedata::contractDepositsList(), {});
             list->setParameter(QStringLiteral(":PPayment"), code(l));
             list->reopen();
             showOf(l, list);
         }, true},
        {QStringLiteral("سوابق قرارداد"), {}, [&session, code](framework::ListScreen& l) { showOf(l, new TViewPaymanLetters(session, code(l))); }, true},
        {QStringLiteral("كسورات قرارداد"), {}, [&session, code](framework::ListScreen& l) { showOf(l, new TViewPaymanKosurat(session, code(l))); }, true},
        {QStringLiteral("تغيير واحد انتقالي"), {}, [&session, code](framework::ListScreen& l) {
             bool ok = false;
             const QStringList units = orvak::basedata::transferUnitChoices();
             const QString unit = QInputDialog::getItem(&l, QStringLiteral("تغيير واحد انتقالي"), QStringLiteral("مربوط به"), units, 0, false, &ok);
             if (!ok)
                 return;
             framework::MessagePrompt prompt(&l);
             const qint64 c = code(l);
             if (Contracts(session).setTransferUnit(c, int(units.indexOf(unit)), prompt))
                 l.reopen(l.currentKey());
         }, true, true},
        {QStringLiteral("تغيير تفصيلي پيمانکار"), {}, [&session, code](framework::ListScreen& l) {
             const std::optional<PartyPick> party = pickParty(&l, session);
             if (!party)
                 return;
             framework::MessagePrompt prompt(&l);
             if (Contracts(session).changeParty(code(l), party->code, prompt))
                 l.reopen(l.currentKey());
         }, true, true},
    };
    return registerCommandsOf<TORVAK_DE_payman, Contracts>(session, std::move(more));
}

} // namespace

TORVAK_VIEWPAYMAN::TORVAK_VIEWPAYMAN(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::contractsList(session.SectionCode()), commands(session), parent)
{
    followSection(QStringLiteral(":PCi"));
    addSearch(QStringLiteral("پيمانکار"), [this] {
        const std::optional<PartyPick> p = pickParty(this, this->session());
        setParty(p ? p->code : 0);
    });
    QList<std::pair<QString, QVariant>> units;
    const QStringList unitTexts = orvak::basedata::transferUnitChoices();
    for (int i = 0; i < unitTexts.size(); ++i)
        units.append({unitTexts[i], i});
    addChoice(QStringLiteral("مربوط به"), QStringLiteral(":PUnit"), units);
    QList<std::pair<QString, QVariant>> orders;
    const QStringList orderTexts = orvak::basedata::contractOrders();
    for (int i = 0; i < orderTexts.size(); ++i)
        orders.append({orderTexts[i], i});
    addChoice(QStringLiteral("ترتيب"), QStringLiteral(":POrder"), orders);
    addSearch(QStringLiteral("جستجوي شماره قرارداد"), [this] { locate(QStringLiteral("PAYMENTNO"), QStringLiteral("جستجوي شماره قرارداد")); });
    addSearch(QStringLiteral("جستجوي شناسه قرارداد"), [this] { locate(QStringLiteral("CODE"), QStringLiteral("جستجوي شناسه قرارداد")); });
    addSearch(QStringLiteral("جستجوي شرح قرارداد"), [this] { searchWord(QStringLiteral("DESCR"), QStringLiteral("جستجوي شرح قرارداد")); });
    addSearch(QStringLiteral("جستجوي پيمانكار"), [this] { searchBy(int(orvak::basedata::ContractSearch::Party), QStringLiteral("جستجوي پيمانكار")); });
    addSearch(QStringLiteral("جستجوي طرح"), [this] { searchBy(int(orvak::basedata::ContractSearch::Plan), QStringLiteral("جستجوي طرح")); });
    addSearch(QStringLiteral("جستجوي کد پروژه"), [this] { searchBy(int(orvak::basedata::ContractSearch::Project), QStringLiteral("جستجوي کد پروژه")); });
}

void TORVAK_VIEWPAYMAN::setParty(qint64 party)
{
    party_ = party;
    setParameter(QStringLiteral(":PTafsil"), party);
    reopen();
}

void TORVAK_VIEWPAYMAN::searchBy(int by, const QString& question)
{
    framework::MessagePrompt prompt(this);
    const std::optional<QString> word = prompt.askText(question, false);
    if (!word)
        return;
    if (word->trimmed().isEmpty()) {
        removeFilters();
        return;
    }
    const db::Fetched<QList<qint64>> codes = Contracts(session()).search(orvak::basedata::ContractSearch(by), *word);
    if (!codes) {
        framework::ShowError(codes.error(), this);
        return;
    }
    setFilterText(orvak::basedata::codesFilter(QStringLiteral("CODE"), *codes));
}

} // namespace orvak::ui::basedata
