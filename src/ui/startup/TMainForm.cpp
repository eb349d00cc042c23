#include "ui/startup/TMainForm.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/Login.h"
#include "core/startup/Users.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TFupdateProgress.h"
#include "ui/startup/TFPass2.h"
#include "ui/startup/TGT_PASS.h"
#include "ui/startup/TORVAK_V_USERS.h"
#include "ui/startup/TV_USERS.h"
#include "core/util/Jalali.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvak::ui::startup {

namespace {
const QString kScrollText = QStringLiteral("اورواک : سپرده ها و تضمينات ذيحسابي طرحهاي عمراني");
constexpr int kFooterMenuId = 5;   // "اطلاعات مسئولان مالي " guards the footer and officials commands
} // namespace

QString scrolledTitle(const QString& text, int k)
{
    if (k < 11)
        return text.left(5);
    return text.mid(k - 10, k + 1);
}

int nextScrollStep(const QString& text, int k) { return k + 1 > text.size() - 1 ? 1 : k + 1; }

TMainForm::TMainForm(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("اورواک : نرم افزار جامع سپرده ها و تضمينات"));
    setWindowFlags(Qt::Window);
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    menu_ = new QMenuBar(this);
    layout->setMenuBar(menu_);
    auto* top = new QHBoxLayout;
    section_ = new QLabel(this);
    section_->setToolTip(QStringLiteral("براي تغيير بخش مالي اين جا را كليك كنيد"));
    section_->setCursor(Qt::PointingHandCursor);
    QFont big = section_->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    section_->setFont(big);
    section_->installEventFilter(this);
    customer_ = new QLabel(session.site().organisationName, this);
    customer_->setFont(big);
    top->addWidget(section_);
    top->addStretch();
    top->addWidget(customer_);
    top->addStretch();
    auto* quit = new QPushButton(QStringLiteral("خروج از برنامه"), this);
    quit->setAutoDefault(false);
    connect(quit, &QPushButton::clicked, this, [this] {
        if (framework::Ask(QStringLiteral("خروج از برنامه سپرده ها و تضمينات ؟"), this) == framework::AskYes) {
            exiting_ = true;
            reject();
        }
    });
    auto* back = new QPushButton(QStringLiteral("خـروج"), this);
    back->setAutoDefault(false);
    back->setToolTip(QStringLiteral("بازگشت به صفحه ورود"));
    connect(back, &QPushButton::clicked, this, &TMainForm::reject);
    top->addWidget(back);
    top->addWidget(quit);
    layout->addLayout(top);
    background_ = new QLabel(this);
    background_->setAlignment(Qt::AlignCenter);
    background_->setMinimumSize(400, 300);
    layout->addWidget(background_, 1);
    auto* status = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        status->addWidget(panels_[i], i == 3 ? 0 : 1);
    }
    layout->addLayout(status);
    buildMenu();

    connect(&clock_, &QTimer::timeout, this, [this] {
        const QDateTime now = session_.clock().now();
        panels_[3]->setText(now.time().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char(' ') + session_.clock().todayJalaliLong());
    });
    connect(&scroller_, &QTimer::timeout, this, [this] {
        QApplication::setApplicationDisplayName(scrolledTitle(kScrollText, scrollStep_));
        scrollStep_ = nextScrollStep(kScrollText, scrollStep_);
    });
    connect(&slides_, &QTimer::timeout, this, [this] {
        const QString folder = QSettings(TFSETORVAKTIME::settingsFile(session_), QSettings::IniFormat).value(QStringLiteral("Main/SlideFolder")).toString();
        const QString file = QDir(folder.isEmpty() ? session_.startDir() : folder).filePath(QStringLiteral("IMG-%1.BMP").arg(slide_));
        if (QFileInfo::exists(file)) {
            background_->setPixmap(QPixmap(file).scaled(background_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            ++slide_;
        } else {
            slide_ = 1;
        }
    });
    clock_.start(1000);
    scroller_.start(1000);
    resize(1100, 720);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == section_ && event->type() == QEvent::MouseButtonRelease) {
        QStringList titles;
        for (const Section& s : allSections())
            titles << s.title;
        bool ok = false;
        const QString chosen = QInputDialog::getItem(this, QStringLiteral("بخش مالي"), QStringLiteral("بخش مالي"), titles,
                                                     session_.SectionCode().toInt(), false, &ok);
        if (ok)
            chooseSection(int(titles.indexOf(chosen)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QMenu* TMainForm::addMenu(const QString& title) { return menu_->addMenu(title); }

void TMainForm::openGuarded(int menuId, const std::function<void()>& open)
{
    framework::MessagePrompt prompt(this);
    if (refusedMenu(session_, menuId, prompt))
        return;
    open();
}

void TMainForm::buildMenu()
{
    QMenu* system = addMenu(QStringLiteral("سامانه اورواک"));
    system->addAction(QStringLiteral("قفل  سامانه  - تغيير كاربر"), this, &TMainForm::lockOrChangeUser);
    system->addAction(QStringLiteral("تغيير كلمه رمز"), this, [this] { TFPass2(session_, this).exec(); });
    QMenu* users = system->addMenu(QStringLiteral("امور کاربران اورواک"));
    users->addAction(QStringLiteral("کاربران اورواک"), this, [this] {
        auto* s = framework::EnsureForm<TORVAK_V_USERS>(session_);
        s->reopen();
        framework::showScreen(s);
    });
    users->addAction(QStringLiteral("معرفي کاربران اين نرم افزار و تعيين سطوح دسترسي"), this, [this] {
        openGuarded(1, [this] {
            auto* s = framework::EnsureForm<TV_USERS>(session_);
            s->reopen();
            framework::showScreen(s);
        });
    });
    QMenu* params = system->addMenu(QStringLiteral("پارامترها و الزامات"));
    params->addAction(QStringLiteral("تنظيمات کلي"), this, [this] { TFGeneral_info(session_, this).exec(); });
    system->addAction(QStringLiteral("تعيين سال مالي پيشفرض حسابداري"), this, [this] {
        QStringList years;
        for (int y : session_.selectableYears())
            years << QString::number(y);
        bool ok = false;
        const QString chosen = QInputDialog::getItem(this, QStringLiteral("تعيين سال مالي پيشفرض حسابداري"), QStringLiteral("سال مالي"), years,
                                                     int(years.indexOf(QString::number(session_.CurrentYear()))), false, &ok);
        if (ok)
            chooseYear(chosen.toInt());
    });
    system->addAction(QStringLiteral("تنظيمات صفحه اصلي"), this, [this] { TFSETORVAKTIME(session_, this).exec(); });
    system->addSeparator();
    system->addAction(QStringLiteral("بيشينه"), this, &QWidget::showMaximized);
    system->addAction(QStringLiteral("كمينه"), this, &QWidget::showNormal);
    system->addAction(QStringLiteral("خروج موقت"), this, &QWidget::showMinimized);
    system->addAction(QStringLiteral("خروج و خاموش كردن رايانه"), this, [this] {
        if (framework::Ask(QStringLiteral("خروج كامل از برنامه و خاموش نمودن كامپيوتر"), this) != framework::AskYes)
            return;
#ifdef Q_OS_WIN
        QProcess::startDetached(QStringLiteral("shutdown"), {QStringLiteral("/s"), QStringLiteral("/t"), QStringLiteral("0")});
#else
        QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
#endif
        exiting_ = true;
        reject();
    });
    system->addAction(QStringLiteral("خروج"), this, [this] {
        if (askExit()) {
            exiting_ = true;
            reject();
        }
    });

    QMenu* tools = addMenu(QStringLiteral("تسهيلات"));
    tools->addAction(QStringLiteral("بروز آوري  و بازسازي ساختار بانکهاي اطلاعاتي"), this, [this] {
        framework::EnsureForm<TFupdateProgress>(session_)->exec();
        refreshStatus();
    });
    tools->addAction(QStringLiteral("تهيه نسخه پشتيبان و بازخواني از نسخه پشتيبان(سرور)"), this, [this] {
        framework::EnsureForm<TBakup1>(session_)->exec();
        refreshStatus();
    });

    QMenu* help = addMenu(QStringLiteral("راهنما"));
    help->addAction(QStringLiteral("درباره اين نرم افزار..."), this, [this] {
        framework::ShowInfo(QStringLiteral("شناسنامه نرم افزار « سپرده ها و تضمينات  »") + QLatin1Char('\n') + VersionLabel() + QLatin1Char('\n')
                                + session_.site().organisationName,
                            this);
    });
}

bool TMainForm::trigger(const QString& caption)
{
    std::function<QAction*(QMenu*)> find = [&](QMenu* m) -> QAction* {
        for (QAction* a : m->actions()) {
            if (a->menu()) {
                if (QAction* inner = find(a->menu()))
                    return inner;
            } else if (a->text() == caption) {
                return a;
            }
        }
        return nullptr;
    };
    for (QAction* top : menu_->actions()) {
        if (QAction* a = top->menu() ? find(top->menu()) : nullptr) {
            a->trigger();
            return true;
        }
    }
    return false;
}

QString TMainForm::statusText(int panel) const { return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString(); }

void TMainForm::refreshStatus()
{
    panels_[0]->setText(QStringLiteral("كاربر") + QLatin1Char(' ') + session_.user().displayName());
    panels_[1]->setText(session_.AccountingDbOpen() ? session_.statusYearText() : QStringLiteral("سال مالي ") + QString::number(session_.CurrentYear()));
    section_->setText(session_.SectionTitle());
    panels_[2]->setText(session_.statusSectionText());
    const QString picture = session_.user().background;
    if (!picture.isEmpty() && QFileInfo::exists(picture))
        background_->setPixmap(QPixmap(picture).scaled(background_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TMainForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    exiting_ = false;
    setWindowTitle(QStringLiteral(" اورواک : ") + SystemTitlePlural() + QStringLiteral(" ORVAK : ") + SystemTitleLatin());
    // The slide show runs when the main-screen settings name a folder for it.
    const QSettings settings(TFSETORVAKTIME::settingsFile(session_), QSettings::IniFormat);
    if (!settings.value(QStringLiteral("Main/SlideFolder")).toString().isEmpty())
        slides_.start(std::max(1, settings.value(QStringLiteral("Main/Interval"), 10).toInt()) * 1000);
    else
        slides_.stop();
    customer_->setText(session_.site().organisationName);
    // The one-shot start: after the window is on the screen.
    QTimer::singleShot(1, this, &TMainForm::start);
}

void TMainForm::start()
{
    refreshStatus();
    session_.setCurrentYear(session_.clock().year());
    framework::TFDoing doing(QStringLiteral("تنظيمات سال مالي"), this);
    session_.OpenSection(session_.CurrentYear(), session_.SectionCode(), doing);
    doing.hide();
    refreshStatus();
}

void TMainForm::chooseSection(int index)
{
    if (index < 0 || index >= 4)
        return;
    framework::TFDoing doing(QStringLiteral("تنظيمات سال مالي"), this);
    session_.OpenSection(session_.CurrentYear(), QString::number(index), doing);
    doing.hide();
    refreshStatus();
}

bool TMainForm::chooseYear(int year)
{
    framework::MessagePrompt prompt(this);
    const bool ok = session_.chooseFiscalYear(year, prompt);
    refreshStatus();
    return ok;
}

bool TMainForm::lockOrChangeUser()
{
    hide();
    TGT_PASS dialog(session_, nullptr);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (!ok) {
        // Leaving the lock without a login ends the program.
        QApplication::exit(0);
        exiting_ = true;
        reject();
        return false;
    }
    show();
    refreshStatus();
    return true;
}

bool TMainForm::askExit() { return framework::ConfirmExit(this); }

void TMainForm::reject()
{
    if (exiting_ || askExit())
        QDialog::reject();
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F12 && event->modifiers() == (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) {
        framework::MessagePrompt prompt(this);
        const std::optional<QString> typed = prompt.askText(QStringLiteral("Plz Enter Orvak Password on SQL SERVER ?"), true);
        if (typed && *typed == session_.connection().sqlPassword)
            TFManager(session_, this).exec();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- TFGeneral_info

TFGeneral_info::TFGeneral_info(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("FGeneral_info"));
    setWindowTitle(QStringLiteral("اطلاعات کلي مربوط به سازمان"));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    const struct { const char* column; const char* caption; } rows[] = {
        {"OSTANNAME", "نام استان"}, {"SHAHR", "نام شهر"}, {"GENERALOFFICENAME", "وزارت/سازمان مرکزي"}, {"officeName", "نام دستگاه اجرايي"},
        {"RADIFEDASTGAH", "رديف دستگاه اجرايي"}, {"KhazanehRaiiseName", "نام رئيس خزانه"},
        {"HESABNO_SEP_BANKDAR", "شماره حساب بانک دريافت وجوه سپرده"}, {"SEP_BANKDAR", "بانک دريافت وجوه سپرده"},
        {"SEP_BANKDAR_SHOBEH", "شعبه بانک دريافت وجوه سپرده"}, {"HESABNO_SEP_BANKRAD", "شماره حساب بانک رد وجوه سپرده"},
        {"SEP_BANKRAD", "بانک رد وجوه سپرده"}, {"SEP_BANKRAD_SHOBEH", "شعبه بانک رد وجوه سپرده"},
        {"HESABNO_TamarkozeVojuh", "شماره حساب بانکي خزانه تمرکز وجوه سپرده"}, {"BANK_TamarkozeVojuh", "بانک تمرکز خزانه وجوه سپرده"},
        {"SHOBEH_TamarkozeVojuh", "شعبه بانک تمرکز خزانه وجوه سپرده"}};
    const QVariantMap values = readGeneralInfo(session);
    for (const auto& r : rows) {
        auto* e = new QLineEdit(values.value(QString::fromLatin1(r.column)).toString(), this);
        fields.insert(QString::fromLatin1(r.column), e);
        form->addRow(QString::fromUtf8(r.caption), e);
    }
    auto* save = new QPushButton(QStringLiteral("ذخيره و خروج (F10)"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج بدون ذخيره"), this);
    auto* row = new QHBoxLayout;
    row->addWidget(save);
    row->addWidget(leave);
    form->addRow(row);
    connect(save, &QPushButton::clicked, this, [this] {
        if (this->save())
            accept();
    });
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    auto* f10 = new QAction(this);
    f10->setShortcut(Qt::Key_F10);
    addAction(f10);
    connect(f10, &QAction::triggered, save, &QPushButton::click);
}

bool TFGeneral_info::save()
{
    QVariantMap values;
    for (auto it = fields.begin(); it != fields.end(); ++it)
        values.insert(it.key(), it.value()->text());
    framework::MessagePrompt prompt(this);
    if (!saveGeneralInfo(session_, values, prompt))
        return false;
    // The office data in force follows at once.
    session_.OpenSection(session_.CurrentYear(), session_.SectionCode(), prompt);
    return true;
}

// ---- TFSETORVAKTIME

QString TFSETORVAKTIME::settingsFile(const Session& session) { return QDir(session.startDir()).filePath(QStringLiteral("ORVAKTIME.INI")); }

TFSETORVAKTIME::TFSETORVAKTIME(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("تنظيمات صفحه اصلي "));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    picture_ = new QLineEdit(this);
    slideFolder_ = new QLineEdit(this);
    interval_ = new QSpinBox(this);
    interval_->setRange(1, 3600);
    interval_->setSuffix(QStringLiteral(" ثانيه"));
    fit_ = new QComboBox(this);
    fit_->addItems({QStringLiteral("اندازه اصلي"), QStringLiteral("اندازه صفحه"), QStringLiteral("جانمائي در  وسط صفحه")});
    seconds_ = new QCheckBox(QStringLiteral("نمايش ثانيه شمار"), this);
    clockOff_ = new QCheckBox(QStringLiteral("ساعت غير فعال باشد"), this);
    form->addRow(QStringLiteral("تصوير زمينه"), picture_);
    form->addRow(QStringLiteral("پوشه نمايش پشت سر هم"), slideFolder_);
    form->addRow(QStringLiteral("فاصله  تغيير تصوير در نمايش پشت سر هم"), interval_);
    form->addRow(QStringLiteral("اندازه تصوير"), fit_);
    form->addRow(QString(), seconds_);
    form->addRow(QString(), clockOff_);
    auto* row = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("ذخيره و خروج (F10)"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج بدون ذخيره"), this);
    auto* toFile = new QPushButton(QStringLiteral("ذخيره  در فايل"), this);
    auto* fromFile = new QPushButton(QStringLiteral("فراخواني از فايل"), this);
    for (QPushButton* b : {save, leave, toFile, fromFile})
        row->addWidget(b);
    form->addRow(row);
    load(settingsFile(session));
    connect(save, &QPushButton::clicked, this, [this] {
        if (this->save(settingsFile(session_)))
            accept();
    });
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    connect(toFile, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getSaveFileName(this, QStringLiteral("ذخيره  در فايل"), session_.startDir(), QStringLiteral("*.INI"));
        if (!f.isEmpty())
            this->save(f);
    });
    connect(fromFile, &QPushButton::clicked, this, [this] {
        framework::MessagePrompt prompt(this);
        if (refusedMenu(session_, kFooterMenuId, prompt))
            return;
        const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("فراخواني از فايل"), session_.startDir(), QStringLiteral("*.INI"));
        if (f.isEmpty() || !load(f))
            return;
        setUserBackground(session_, picture_->text());
        framework::ShowInfo(QStringLiteral("اين تصوير براي شما ثبت شد"), this);
    });
}

bool TFSETORVAKTIME::save(const QString& file)
{
    QSettings ini(file, QSettings::IniFormat);
    ini.setValue(QStringLiteral("Main/Picture"), picture_->text());
    ini.setValue(QStringLiteral("Main/SlideFolder"), slideFolder_->text());
    ini.setValue(QStringLiteral("Main/Interval"), interval_->value());
    ini.setValue(QStringLiteral("Main/Fit"), fit_->currentIndex());
    ini.setValue(QStringLiteral("Clock/Seconds"), seconds_->isChecked());
    ini.setValue(QStringLiteral("Clock/Off"), clockOff_->isChecked());
    ini.sync();
    return ini.status() == QSettings::NoError;
}

bool TFSETORVAKTIME::load(const QString& file)
{
    if (!QFileInfo::exists(file))
        return false;
    QSettings ini(file, QSettings::IniFormat);
    picture_->setText(ini.value(QStringLiteral("Main/Picture")).toString());
    slideFolder_->setText(ini.value(QStringLiteral("Main/SlideFolder")).toString());
    interval_->setValue(ini.value(QStringLiteral("Main/Interval"), 10).toInt());
    fit_->setCurrentIndex(ini.value(QStringLiteral("Main/Fit"), 1).toInt());
    seconds_->setChecked(ini.value(QStringLiteral("Clock/Seconds"), true).toBool());
    clockOff_->setChecked(ini.value(QStringLiteral("Clock/Off"), false).toBool());
    return true;
}

// ---- TFManager

TFManager::TFManager(Session& session, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Orvak Manager"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QPlainTextEdit(this);
    text->setReadOnly(true);
    QStringList lines;
    lines << QStringLiteral("Server: ") + session.connection().serverName;
    if (session.server())
        lines << QStringLiteral("Version: ") + session.server()->versionText() << QStringLiteral("Databases: ") + session.server()->databaseNames().join(QStringLiteral(", "));
    lines << QStringLiteral("Common: ") + session.commonConnectionText() << QStringLiteral("Deposits: ") + session.depositConnectionText()
          << QStringLiteral("Accounting: ") + session.accountingDbName() + (session.AccountingDbOpen() ? QStringLiteral(" (open)") : QStringLiteral(" (not found)"));
    text->setPlainText(lines.join(QLatin1Char('\n')));
    layout->addWidget(text);
    resize(700, 300);
}

} // namespace orvak::ui::startup
