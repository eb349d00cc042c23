#include "ui/startup/UV_USERS.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/startup/Login.h"
#include "ui/startup/UserScreens.h"

namespace orvak::ui::startup {

namespace {

framework::ListSpec usersSpec(Session& session, const std::shared_ptr<QHash<int, QString>>& names)
{
    framework::ListSpec s;
    s.title = QStringLiteral("کاربران اين نرم افزار");
    s.database = [&session] { return session.common(); };
    s.sql = QStringLiteral("Select * From PROGUSERS Where 1=1 and progid=:ProgId\nOrder By UCode");
    s.params = {{QStringLiteral(":ProgId"), ProgID}};
    s.keyField = QStringLiteral("UCODE");
    using io::CellFormat;
    s.columns = {
        io::fieldColumn(QStringLiteral("UCODE"), QStringLiteral("کد کاربر"), 80, CellFormat::Integer),
        io::computedColumn(QStringLiteral("نام و نام خانوادگي"), 220,
                           [names](const io::RowSet& rows, int row) { return names->value(rows.value(row, rows.fieldIndex(QStringLiteral("UCODE"))).toInt()); }),
        io::fieldColumn(QStringLiteral("ISMANAGER"), QStringLiteral("مدير"), 60, CellFormat::Boolean),
        io::computedColumn(QStringLiteral("وضعيت"), 80,
                           [](const io::RowSet& rows, int row) {
                               return rows.value(row, rows.fieldIndex(QStringLiteral("ISENABLE"))).toInt() == 1 ? QStringLiteral("مجاز")
                                                                                                                 : QStringLiteral("مسدود");
                           }),
        io::fieldColumn(QStringLiteral("SEL2"), QStringLiteral("سطح ثبت اطلاعات"), 110, CellFormat::Integer),
    };
    s.rowColour = [](const io::RowSet& rows, int row) {
        return rows.value(row, rows.fieldIndex(QStringLiteral("ISENABLE"))).toInt() == 1 ? QColor() : QColor(255, 225, 225);
    };
    auto edit = [&session](framework::ListScreen& list, bool insert) {
        TDE_USERS form(session, &list);
        list.runEntryForm(form, insert);
    };
    s.commands = {
        {QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), [edit](framework::ListScreen& l) { edit(l, true); }, false},
        {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F2), [edit](framework::ListScreen& l) { edit(l, false); }, true},
        {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
         [&session](framework::ListScreen& l) {
             if (!framework::Confirm(QStringLiteral("حذف کاربر %1.").arg(l.currentKey().toInt()), &l))
                 return;
             framework::MessagePrompt prompt(&l);
             if (deleteProgramUser(session, l.currentKey().toInt(), prompt))
                 l.reopen();
         },
         true},
        {QStringLiteral("سطوح دسترسي"), QKeySequence(), [&session](framework::ListScreen& l) { TUsr_Access(session, l.currentKey().toInt(), &l).exec(); }, true},
        {QStringLiteral("تغيير کلمه رمز"), QKeySequence(), [&session](framework::ListScreen& l) { TFPass3(session, l.currentKey().toInt(), &l).exec(); }, true},
    };
    return s;
}

framework::ListSpec historySpec(Session& session, const std::shared_ptr<QHash<int, QString>>& names)
{
    framework::ListSpec s;
    s.title = QStringLiteral("مرور تهيه پشتيبان");
    s.database = [&session] { return session.common(); };
    s.sql = QStringLiteral("Select * From HISTORY_RESBACK\nOrder By id DESC");
    s.keyField = QStringLiteral("id");
    s.menuVariant = 2;
    using io::CellFormat;
    s.columns = {
        io::fieldColumn(QStringLiteral("id"), QStringLiteral("رديف"), 60, CellFormat::Integer),
        io::computedColumn(QStringLiteral("نام کاربر"), 160,
                           [names](const io::RowSet& rows, int row) { return names->value(rows.value(row, rows.fieldIndex(QStringLiteral("usercode"))).toInt()); }),
        io::fieldColumn(QStringLiteral("dat_bk"), QStringLiteral("تاريخ"), 90, CellFormat::JalaliDate),
        io::fieldColumn(QStringLiteral("time_bk"), QStringLiteral("ساعت"), 70),
        io::computedColumn(QStringLiteral("نوع عمليات"), 160,
                           [](const io::RowSet& rows, int row) {
                               return rows.value(row, rows.fieldIndex(QStringLiteral("KindOperation"))).toInt() == 0
                                   ? QStringLiteral("ايجاد نسخه پشتيبان")
                                   : QStringLiteral("بازخواني از نسخه پشتيبان");
                           }),
        io::fieldColumn(QStringLiteral("Filename"), QStringLiteral("نام فايل"), 220),
        io::fieldColumn(QStringLiteral("path_bk"), QStringLiteral("مسير"), 220),
        io::fieldColumn(QStringLiteral("Dbname"), QStringLiteral("بانک اطلاعاتي"), 130),
    };
    return s;
}

} // namespace

namespace {
// The name column's lookup, read again whenever the list re-opens so that users
// added meanwhile show their names.
std::shared_ptr<QHash<int, QString>> namesFollowing(framework::ListScreen* list, Session& session, std::shared_ptr<QHash<int, QString>> names)
{
    QObject::connect(list, &framework::ListScreen::opened, list, [names, &session] { *names = userNames(session); });
    return names;
}
} // namespace

TV_USERS::TV_USERS(Session& session, QWidget* parent)
    : TV_USERS(session, std::make_shared<QHash<int, QString>>(), parent)
{
}

TV_USERS::TV_USERS(Session& session, std::shared_ptr<QHash<int, QString>> names, QWidget* parent)
    : framework::ListScreen(usersSpec(session, names), parent)
{
    namesFollowing(this, session, names);
}

Tview_history_resback::Tview_history_resback(Session& session, QWidget* parent)
    : Tview_history_resback(session, std::make_shared<QHash<int, QString>>(), parent)
{
}

Tview_history_resback::Tview_history_resback(Session& session, std::shared_ptr<QHash<int, QString>> names, QWidget* parent)
    : framework::ListScreen(historySpec(session, names), parent)
{
    namesFollowing(this, session, names);
}

} // namespace orvak::ui::startup
