#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenCheck.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/Users.h"
#include "core/startup/Rights.h"
#include "ui/startup/TMainForm.h"
#include "support/AutoAnswer.h"
#include "support/TempInstallation.h"

#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>
#include <stdexcept>

namespace orvak::test {

class TSampleWindow : public QWidget {
    Q_OBJECT
public:
    TSampleWindow(startup::Session&, QWidget* parent)
        : QWidget(parent)
    {
    }
};

class TSampleGuarded : public QWidget {
    Q_OBJECT
public:
    TSampleGuarded(startup::Session&, QWidget* parent)
        : QWidget(parent)
    {
    }
};

// A register a reviewer may only read.
class TSampleRegister : public QWidget {
    Q_OBJECT
public:
    TSampleRegister(startup::Session&, QWidget* parent)
        : QWidget(parent)
    {
    }
    bool readOnly = false;

public slots:
    void setReadOnly(bool on) { readOnly = on; }
};

class TSampleBroken : public QWidget {
    Q_OBJECT
public:
    TSampleBroken(startup::Session&, QWidget* parent)
        : QWidget(parent)
    {
        ui::framework::ShowError(QStringLiteral("جدول يافت نشد"), this);
    }
};

class TSampleUnopened : public QWidget {
    Q_OBJECT
public:
    TSampleUnopened(startup::Session&, QWidget* parent)
        : QWidget(parent)
    {
        ui::framework::reportOpenFailure(this, QStringLiteral("no data"));
    }
};

} // namespace orvak::test

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::test;
using ui::framework::ScreenKind;
using ui::framework::ScreenRegistry;
using ui::framework::WriteLevelRule;

namespace {

const QString kMenu = QStringLiteral("سپرده ها");
const QString kSub = QStringLiteral("گزارشات");

// A logged-in clerk refused access entry 1, at the given write level.
struct ClerkFixture {
    TempInstallation t;
    Session* session = nullptr;

    explicit ClerkFixture(int writeLevel)
    {
        t.create();
        session = t.session.get();
        ScriptedPrompt quiet({}, true);
        ProgramUser clerk;
        clerk.code = 7;
        clerk.password = QStringLiteral("p");
        clerk.sel[1] = writeLevel;
        EXPECT_TRUE(saveProgramUser(*session, clerk, true, quiet));
        QList<Right> rights = bulkRights(userRights(*session, 7), BulkRights::GrantAll);
        rights[0].kinds[0] = 1;   // entry 1 refused
        EXPECT_TRUE(saveRights(*session, 7, rights, quiet));
        EXPECT_EQ(login(*session, QStringLiteral("7"), QStringLiteral("p"), false, quiet).outcome, LoginOutcome::LoggedIn);
    }
};

ScreenRegistry sampleRegistry()
{
    namespace menu = ui::framework::menu;
    ScreenRegistry r;
    r.add<TSampleWindow>({kMenu, kSub}, QStringLiteral("نمونه"), menu::Deposits + 10);
    r.add<TSampleGuarded>({kMenu}, QStringLiteral("نمونه محافظت شده"), menu::Deposits + 20).accessId = 1;
    r.add<TSampleRegister>({kMenu}, QStringLiteral("دفتر نمونه"), menu::Deposits + 30).writeLevel = WriteLevelRule::ReadOnly;
    r.add<TSampleWindow>({kMenu}, QStringLiteral("درخواست نمونه"), menu::Deposits + 40, ScreenKind::Dialog).writeLevel = WriteLevelRule::Refuse;
    return r;
}

QStringList captions(const QMenu* m)
{
    QStringList out;
    for (const QAction* a : m->actions())
        out << a->text();
    return out;
}

QMenu* subMenu(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions()) {
        if (a->text() == title)
            return a->menu();
    }
    return nullptr;
}

QMenu* subMenu(QMenu* menu, const QString& title)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == title)
            return a->menu();
    }
    return nullptr;
}

} // namespace

TEST(ScreenRegistry, ProgramMenuKeepsItsOrderWithTheWindowsCommandsAmongTheScreens)
{
    TempInstallation t;
    t.create();
    ui::startup::TMainForm main(*t.session);
    QStringList top;
    for (QAction* a : main.menu()->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{QStringLiteral("سامانه اورواک"), QStringLiteral("سپرده ها"), QStringLiteral("تضمينات"), QStringLiteral("تسهيلات"),
                                QStringLiteral("راهنما")}));
    QMenu* system = subMenu(main.menu(), QStringLiteral("سامانه اورواک"));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(captions(system),
              (QStringList{QStringLiteral("قفل  سامانه  - تغيير كاربر"), QStringLiteral("تغيير كلمه رمز"), QStringLiteral("امور کاربران اورواک"),
                           QStringLiteral("پارامترها و الزامات"), QStringLiteral("تعيين سال مالي پيشفرض حسابداري"), QStringLiteral("تنظيمات صفحه اصلي"),
                           QStringLiteral("اطلاعات استفاده کننده نرم افزار"), QStringLiteral("پيمانكاران"), QStringLiteral("قراردادها"),
                           QStringLiteral("طرح ها"), QStringLiteral("پروژه ها"), QStringLiteral("فهرست محل اجرا ي پروژه"), QStringLiteral("فراخواني اطلاعات اورواک از زير سيستم ها"),
                           QStringLiteral("بانک ها و حساب هاي بانکي"), QString(), QStringLiteral("بيشينه"), QStringLiteral("كمينه"), QStringLiteral("خروج موقت"),
                           QStringLiteral("خروج و خاموش كردن رايانه"), QStringLiteral("خروج")}));
    EXPECT_EQ(captions(subMenu(system, QStringLiteral("امور کاربران اورواک"))),
              (QStringList{QStringLiteral("کاربران اورواک"), QStringLiteral("معرفي کاربران اين نرم افزار و تعيين سطوح دسترسي"),
                           QStringLiteral("شرح هاي پرتکرار کاربران")}));
    EXPECT_EQ(captions(subMenu(system, QStringLiteral("پارامترها و الزامات"))),
              (QStringList{QStringLiteral("تنظيمات کلي"), QStringLiteral("تنظيمات نامه ها در سپرده ها"), QStringLiteral(" تنظيمات نامه ها در تضمينات  "),
                           QStringLiteral("پارامترها")}));
    EXPECT_EQ(captions(subMenu(main.menu(), QStringLiteral("تضمينات"))),
              (QStringList{QStringLiteral("اطلاعات تضمينات"), QStringLiteral("شرح موضوع تضمينات"), QStringLiteral("اسامي پوشه ها"),
                           QStringLiteral("بررسي سررسيد ضمانتنامه هاي بانکي"), QStringLiteral("قالب نامه ها"),
                           QStringLiteral("جستجو در اطلاعات تضمينات")}));
    EXPECT_EQ(captions(subMenu(main.menu(), QStringLiteral("تسهيلات"))),
              (QStringList{QStringLiteral("جستجو در اسناد حسابداري"), QStringLiteral("بروز آوري  و بازسازي ساختار بانکهاي اطلاعاتي"),
                           QStringLiteral("تهيه نسخه پشتيبان و بازخواني از نسخه پشتيبان(سرور)"), QStringLiteral("ماشين حساب")}));
    EXPECT_EQ(captions(subMenu(main.menu(), QStringLiteral("راهنما"))),
              (QStringList{QStringLiteral("درباره نرم افزارهاي اورواک"), QStringLiteral("شناسنامه نرم افزار « سپرده ها و تضمينات  »"),
                           QStringLiteral("درباره اين نرم افزار..."), QStringLiteral("فهرست"), QStringLiteral("سامانه"), QStringLiteral("سپرده ها"),
                           QStringLiteral("تضمينات"), QStringLiteral("تسهيلات")}));
}

TEST(ScreenRegistry, RegisteredScreenAppearsUnderItsPathAndOpensOnce)
{
    TempInstallation t;
    t.create();
    const ScreenRegistry registry = sampleRegistry();
    ui::startup::TMainForm main(*t.session, registry);
    QMenu* deposits = subMenu(main.menu(), kMenu);
    ASSERT_NE(deposits, nullptr);
    // Between the system menu and the tools, as its position says.
    EXPECT_EQ(main.menu()->actions().indexOf(deposits->menuAction()), 1);
    QMenu* reports = subMenu(deposits, kSub);
    ASSERT_NE(reports, nullptr);
    EXPECT_EQ(captions(reports), QStringList{QStringLiteral("نمونه")});

    ASSERT_TRUE(main.trigger(QStringLiteral("نمونه")));
    QWidget* first = ui::framework::screenSlot(QStringLiteral("SampleWindow")).data();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    ASSERT_TRUE(main.trigger(QStringLiteral("نمونه")));
    EXPECT_EQ(ui::framework::screenSlot(QStringLiteral("SampleWindow")).data(), first);
    ui::framework::closeAllScreens();
}

TEST(ScreenRegistry, GuardsAndWriteLevelAreAppliedOnOpening)
{
    ClerkFixture f(1);   // write level 1: may not write
    const ScreenRegistry registry = sampleRegistry();
    ui::startup::TMainForm main(*f.session, registry);
    struct Case {
        QString caption;
        QString refusal;   // empty: opens
    };
    const Case cases[] = {
        {QStringLiteral("نمونه محافظت شده"), menuRefusalText()},
        {QStringLiteral("درخواست نمونه"), refusalText()},
        {QStringLiteral("دفتر نمونه"), QString()},
        {QStringLiteral("نمونه"), QString()},
    };
    for (const Case& c : cases) {
        AutoAnswer answers;
        ASSERT_TRUE(main.trigger(c.caption)) << c.caption.toStdString();
        EXPECT_EQ(answers.texts, c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal}) << c.caption.toStdString();
    }
    EXPECT_TRUE(ui::framework::screenSlot(QStringLiteral("SampleGuarded")).isNull());
    auto* book = qobject_cast<TSampleRegister*>(ui::framework::screenSlot(QStringLiteral("SampleRegister")).data());
    ASSERT_NE(book, nullptr);
    EXPECT_TRUE(book->readOnly);

    // Rights that cannot be read refuse with their own message.
    ASSERT_TRUE(db::execSql(f.session->common(), QStringLiteral("DELETE FROM ACCESSLIST")));
    {
        AutoAnswer answers;
        ASSERT_TRUE(main.trigger(QStringLiteral("نمونه محافظت شده")));
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts[0].startsWith(rightsUnreadableText()));
    }
    ui::framework::closeAllScreens();
}

TEST(ScreenRegistry, CheckReportsEachScreensOutcome)
{
    ClerkFixture f(2);   // write level 2: may write
    ScreenRegistry registry = sampleRegistry();
    registry.add<TSampleBroken>({kMenu}, QStringLiteral("خراب"), 2100);
    registry.add<TSampleUnopened>({kMenu}, QStringLiteral("باز نشده"), 2110, ScreenKind::Dialog);
    ui::framework::ScreenEntry throwing;
    throwing.menuPath = {kMenu};
    throwing.caption = QStringLiteral("استثنا");
    throwing.position = 2120;
    throwing.kind = ScreenKind::Dialog;
    throwing.factory = [](Session&, QWidget*) -> QWidget* { throw std::runtime_error("boom"); };
    registry.add(throwing);
    // A read-only register whose screen cannot be made read-only is a fault.
    registry.add<TSampleWindow>({kMenu}, QStringLiteral("بي حالت"), 2130, ScreenKind::Dialog).writeLevel = WriteLevelRule::ReadOnly;

    const QList<ui::framework::ScreenCheckLine> lines = ui::framework::checkScreens(registry, *f.session);
    QStringList rows;
    for (const auto& line : lines)
        rows << ui::framework::screenCheckRow(line) + (line.failed ? QStringLiteral(" [failed]") : QString());
    const QString m = kMenu;
    EXPECT_EQ(rows, (QStringList{
                        m + QStringLiteral(" > ") + kSub + QStringLiteral("\tنمونه\t0\tok"),
                        m + QStringLiteral("\tنمونه محافظت شده\t1\trefused: ") + menuRefusalText(),
                        m + QStringLiteral("\tدفتر نمونه\t0\tok"),
                        m + QStringLiteral("\tدرخواست نمونه\t0\tok"),
                        m + QStringLiteral("\tخراب\t0\tجدول يافت نشد [failed]"),
                        m + QStringLiteral("\tباز نشده\t0\tno data [failed]"),
                        m + QStringLiteral("\tاستثنا\t0\tboom [failed]"),
                        m + QStringLiteral("\tبي حالت\t0\tthe screen has no read-only mode (setReadOnly) [failed]"),
                    }));
    // Every screen is closed and freed after its check.
    for (const char* key : {"SampleWindow", "SampleRegister", "SampleBroken"})
        EXPECT_TRUE(ui::framework::screenSlot(QString::fromLatin1(key)).isNull()) << key;
}

#include "test_screen_registry.moc"
