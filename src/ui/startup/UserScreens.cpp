#include "ui/startup/UserScreens.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/startup/UV_USERS.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvak::ui::startup {

namespace {

QLineEdit* passwordEdit(QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setEchoMode(QLineEdit::Password);
    return e;
}

} // namespace

// ---- TDE_USERS

TDE_USERS::TDE_USERS(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("معرفي کاربر اين نرم افزار"), parent)
    , session_(session)
{
    code = new QLineEdit(this);
    manager = new QCheckBox(QStringLiteral("مدير"), this);
    enabled = new QCheckBox(QStringLiteral("مجاز"), this);
    password = passwordEdit(this);
    form()->addRow(QStringLiteral("کد کاربر"), code);
    form()->addRow(QString(), manager);
    form()->addRow(QString(), enabled);
    for (int i = 0; i < 5; ++i) {
        sel[i] = new QSpinBox(this);
        sel[i]->setRange(0, 9);
        form()->addRow(i == 1 ? QStringLiteral("سطح ثبت اطلاعات (SEL2)") : QStringLiteral("SEL%1").arg(i + 1), sel[i]);
    }
    form()->addRow(QStringLiteral("کلمه رمز"), password);
}

void TDE_USERS::clearFields()
{
    code->clear();
    code->setReadOnly(false);
    manager->setChecked(false);
    enabled->setChecked(true);
    for (QSpinBox* s : sel)
        s->setValue(0);
    password->clear();
    password->setEnabled(true);
    password->setPlaceholderText(QString());
}

bool TDE_USERS::loadRecord(const QVariant& key)
{
    const std::optional<ProgramUser> u = readProgramUser(session_, key.toInt());
    if (!u)
        return false;
    code->setText(key.toString());
    code->setReadOnly(true);
    manager->setChecked(u->manager);
    enabled->setChecked(u->enabled);
    for (int i = 0; i < 5; ++i)
        sel[i]->setValue(u->sel[i]);
    password->clear();
    password->setEnabled(false);
    password->setPlaceholderText(QStringLiteral("رمز قابل رويت نيست!"));
    return true;
}

bool TDE_USERS::validate(QString* message)
{
    const std::optional<qint64> c = util::parseWholeNumber(code->text());
    if (!c || *c <= 0 || *c > 32767) {
        *message = QStringLiteral("کد کاربري بايد يک عدد درست بزرگتر از صفر باشد");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_USERS::saveRecord(QString* error)
{
    ProgramUser u;
    u.code = int(util::parseWholeNumber(code->text()).value_or(0));
    u.manager = manager->isChecked();
    u.enabled = enabled->isChecked();
    for (int i = 0; i < 5; ++i)
        u.sel[i] = sel[i]->value();
    u.password = password->text();
    ScriptedPrompt collect;
    if (!saveProgramUser(session_, u, mode() == Mode::Insert, collect)) {
        *error = collect.infos.join(QLatin1Char('\n'));
        return std::nullopt;
    }
    return QVariant(u.code);
}

// ---- TORVAK_V_USERS / TORVAK_DE_USERS

namespace {
framework::ListSpec familySpec(Session& session)
{
    framework::ListSpec s;
    s.title = QStringLiteral("کاربران اورواک");
    s.database = [&session] { return session.common(); };
    s.sql = QStringLiteral("Select * From USERS Where 1=1\nOrder By UCode");
    s.keyField = QStringLiteral("UCode");
    using io::CellFormat;
    s.columns = {io::fieldColumn(QStringLiteral("UCode"), QStringLiteral("کد"), 60, CellFormat::Integer),
                 io::fieldColumn(QStringLiteral("Name"), QStringLiteral("نام"), 120),
                 io::fieldColumn(QStringLiteral("LastName"), QStringLiteral("نام خانوادگي"), 160),
                 io::fieldColumn(QStringLiteral("POST"), QStringLiteral("سمت"), 160),
                 io::computedColumn(QStringLiteral("نوع استخدام"), 100, [](const io::RowSet& r, int row) {
                     static const QStringList kinds{QStringLiteral("رسمي"), QStringLiteral("پيماني"), QStringLiteral("قراردادي"),
                                                    QStringLiteral("شرکتي"), QStringLiteral("ساعتي")};
                     return kinds.value(r.value(row, r.fieldIndex(QStringLiteral("ESKIND"))).toInt());
                 })};
    auto edit = [&session](framework::ListScreen& list, bool insert) {
        TORVAK_DE_USERS form(session, &list);
        list.runEntryForm(form, insert);
    };
    s.commands = {{QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), [edit](framework::ListScreen& l) { edit(l, true); }, false},
                  {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F2), [edit](framework::ListScreen& l) { edit(l, false); }, true},
                  {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
                   [&session](framework::ListScreen& l) {
                       framework::MessagePrompt prompt(&l);
                       if (deleteFamilyUser(session, l.currentKey().toInt(), prompt))
                           l.reopen();
                   },
                   true}};
    return s;
}
} // namespace

TORVAK_V_USERS::TORVAK_V_USERS(Session& session, QWidget* parent)
    : framework::ListScreen(familySpec(session), parent)
{
}

TORVAK_DE_USERS::TORVAK_DE_USERS(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("مشخصات کاربر اورواک"), parent)
    , session_(session)
{
    code = new QLineEdit(this);
    lastName = new QLineEdit(this);
    name = new QLineEdit(this);
    post = new QLineEdit(this);
    eskind = new QComboBox(this);
    eskind->addItems({QStringLiteral("رسمي"), QStringLiteral("پيماني"), QStringLiteral("قراردادي"), QStringLiteral("شرکتي"), QStringLiteral("ساعتي")});
    form()->addRow(QStringLiteral("کد"), code);
    form()->addRow(QStringLiteral("نام خانوادگي"), lastName);
    form()->addRow(QStringLiteral("نام"), name);
    form()->addRow(QStringLiteral("سمت"), post);
    form()->addRow(QStringLiteral("نوع استخدام"), eskind);
}

void TORVAK_DE_USERS::clearFields()
{
    code->setText(QString::number(nextFamilyUserCode(session_)));
    code->setReadOnly(true);
    lastName->clear();
    name->clear();
    post->clear();
    eskind->setCurrentIndex(0);
}

bool TORVAK_DE_USERS::loadRecord(const QVariant& key)
{
    const std::optional<FamilyUser> u = readFamilyUser(session_, key.toInt());
    if (!u)
        return false;
    loaded_ = *u;
    code->setText(key.toString());
    code->setReadOnly(true);
    lastName->setText(u->lastName);
    name->setText(u->name);
    post->setText(u->post);
    eskind->setCurrentIndex(std::clamp(u->eskind, 0, 4));
    return true;
}

bool TORVAK_DE_USERS::validate(QString* message)
{
    if (lastName->text().trimmed().isEmpty()) {
        *message = QStringLiteral("اطلاعات کامل نيست");
        return false;
    }
    return true;
}

std::optional<QVariant> TORVAK_DE_USERS::saveRecord(QString* error)
{
    // Fields this screen does not show keep their stored values.
    FamilyUser u = mode() == Mode::Edit ? loaded_ : FamilyUser{};
    u.code = code->text().toInt();
    u.lastName = lastName->text();
    u.name = name->text();
    u.post = post->text();
    u.eskind = eskind->currentIndex();
    ScriptedPrompt collect;
    if (!saveFamilyUser(session_, u, mode() == Mode::Insert, collect)) {
        *error = collect.infos.join(QLatin1Char('\n'));
        return std::nullopt;
    }
    return QVariant(u.code);
}

// ---- TUsr_Access

namespace {
const char* const kKindCaptions[] = {"عدم امكان دسترسي", "دسترسي با امکان رويت و گزارشگيري", "دسترسي با امكان ويرايش و تغييرات اطلاعات خود  ",
                                     "دسترسي با امكان درج و اضافه نمودن اطلاعات جديد", "دسترسي  فوق با امكان حذف اطلاعات", "دسترسي هاي مهم، ويژه و مديريتي"};
}

TUsr_Access::TUsr_Access(Session& session, int userCode, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , user_(userCode)
{
    setObjectName(QStringLiteral("Usr_Access"));
    setWindowTitle(QStringLiteral("كنتــرل امنيت عبور كاربران"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("کاربر: %1 - %2").arg(userCode).arg(userNames(session).value(userCode)), this));
    table_ = new QTableWidget(this);
    table_->setColumnCount(7);
    QStringList headers{QStringLiteral("مورد")};
    for (int k = 0; k < 6; ++k)
        headers << QStringLiteral("F%1 %2").arg(k + 2).arg(QString::fromUtf8(kKindCaptions[k]));
    table_->setHorizontalHeaderLabels(headers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(table_, 1);
    auto* row = new QHBoxLayout;
    auto add = [this, row](const QString& caption, auto slot) {
        auto* b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    };
    add(QStringLiteral("ثبت تغييرات (F10)"), [this] { saveChanges(); });
    add(QStringLiteral("همه دسترسي ها لغو گردد"), [this] {
        if (framework::Ask(QStringLiteral("همه دسترسي ها براي اين كاربر غيرفعال گردد؟"), this) == framework::AskYes)
            bulk(BulkRights::RevokeAll);
    });
    add(QStringLiteral("همه دسترسي ها اعطا گردد"), [this] {
        if (framework::Ask(QStringLiteral("همه دسترسي ها براي اين كاربر فعال گردد؟"), this) == framework::AskYes)
            bulk(BulkRights::GrantAll);
    });
    add(QStringLiteral("همه دسترسي ها در سطح گزارشگيري اعطا گردد"), [this] {
        if (framework::Ask(QStringLiteral("دسترسي براي گزارشگيري براي اين کاربر اعطا گردد؟"), this) == framework::AskYes)
            bulk(BulkRights::ReportLevel);
    });
    add(QStringLiteral("تعيين گروهي دسترسي ها (F9)"), [this] { applyToSelected(); });
    layout->addLayout(row);
    load(userRights(session_, user_));
    connect(table_, &QTableWidget::itemChanged, this, [this] { changed_ = true; });
    resize(980, 560);
}

void TUsr_Access::load(const QList<Right>& rights)
{
    const QSignalBlocker block(table_);
    table_->setRowCount(int(rights.size()));
    for (int r = 0; r < rights.size(); ++r) {
        auto* name = new QTableWidgetItem(rights[r].name);
        name->setData(Qt::UserRole, rights[r].menuId);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table_->setItem(r, 0, name);
        for (int k = 0; k < 6; ++k) {
            auto* box = new QTableWidgetItem;
            box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            box->setCheckState(rights[r].kinds[k] == 1 ? Qt::Checked : Qt::Unchecked);
            table_->setItem(r, k + 1, box);
        }
    }
}

QList<Right> TUsr_Access::current() const
{
    QList<Right> rights;
    for (int r = 0; r < table_->rowCount(); ++r) {
        Right right;
        right.menuId = table_->item(r, 0)->data(Qt::UserRole).toInt();
        right.name = table_->item(r, 0)->text();
        for (int k = 0; k < 6; ++k)
            right.kinds[k] = table_->item(r, k + 1)->checkState() == Qt::Checked ? 1 : 0;
        rights << right;
    }
    return rights;
}

bool TUsr_Access::saveChanges()
{
    framework::MessagePrompt prompt(this);
    if (!saveRights(session_, user_, current(), prompt))
        return false;
    changed_ = false;
    return true;
}

void TUsr_Access::bulk(BulkRights what)
{
    load(bulkRights(current(), what));
    changed_ = true;
}

void TUsr_Access::applyToSelected()
{
    const int source = table_->currentRow();
    if (source < 0)
        return;
    QList<Right> rights = current();
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) {
        for (int k = 0; k < 7; ++k)
            rights[i.row()].kinds[k] = rights[source].kinds[k];
    }
    load(rights);
    changed_ = true;
}

void TUsr_Access::keyPressEvent(QKeyEvent* event)
{
    if (event->key() >= Qt::Key_F2 && event->key() <= Qt::Key_F7 && table_->currentRow() >= 0) {
        QTableWidgetItem* box = table_->item(table_->currentRow(), event->key() - Qt::Key_F2 + 1);
        box->setCheckState(box->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return;
    }
    if (event->key() == Qt::Key_F10) {
        saveChanges();
        return;
    }
    if (event->key() == Qt::Key_F9) {
        applyToSelected();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TUsr_Access::reject()
{
    if (changed_ && framework::Ask(QStringLiteral("تغييرات ذخيره شود؟"), this) == framework::AskYes && !saveChanges())
        return;
    QDialog::reject();
}

// ---- TGT_PASS

namespace {
int& failedAttempts()
{
    // Counted over the whole run, across every opening of the dialog.
    static int failures = 0;
    return failures;
}
} // namespace

TGT_PASS::TGT_PASS(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("GT_PASS"));
    setWindowTitle(QStringLiteral("قفل / ورودمجدد / تغييرکاربر"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(" لطفا جهت ورود به برنامه،كد كاربري و كلمه رمز خود را وارد كنيد"), this));
    auto* form = new QFormLayout;
    code = new QLineEdit(this);
    password = passwordEdit(this);
    form->addRow(QStringLiteral("کد کاربري"), code);
    form->addRow(QStringLiteral("کلمه رمز"), password);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* in = new QPushButton(QStringLiteral("ورود  (F10)"), this);
    auto* full = new QPushButton(QStringLiteral("خروج کامل"), this);
    auto* temporary = new QPushButton(QStringLiteral("خروج موقت"), this);
    row->addWidget(in);
    row->addWidget(full);
    row->addWidget(temporary);
    layout->addLayout(row);
    connect(in, &QPushButton::clicked, this, &TGT_PASS::enter);
    connect(full, &QPushButton::clicked, this, [this] {
        if (framework::Ask(QStringLiteral("خروج از برنامه.مطمئن هستيد؟"), this) == framework::AskYes) {
            fullExit_ = true;
            reject();
        }
    });
    connect(temporary, &QPushButton::clicked, this, [this] {
        if (QWidget* top = window()->parentWidget())
            top->window()->showMinimized();
        showMinimized();
    });
}

bool TGT_PASS::enter()
{
    framework::MessagePrompt prompt(this);
    if (!changeUser(session_, code->text(), password->text(), failedAttempts(), prompt))
        return false;
    accept();
    return true;
}

void TGT_PASS::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10) {
        enter();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- TFPass2 / TFPass3

TFPass2::TFPass2(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("FPass2"));
    setWindowTitle(QStringLiteral("تغيير كلمه رمز"));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    current = passwordEdit(this);
    fresh = passwordEdit(this);
    repeated = passwordEdit(this);
    form->addRow(QStringLiteral("كلمه رمز فعلي"), current);
    form->addRow(QStringLiteral("كلمه رمز جديد"), fresh);
    form->addRow(QStringLiteral("تكرار كلمه رمز جديد"), repeated);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    form->addRow(ok);
    connect(ok, &QPushButton::clicked, this, &TFPass2::change);
}

bool TFPass2::change()
{
    framework::MessagePrompt prompt(this);
    if (!changeOwnPassword(session_, current->text(), fresh->text(), repeated->text(), prompt))
        return false;
    accept();
    return true;
}

TFPass3::TFPass3(Session& session, int userCode, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , user_(userCode)
{
    setObjectName(QStringLiteral("FPass3"));
    setWindowTitle(QStringLiteral("تغيير كلمه رمز كاربر %1").arg(userCode));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    fresh = passwordEdit(this);
    repeated = passwordEdit(this);
    form->addRow(QStringLiteral("كلمه رمز جديد"), fresh);
    form->addRow(QStringLiteral("تكرار كلمه رمز"), repeated);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    form->addRow(ok);
    connect(ok, &QPushButton::clicked, this, &TFPass3::change);
}

bool TFPass3::change()
{
    framework::MessagePrompt prompt(this);
    if (!setUserPassword(session_, user_, fresh->text(), repeated->text(), prompt))
        return false;
    accept();
    return true;
}

} // namespace orvak::ui::startup
