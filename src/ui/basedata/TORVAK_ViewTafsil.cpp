#include "ui/basedata/TORVAK_ViewTafsil.h"

#include "ui/basedata/PartyListCommands.h"
#include "ui/basedata/TFrmChangeTafsilInfo.h"
#include "ui/basedata/TORVAK_DE_TAFSIL.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/DetailGroups.h"
#include "core/basedata/PartyLists.h"
#include "core/startup/Rights.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

namespace orvak::ui::basedata {

namespace {

using framework::ListCommand;
using framework::ListScreen;
using orvak::basedata::DetailAccounts;

TORVAK_ViewTafsil& self(ListScreen& l) { return static_cast<TORVAK_ViewTafsil&>(l); }

framework::ListUi commands(startup::Session& session)
{
    framework::ListUi ui;
    ui.commands = entryCommands([&session](ListScreen& l) { return std::make_unique<TORVAK_DE_TAFSIL>(session, &l); },
                                [&session](ListScreen& l, startup::Prompt& p) { return DetailAccounts(session).remove(l.currentKey().toLongLong(), p); });
    ui.commands << ListCommand{QStringLiteral("ترتيب"), QKeySequence(Qt::Key_F2), [](ListScreen& l) { self(l).nextOrder(); }, false, false, 0}
                << codeSearch(QStringLiteral("جستجوي كد"), QStringLiteral("جستجوي كد حساب تفضيلي"), QStringLiteral("كد تفضيلي "))
                << ListCommand{QStringLiteral("جستجوي نام"), QKeySequence(Qt::CTRL | Qt::Key_F),
                               [](ListScreen& l) {
                                   if (const auto word = askText(&l, QStringLiteral("جستجوي نام حساب تفضيلي"), QStringLiteral(" كلمه در نام حساب ")))
                                       self(l).searchName(*word);
                               },
                               false, false, 0}
                << ListCommand{QStringLiteral("تعريف فيلتر "), QKeySequence(),
                               [](ListScreen& l) {
                                   const auto general = askNumber(&l, QStringLiteral("تعريف فيلتر "), QStringLiteral("کد کل"));
                                   if (!general)
                                       return;
                                   if (const auto subsidiary = askNumber(&l, QStringLiteral("تعريف فيلتر "), QStringLiteral("کد معين")))
                                       self(l).filterLedger(*general, *subsidiary);
                               },
                               false, false, 0}
                << ListCommand{QStringLiteral("همه تفضيلي ها"), QKeySequence(), [](ListScreen& l) { self(l).showAll(); }, false, false, 0}
                << ListCommand{QStringLiteral("تغيير کد و حذف اين پيمانکار"), QKeySequence(),
                               [&session](ListScreen& l) {
                                   TitledPrompt prompt(&l, QStringLiteral("تغيير کد"));
                                   if (DetailAccounts(session).changeCode(l.currentKey().toLongLong(), prompt))
                                       l.reopen();
                               },
                               true, true, startup::AccessDelete}
                << ListCommand{QStringLiteral("تعيين اطلاعات براي تفصيلي هاي انتخابي"), QKeySequence(),
                               [&session](ListScreen& l) {
                                   TFrmChangeTafsilInfo dialog(session, self(l).selectedCodes(), &l);
                                   if (dialog.exec() == QDialog::Accepted)
                                       l.reopen(l.currentKey());
                               },
                               true, true, startup::AccessEditOwn}
                << ListCommand{QStringLiteral("فرم اطلاعات پيمانکار"), QKeySequence(), [](ListScreen& l) { self(l).printSheet(); }, true, false, 0};
    return ui;
}

} // namespace

TORVAK_ViewTafsil::TORVAK_ViewTafsil(startup::Session& session, QWidget* parent)
    : framework::ListScreen(session, orvak::basedata::detailAccountsList(), commands(session), parent)
    , session_(session)
{
    followSection(*this, session);
}

void TORVAK_ViewTafsil::showEvent(QShowEvent* event)
{
    if (followSection(*this, session_))
        reopen();
    framework::ListScreen::showEvent(event);
}

bool TORVAK_ViewTafsil::apply()
{
    orvak::basedata::PartyRestriction r;
    if (byName_ && byLedger_) {
        QList<qint64> both;
        std::set_intersection(byName_->begin(), byName_->end(), byLedger_->begin(), byLedger_->end(), std::back_inserter(both));
        r.codes = both;
    } else {
        r.codes = byName_ ? byName_ : byLedger_;
    }
    const QVariant key = currentKey();
    setQuery(orvak::basedata::detailAccountsSql(order_, r));
    return reopen(key);
}

void TORVAK_ViewTafsil::setOrder(orvak::basedata::PartyOrder order)
{
    order_ = order;
    apply();
}

void TORVAK_ViewTafsil::nextOrder() { setOrder(orvak::basedata::PartyOrder((int(order_) + 1) % 3)); }

bool TORVAK_ViewTafsil::searchName(const QString& word)
{
    if (word.trimmed().isEmpty()) {
        byName_.reset();
        return apply();
    }
    const auto codes = DetailAccounts(session_).codesMatching(word);
    if (!codes) {
        framework::ShowError(codes.error(), this);
        return false;
    }
    byName_ = *codes;
    return apply();
}

bool TORVAK_ViewTafsil::filterLedger(qint64 general, qint64 subsidiary)
{
    const auto codes = DetailAccounts(session_).codesInLedger(general, subsidiary);
    if (!codes) {
        framework::ShowError(codes.error(), this);
        return false;
    }
    QList<qint64> sorted = *codes;
    std::sort(sorted.begin(), sorted.end());
    byLedger_ = sorted;
    return apply();
}

void TORVAK_ViewTafsil::showAll()
{
    byName_.reset();
    byLedger_.reset();
    apply();
}

QList<qint64> TORVAK_ViewTafsil::selectedCodes() const
{
    QList<qint64> codes;
    for (const QVariant& k : selectedKeys())
        codes << k.toLongLong();
    if (codes.isEmpty() && currentKey().isValid())
        codes << currentKey().toLongLong();
    return codes;
}

void TORVAK_ViewTafsil::printSheet()
{
    const auto a = DetailAccounts(session_).read(currentKey().toLongLong());
    if (!a) {
        framework::ShowError(a.failed() ? a.error() : QStringLiteral(" يافت نشــد "), this);
        return;
    }
    const QVariant g = a->values.value(QStringLiteral("GROUPS"));
    const QString group = g.isNull() ? QString() : orvak::basedata::DetailGroups(session_).nameOf(g.toLongLong()).value_or(QString());
    const std::vector<io::ReportSignature> footer = frame().signatures ? frame().signatures() : std::vector<io::ReportSignature>{};
    const io::ReportModel sheet = orvak::basedata::contractorSheet(*a, group, footer);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(sheet.titleLines.value(0));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&sheet](QPrinter* p) { io::renderReport(sheet, *p); });
    preview.exec();
}

} // namespace orvak::ui::basedata
