#include "ui/startup/TFSETORVAKTIME.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/startup/Login.h"
#include "core/startup/Users.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace orvak::ui::startup {

namespace {
constexpr int kFooterMenuId = 5;   // "اطلاعات مسئولان مالي " guards the footer and officials commands
} // namespace

QString TFSETORVAKTIME::settingsFile(const Session& session) { return mainScreenSettingsFile(session.startDir()); }

TFSETORVAKTIME::TFSETORVAKTIME(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("تنظيمات صفحه اصلي "), parent, Buttons::SaveOnly)
    , session_(session)
{
    picture_ = new QLineEdit(this);
    slideFolder_ = new QLineEdit(this);
    interval_ = new QSpinBox(this);
    interval_->setRange(1, 3600);
    interval_->setSuffix(QStringLiteral(" ثانيه"));
    fit_ = new QComboBox(this);
    fit_->addItems({QStringLiteral("اندازه اصلي"), QStringLiteral("اندازه صفحه"), QStringLiteral("جانمائي در  وسط صفحه")});
    seconds_ = new QCheckBox(QStringLiteral("نمايش ثانيه شمار"), this);
    clockOff_ = new QCheckBox(QStringLiteral("ساعت غير فعال باشد"), this);
    form()->addRow(QStringLiteral("تصوير زمينه"), picture_);
    form()->addRow(QStringLiteral("پوشه نمايش پشت سر هم"), slideFolder_);
    form()->addRow(QStringLiteral("فاصله  تغيير تصوير در نمايش پشت سر هم"), interval_);
    form()->addRow(QStringLiteral("اندازه تصوير"), fit_);
    form()->addRow(QString(), seconds_);
    form()->addRow(QString(), clockOff_);
    QPushButton* toFile = addButton(QStringLiteral("ذخيره  در فايل"));
    QPushButton* fromFile = addButton(QStringLiteral("فراخواني از فايل"));
    startEdit(settingsFile(session));
    connect(toFile, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getSaveFileName(this, QStringLiteral("ذخيره  در فايل"), session_.startDir(), QStringLiteral("*.INI"));
        if (!f.isEmpty())
            saveToFile(f);
    });
    connect(fromFile, &QPushButton::clicked, this, [this] {
        framework::MessagePrompt prompt(this);
        if (refusedMenu(session_, kFooterMenuId, prompt))
            return;
        const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("فراخواني از فايل"), session_.startDir(), QStringLiteral("*.INI"));
        if (!f.isEmpty())
            loadFromFile(f);
    });
}

MainScreenSettings TFSETORVAKTIME::settings() const
{
    MainScreenSettings s;
    s.picture = picture_->text();
    s.slideFolder = slideFolder_->text();
    s.interval = interval_->value();
    s.fit = fit_->currentIndex();
    s.showSeconds = seconds_->isChecked();
    s.clockOff = clockOff_->isChecked();
    return s;
}

void TFSETORVAKTIME::showSettings(const MainScreenSettings& s)
{
    picture_->setText(s.picture);
    slideFolder_->setText(s.slideFolder);
    interval_->setValue(s.interval);
    fit_->setCurrentIndex(s.fit);
    seconds_->setChecked(s.showSeconds);
    clockOff_->setChecked(s.clockOff);
}

bool TFSETORVAKTIME::saveToFile(const QString& file)
{
    QString error;
    if (saveMainScreenSettings(file, settings(), &error))
        return true;
    framework::ShowError(error, this);
    return false;
}

bool TFSETORVAKTIME::loadFromFile(const QString& file)
{
    const std::optional<MainScreenSettings> loaded = loadMainScreenSettings(file);
    if (!loaded)
        return false;
    showSettings(*loaded);
    setUserBackground(session_, loaded->picture);
    framework::ShowInfo(QStringLiteral("اين تصوير براي شما ثبت شد"), this);
    return true;
}

void TFSETORVAKTIME::clearFields() { showSettings(MainScreenSettings{}); }

bool TFSETORVAKTIME::loadRecord(const QVariant& key)
{
    showSettings(loadMainScreenSettings(key.toString()).value_or(MainScreenSettings{}));
    return true;
}

bool TFSETORVAKTIME::validate(QString*) { return true; }

std::optional<QVariant> TFSETORVAKTIME::saveRecord(QString* error)
{
    if (!saveMainScreenSettings(key().toString(), settings(), error))
        return std::nullopt;
    return key();
}

} // namespace orvak::ui::startup
