#include "ui/basedata/TORVAK_DE_Projects.h"
#include "ui/basedata/TORVAK_ViewProjects.h"
#include "ui/basedata/TORVAK_ViewTarh.h"
#include "ui/framework/Picker.h"
#include "core/basedata/Plans.h"
#include "core/basedata/Projects.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::basedata;

namespace {

// Stands the picker that comes up on the key and continues with it.
void pickWhenShown(const QVariant& key)
{
    QTimer::singleShot(0, [key] {
        auto* picker = qobject_cast<ui::framework::PickerDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        ASSERT_TRUE(picker->screen().reopen(key));
        picker->continueWithCurrent();
    });
}

} // namespace

TEST(PlanScreens, ANewProjectIsPickedFromAnotherFormAndAPlanInUseIsNotDeleted)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;

    // A project entered on its list's form.
    TORVAK_ViewProjects projects(s);
    ASSERT_TRUE(projects.reopen());
    TORVAK_DE_Projects form(s, &projects);
    QObject::connect(&form, &ui::framework::EntryForm::saved, &projects, [&projects](const QVariant& key) { projects.reopen(key); });
    form.startInsert();
    const QString proposed = form.code->text();
    form.name->setText(QStringLiteral("ساخت پل ارتباطي روستاي سرآبتاوه"));
    form.plan->editor()->setText(QStringLiteral("۲"));
    form.centre->editor()->setText(QStringLiteral("3"));
    EXPECT_FALSE(form.plan->name().isEmpty());
    ASSERT_TRUE(form.saveAndClose());
    const qint64 number = proposed.toLongLong();
    EXPECT_EQ(projects.currentKey().toLongLong(), number);
    ASSERT_TRUE(basedata::Projects(s).read(number));
    EXPECT_EQ(basedata::Projects(s).read(number)->plan, 2);

    // Picked as the main project of another one (F7 on its field).
    TORVAK_DE_Projects other(s);
    other.startInsert();
    pickWhenShown(number);
    other.mainProject->pick();
    EXPECT_EQ(other.mainProject->code().value_or(0), number);
    EXPECT_EQ(other.mainProject->name(), QStringLiteral("ساخت پل ارتباطي روستاي سرآبتاوه"));

    // The plan list's delete of a plan the deposits hold says why and keeps it.
    TORVAK_ViewTarh plans(s);
    EXPECT_EQ(plans.windowTitle(), QStringLiteral("فهرست برنامه ها"));
    // Its report is signed as the footers' general pattern says: three posts spread
    // over the five positions (2, 3 and 5).
    const auto signatures = plans.reportModel().signatures;
    ASSERT_EQ(signatures.size(), 5u);
    EXPECT_TRUE(signatures[0].name.isEmpty() && signatures[3].name.isEmpty());
    EXPECT_FALSE(signatures[1].name.isEmpty() || signatures[2].name.isEmpty() || signatures[4].name.isEmpty());
    ASSERT_TRUE(plans.reopen(1));
    test::AutoAnswer answer;
    EXPECT_TRUE(plans.runCommand(2));
    EXPECT_EQ(answer.texts, QStringList{QStringLiteral("امکان حذف برنامه در گردش وجود ندارد؟")});
    EXPECT_TRUE(basedata::Plans(s).read(1));
}
