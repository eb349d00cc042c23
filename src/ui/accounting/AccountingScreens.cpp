#include "ui/accounting/AccountingScreens.h"

#include "ui/accounting/TFSelectMonth.h"
#include "ui/accounting/TFShowSnd.h"
#include "ui/accounting/TFSndIssue.h"
#include "ui/accounting/TSrSnd1.h"
#include "ui/basedata/PartyListCommands.h"
#include "ui/basedata/RegisterList.h"
#include "ui/framework/MessageBoxes.h"
#include "core/accounting/VoucherSearch.h"

namespace orvak::ui::accounting {

namespace {

// Without the year's database there is nothing to choose from; the session said
// why when the year was chosen.
bool accountingOpen(Session& session) { return session.AccountingDbOpen(); }

Pick pickLedger(QWidget* parent, basedata::RegisterList* list, QStringList fields, const QString& code)
{
    return framework::pickFrom(list, {std::move(fields), code, QStringLiteral("NAME"), {}}, parent);
}

} // namespace

Pick pickGeneralLedger(QWidget* parent, Session& session)
{
    if (!accountingOpen(session))
        return std::nullopt;
    auto* list = new basedata::RegisterList(session, orvak::accounting::generalLedgersList(), {});
    list->setWindowTitle(QStringLiteral("فهرست حسابهاي كل"));
    list->addSearch(QStringLiteral("جستجوي كد حساب كل"), [list] { list->locate(QStringLiteral("CODE"), QStringLiteral("جستجوي كد حساب كل")); });
    list->addSearch(QStringLiteral("جستجوي نام حساب كل"), [list] { list->searchWord(QStringLiteral("NAME"), QStringLiteral("كلمه در نام حساب")); });
    return pickLedger(parent, list, {QStringLiteral("CODE"), QStringLiteral("NAME")}, QStringLiteral("CODE"));
}

Pick pickSubsidiaryLedger(QWidget* parent, Session& session, int kol)
{
    if (!accountingOpen(session))
        return std::nullopt;
    auto* list = new basedata::RegisterList(session, orvak::accounting::subsidiaryLedgersList(), {});
    list->setWindowTitle(QStringLiteral("فهرست معين"));
    list->setParameter(QStringLiteral(":PKol"), kol);
    list->addSearch(QStringLiteral("جستجوي كد حساب معين"), [list] { list->locate(QStringLiteral("CODE"), QStringLiteral("جستجوي كد حساب معين")); });
    list->addSearch(QStringLiteral("جستجوي نام حساب معين"), [list] { list->searchWord(QStringLiteral("NAME"), QStringLiteral("كلمه در نام حساب")); });
    list->addSearch(QStringLiteral("همه معينها"), [list] {
        list->setParameter(QStringLiteral(":PKol"), -1);
        list->reopen();
    });
    return pickLedger(parent, list, {QStringLiteral("KOL"), QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("KOLNAME")},
                      QStringLiteral("CODE"));
}

void showVoucher(QWidget* parent, Session& session, int number)
{
    if (number <= 0) {
        const std::optional<QString> typed = basedata::askText(parent, QStringLiteral("نمايش اسناد حسابداري "), QStringLiteral("شماره سند را وارد كنيد"));
        if (!typed)
            return;
        const std::optional<int> n = orvak::accounting::voucherNumber(*typed);
        if (!n) {
            framework::ShowInfo(QStringLiteral("شماره سند درست نيست: ") + typed->trimmed().left(20), parent);
            return;
        }
        number = *n;
    }
    TFShowSnd viewer(session, parent);
    if (viewer.showNumber(number))
        viewer.exec();
}

std::optional<FoundVoucherRow> searchVouchers(QWidget* parent, Session& session, const VoucherSearchPreset& preset)
{
    TSrSnd1 screen(session, parent);
    screen.setPicking(true);
    screen.applyPreset(preset);
    if (preset.runAtOnce)
        screen.search();
    if (screen.exec() != QDialog::Accepted)
        return std::nullopt;
    return screen.chosen();
}

QWidget* makeVoucherSearchScreen(Session& session, QWidget* parent) { return new TSrSnd1(session, parent); }

std::optional<MonthChoice> pickMonth(QWidget* parent, Session& session)
{
    TFSelectMonth picker(session, parent);
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return picker.chosen();
}

QString stoppedByUser() { return QStringLiteral("\x01stopped"); }

std::optional<VoucherIssue> issueVoucher(QWidget* parent, Session& session, const VoucherIssueRequest& request, const PostVoucher& post)
{
    TFSndIssue dialog(session, request, post, parent);
    dialog.exec();
    return dialog.issued();
}

} // namespace orvak::ui::accounting
