#include "ui/startup/TFPass2.h"
#include "ui/startup/TORVAK_DE_USERS.h"
#include "ui/startup/TUsr_Access.h"
#include "ui/startup/TORVAK_V_USERS.h"
#include "ui/startup/TV_USERS.h"
#include "ui/startup/Tview_history_resback.h"
#include "ui/framework/AuditHistoryDialog.h"
#include "ui/framework/Editors.h"
#include "core/db/Db.h"
#include "core/startup/Users.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"
#include "core/startup/Versions.h"
#include "ui/AppScreens.h"
#include "ui/framework/ScreenRegistry.h"
#include "support/AutoAnswer.h"
#include "support/ScriptedPrompt.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::ui::startup;
using orvak::test::TempInstallation;

namespace {
// Closes the message box that comes up next and keeps its text.
void closeNextBox(QString* text)
{
    QTimer::singleShot(0, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->buttons().first()->click();
        }
    });
}

int rowOfKey(ui::framework::ListScreen& list, int key)
{
    for (int r = 0; r < list.model().rowCount(); ++r) {
        if (list.model().cellText(r, 0) == QString::number(key))
            return r;
    }
    return -1;
}
} // namespace

TEST(UserScreens, ProgramUsersShowNamesStatesAndBlockedRowsFromTheDeclaredList)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    TV_USERS list(session);
    ASSERT_TRUE(list.reopen());
    const int columns = list.model().columnCount();
    ASSERT_EQ(columns, 5);
    EXPECT_EQ(list.model().headerData(1, Qt::Horizontal).toString(), QStringLiteral("نام و نام خانوادگي"));

    // A user added while the list is open shows his name and state on re-opening.
    ScriptedPrompt quiet;
    ProgramUser clerk;
    clerk.code = 9;
    clerk.enabled = false;
    clerk.password = QStringLiteral("p");
    ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet));
    FamilyUser person;
    person.code = 9;
    person.name = QStringLiteral("سارا");
    person.lastName = QStringLiteral("رضايي");
    ASSERT_TRUE(saveFamilyUser(session, person, true, quiet));
    ASSERT_TRUE(list.reopen(9));
    EXPECT_EQ(list.currentKey().toInt(), 9);
    const int row = rowOfKey(list, 9);
    ASSERT_GE(row, 0);
    EXPECT_EQ(list.model().cellText(row, 1), QStringLiteral("سارا رضايي"));
    EXPECT_EQ(list.model().cellText(row, 3), QStringLiteral("مسدود"));
    EXPECT_EQ(list.model().data(list.model().index(row, 0), Qt::BackgroundRole).value<QBrush>().color(),
              ui::framework::rowKindColour(io::RowKind::Blocked));
    const int manager = rowOfKey(list, 3);
    ASSERT_GE(manager, 0);
    EXPECT_EQ(list.model().cellText(manager, 3), QStringLiteral("مجاز"));
    EXPECT_FALSE(list.model().data(list.model().index(manager, 0), Qt::BackgroundRole).isValid());
    EXPECT_TRUE(list.frame().columns[1].isComputed());   // the looked-up name is not the query's field
}

TEST(UserScreens, FamilyUsersAndHistoryShareTheCoreTexts)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt quiet;
    FamilyUser person;
    person.code = 8;
    person.lastName = QStringLiteral("کريمي");
    person.eskind = 3;
    ASSERT_TRUE(saveFamilyUser(session, person, true, quiet));

    TORVAK_V_USERS family(session);
    ASSERT_TRUE(family.reopen(8));
    const int row = rowOfKey(family, 8);
    ASSERT_GE(row, 0);
    EXPECT_EQ(family.model().cellText(row, 4), employmentKinds().textOf(3));

    TORVAK_DE_USERS form(session);
    ASSERT_TRUE(form.startEdit(8));
    EXPECT_EQ(form.eskind->count(), 5);
    EXPECT_EQ(form.eskind->currentText(), employmentKinds().textOf(3));
    // A failed save reports core's message as the form's error and changes nothing.
    form.lastName->clear();
    QString shown;
    closeNextBox(&shown);
    EXPECT_FALSE(form.saveAndClose());
    EXPECT_EQ(shown, QStringLiteral("اطلاعات کامل نيست"));
    EXPECT_EQ(readFamilyUser(session, 8)->lastName, QStringLiteral("کريمي"));

    Tview_history_resback history(session);
    ASSERT_TRUE(history.reopen());
    EXPECT_EQ(history.contextMenu()->actions().value(0)->text(), QStringLiteral("محدوديت(فيلتر)"));
    EXPECT_EQ(history.model().headerData(4, Qt::Horizontal).toString(), QStringLiteral("نوع عمليات"));
}

TEST(UserScreens, TheCurrentRowsChangeHistoryIsOneMenuCommandAway)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    session.setCurrentUserCode(3);
    ScriptedPrompt quiet;
    ProgramUser clerk;
    clerk.code = 12;
    clerk.password = QStringLiteral("1234");
    ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet));
    clerk.sel[1] = 1;
    ASSERT_TRUE(saveProgramUser(session, clerk, false, quiet));

    TV_USERS list(session);
    ASSERT_TRUE(list.reopen(12));
    QAction* history = nullptr;
    for (QAction* a : list.contextMenu()->actions())
        history = a->text() == QStringLiteral("تاريخچه تغييرات") ? a : history;
    ASSERT_NE(history, nullptr);
    history->trigger();
    auto* dialog = list.findChild<ui::framework::AuditHistoryDialog*>();
    ASSERT_NE(dialog, nullptr);
    // Newest first: the change of the write level, then the insert.
    ASSERT_EQ(dialog->table()->rowCount(), 2);
    EXPECT_EQ(dialog->table()->item(0, 7)->text(), QStringLiteral("ويرايش"));
    EXPECT_EQ(dialog->table()->item(0, 8)->text(), QStringLiteral("SEL2: 0 -> 1"));
    EXPECT_EQ(dialog->table()->item(1, 7)->text(), QStringLiteral("درج"));
    EXPECT_EQ(dialog->table()->item(1, 2)->text(), QStringLiteral("3"));
}

namespace {
const ui::framework::ScreenEntry* entryOf(const QString& caption)
{
    static const QList<ui::framework::ScreenEntry> entries = ui::appScreens().entries();
    for (const ui::framework::ScreenEntry& e : entries) {
        if (e.caption == caption)
            return &e;
    }
    return nullptr;
}

const QString kFamilyUsers = QStringLiteral("کاربران اورواک");
const QString kProgramUsers = QStringLiteral("معرفي کاربران اين نرم افزار و تعيين سطوح دسترسي");
} // namespace

TEST(UserScreens, BothUsersScreensAreGuardedByTheUsersEntryAndItsListButtonBits)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt quiet({}, true);
    for (int code : {7, 8}) {
        ProgramUser clerk;
        clerk.code = code;
        clerk.password = QStringLiteral("p");
        ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet));
        FamilyUser person;
        person.code = code;
        person.lastName = QStringLiteral("کارمند");
        ASSERT_TRUE(saveFamilyUser(session, person, true, quiet));
    }
    // 7 sees the users (view only); 8 is refused the entry.
    QList<Right> rights = userRights(session, 7);
    rights[0].kinds[1] = 1;
    ASSERT_TRUE(saveRights(session, 7, rights, quiet));
    rights = userRights(session, 8);
    rights[0].kinds[0] = 1;
    ASSERT_TRUE(saveRights(session, 8, rights, quiet));

    for (const QString& caption : {kFamilyUsers, kProgramUsers}) {
        const ui::framework::ScreenEntry* entry = entryOf(caption);
        ASSERT_NE(entry, nullptr) << caption.toStdString();
        EXPECT_EQ(entry->accessId, UsersMenuId) << caption.toStdString();
        EXPECT_EQ(guardedEntries().value(entry->accessId - 1), QStringLiteral("تعيين سطوح دسترسي كاربران"));

        ASSERT_TRUE(logInAs(session, QStringLiteral("8"), QStringLiteral("p"), quiet));
        EXPECT_EQ(ui::framework::openScreen(*entry, session, nullptr).refusal, menuRefusalText());

        ASSERT_TRUE(logInAs(session, QStringLiteral("7"), QStringLiteral("p"), quiet));
        const ui::framework::ScreenOpening opening = ui::framework::openScreen(*entry, session, nullptr);
        auto* list = qobject_cast<ui::framework::ListScreen*>(opening.screen);
        ASSERT_NE(list, nullptr) << opening.refusal.toStdString() << opening.failure.toStdString();
        EXPECT_EQ(list->access(), AccessView);
        list->show();
        ASSERT_TRUE(list->reopen(3));
        ASSERT_EQ(list->currentKey().toInt(), 3);
        for (int command : {0, 1, 2}) {   // new, edit, delete
            QString shown;
            closeNextBox(&shown);
            list->commandButton(command)->click();
            EXPECT_EQ(shown, refusalText()) << caption.toStdString() << ' ' << command;
        }
        EXPECT_TRUE(readProgramUser(session, 3).has_value());
        EXPECT_TRUE(readFamilyUser(session, 3).has_value());

        // The manager, whose rights rows say nothing, has every bit.
        ASSERT_TRUE(logInAs(session, QStringLiteral("3"), t.setup.initialPassword, quiet));
        ASSERT_EQ(ui::framework::openScreen(*entry, session, nullptr).screen, list);
        EXPECT_EQ(list->access(), AccessAll);
        ui::framework::closeAllScreens();
    }
}

TEST(UserScreens, ChangingThePasswordOffersTheIncompleteRecordWhichTheUserCompletes)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt quiet({}, true);
    ProgramUser clerk;
    clerk.code = 7;
    clerk.password = QStringLiteral("secret");
    ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet));
    FamilyUser person;
    person.code = 7;
    person.lastName = QStringLiteral("کريمي");
    ASSERT_TRUE(saveFamilyUser(session, person, true, quiet));
    // A clerk without any right on the users entry.
    ASSERT_TRUE(logInAs(session, QStringLiteral("7"), QStringLiteral("secret"), quiet));
    ASSERT_TRUE(session.user().recordIncomplete);

    TFPass2 dialog(session);
    dialog.current->setText(QStringLiteral("secret"));
    dialog.fresh->setText(QStringLiteral("n1"));
    dialog.repeated->setText(QStringLiteral("n1"));
    bool filled = false;
    bool switchesLocked = false;
    QTimer fill;
    fill.setInterval(5);
    QObject::connect(&fill, &QTimer::timeout, [&] {
        auto* form = qobject_cast<TORVAK_DE_USERS*>(QApplication::activeModalWidget());
        if (!form)
            return;
        if (filled) {   // a refused save: leave rather than wait for ever
            form->reject();
            return;
        }
        filled = true;
        switchesLocked = !form->manager->isEnabled() && !form->enabled->isEnabled();
        form->personCode->setText(QStringLiteral("9107"));
        form->madrak->setText(QStringLiteral("کارشناسي"));
        form->job->setText(QStringLiteral("حسابدار"));
        form->post->setText(QStringLiteral("حسابدار سپرده ها"));
        form->birthDate->setText(QStringLiteral("1360/02/31"));
        form->employmentDate->setText(QStringLiteral("1385/07/01"));
        form->saveAndCloseButton()->click();
    });
    fill.start();
    test::AutoAnswer yes;
    EXPECT_TRUE(dialog.change());
    fill.stop();
    EXPECT_TRUE(filled);
    EXPECT_TRUE(switchesLocked);
    ASSERT_EQ(yes.texts.size(), 3) << yes.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(yes.texts[0], QStringLiteral(" كلمه رمز تغيير كند؟"));
    EXPECT_EQ(yes.texts[1], QStringLiteral("کلمه رمز با موفقيت تغيير نمود!"));
    EXPECT_TRUE(yes.texts[2].startsWith(incompleteRecordText()));

    const FamilyUser saved = *readFamilyUser(session, 7);
    EXPECT_EQ(saved.personCode, 9107);
    EXPECT_EQ(saved.employmentDate, QStringLiteral("1385/07/01"));
    EXPECT_EQ(saved.lastName, QStringLiteral("کريمي"));
    EXPECT_FALSE(session.user().recordIncomplete);
    EXPECT_TRUE(logInAs(session, QStringLiteral("7"), QStringLiteral("n1"), quiet));
}

TEST(UserScreens, TheRightsScreenKeepsTheSeventhKindAndTheUsersListChoosesByState)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt quiet({}, true);
    ProgramUser clerk;
    clerk.code = 7;
    clerk.enabled = false;
    clerk.password = QStringLiteral("p");
    ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet));
    ASSERT_TRUE(saveRights(session, 7, userRights(session, 7), quiet));
    ASSERT_TRUE(db::execSql(session.common(), QStringLiteral("UPDATE ACCESSCONTROL SET ACCESSKIND7 = 1 WHERE UserId = 7")));

    TUsr_Access rights(session, 7);
    rights.table()->item(0, 2)->setCheckState(Qt::Checked);   // F3 on the first entry ...
    rights.table()->setCurrentCell(0, 0);
    rights.table()->selectAll();
    rights.applyToSelected();                                  // ... and on every entry
    ASSERT_TRUE(rights.saveChanges());
    auto count = [&](const char* where) {
        return db::scalar(session.common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 7 AND ") + QLatin1String(where))->toInt();
    };
    EXPECT_EQ(count("ACCESSKIND2 = 1"), 19);
    EXPECT_EQ(count("ACCESSKIND7 = 1"), 19);

    TV_USERS list(session);
    ASSERT_TRUE(list.reopen());
    const struct {
        int state;
        QStringList codes;
    } cases[] = {{0, {QStringLiteral("7")}}, {1, {QStringLiteral("3")}}, {-1, {QStringLiteral("3"), QStringLiteral("7")}}};
    for (const auto& c : cases) {
        list.stateFilter->setCurrentIndex(list.stateFilter->findData(c.state));
        QStringList codes;
        for (int r = 0; r < list.model().rowCount(); ++r)
            codes << list.model().cellText(r, 0);
        EXPECT_EQ(codes, c.codes) << c.state;
    }
}
