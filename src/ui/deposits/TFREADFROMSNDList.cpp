#include "ui/deposits/TFREADFROMSNDList.h"

#include "core/deposits/VoucherReadingLists.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"

namespace orvak::ui::deposits {

namespace {

using framework::ListScreen;
using orvak::deposits::SavedCriteria;
using orvak::deposits::SavedReadingCriteria;

TViewList4Get& self(ListScreen& l) { return static_cast<TViewList4Get&>(l); }

framework::ListUi commands(startup::Session& session, std::function<std::optional<SavedCriteria>()> current)
{
    framework::ListUi ui;
    ui.commands = {
        {QStringLiteral("انتخاب(F10)"), QKeySequence(Qt::Key_F10),
         [](ListScreen& l) {
             if (const auto c = self(l).currentCriteria())
                 emit self(l).chosen(*c);
         },
         true, false, 0},
        {QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert),
         [&session, current](ListScreen& l) {
             const std::optional<SavedCriteria> c = current ? current() : std::nullopt;
             if (!c)
                 return;
             QString why;
             if (!SavedReadingCriteria(session).add(*c, &why))
                 framework::ShowError(why, &l);
             l.reopen();
         },
         false, true, 0},
        {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
         [&session](ListScreen& l) {
             const auto c = self(l).currentCriteria();
             framework::MessagePrompt prompt(&l);
             QString why;
             if (c && !SavedReadingCriteria(session).remove(c->section, c->kol, c->moin, prompt, &why) && !why.isEmpty())
                 framework::ShowError(why, &l);
             l.reopen();
         },
         true, true, 0},
    };
    return ui;
}

} // namespace

TViewList4Get::TViewList4Get(startup::Session& session, std::function<std::optional<SavedCriteria>()> current, QWidget* parent)
    : ListScreen(session, orvak::deposits::savedReadingCriteriaList(), commands(session, std::move(current)), parent)
{
}

std::optional<SavedCriteria> TViewList4Get::currentCriteria() const
{
    const int row = currentSourceRow();
    if (row < 0)
        return std::nullopt;
    const io::RowSet& rows = const_cast<TViewList4Get*>(this)->model().rows();
    auto value = [&](const char* field) { return io::fieldValue(rows, row, QString::fromLatin1(field)); };
    SavedCriteria c;
    c.section = value("C").toInt();
    c.kol = value("KOL").toInt();
    c.moin = value("MOIN").toInt();
    const char* const words[] = {"WORD1", "WORD2", "WORD3", "WORD4"};
    for (int i = 0; i < 4; ++i)
        c.words[size_t(i)] = value(words[i]).toString().trimmed();
    const int side = value("BEDBES").toInt();
    c.side = side >= 0 && side <= 2 ? orvak::deposits::ReadSide(side) : orvak::deposits::ReadSide::Credit;
    return c;
}

} // namespace orvak::ui::deposits
