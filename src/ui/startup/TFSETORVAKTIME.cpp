#include "ui/startup/TFSETORVAKTIME.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/startup/Login.h"
#include "core/startup/Users.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <tuple>

namespace orvak::ui::startup {

namespace {
constexpr int kFooterMenuId = 5;   // "اطلاعات مسئولان مالي " guards the footer and officials commands
constexpr int kRotations[] = {0, 90, 180, 270};

// A path field with its chooser button.
QWidget* withChooser(QLineEdit* edit, const std::function<QString()>& choose, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* button = new QPushButton(QStringLiteral("..."), box);
    button->setAutoDefault(false);
    row->addWidget(edit, 1);
    row->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, edit, [edit, choose] {
        const QString chosen = choose();
        if (!chosen.isEmpty())
            edit->setText(chosen);
    });
    return box;
}

void paintSwatch(QPushButton* button, const QString& colour)
{
    button->setStyleSheet(QStringLiteral("background-color: %1;").arg(colour));
    button->setToolTip(colour);
}
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
    rotation_ = new QComboBox(this);
    rotation_->addItems({QStringLiteral("بدون چرخش"), QStringLiteral("چرخش 90 درجه"), QStringLiteral("چرخش 180 درجه"), QStringLiteral("چرخش 270 درجه")});
    hands_ = new QPushButton(this);
    face_ = new QPushButton(this);
    for (auto [button, colour, title] : {std::tuple{hands_, &handsColour_, QStringLiteral("رنگ عقربه ها")},
                                         std::tuple{face_, &faceColour_, QStringLiteral("رنگ صفحه ساعت")}}) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, button, colour, title] {
            const QColor chosen = QColorDialog::getColor(QColor(*colour), this, title);
            if (chosen.isValid()) {
                *colour = chosen.name();
                paintSwatch(button, *colour);
            }
        });
    }
    seconds_ = new QCheckBox(QStringLiteral("نمايش ثانيه شمار"), this);
    clockOff_ = new QCheckBox(QStringLiteral("ساعت غير فعال باشد"), this);
    form()->addRow(QStringLiteral("تصوير زمينه"), withChooser(picture_, [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("تصوير زمينه"), session_.startDir());
    }, this));
    form()->addRow(QStringLiteral("پوشه نمايش پشت سر هم"), withChooser(slideFolder_, [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("پوشه نمايش پشت سر هم"), session_.startDir());
    }, this));
    form()->addRow(QStringLiteral("فاصله  تغيير تصوير در نمايش پشت سر هم"), interval_);
    form()->addRow(QStringLiteral("اندازه تصوير"), fit_);
    form()->addRow(QStringLiteral("چرخش تصوير"), rotation_);
    form()->addRow(QStringLiteral("رنگ عقربه ها"), hands_);
    form()->addRow(QStringLiteral("رنگ صفحه ساعت"), face_);
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
    s.rotation = kRotations[std::max(0, rotation_->currentIndex())];
    s.handsColour = handsColour_;
    s.faceColour = faceColour_;
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
    rotation_->setCurrentIndex(int(std::find(std::begin(kRotations), std::end(kRotations), s.rotation) - std::begin(kRotations)) % 4);
    handsColour_ = s.handsColour;
    faceColour_ = s.faceColour;
    paintSwatch(hands_, handsColour_);
    paintSwatch(face_, faceColour_);
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
    if (!loaded) {
        framework::ShowError(QStringLiteral("فايل تنظيمات خوانده نشد: ") + file, this);
        return false;
    }
    showSettings(*loaded);
    // Said only when the user's row took it.
    if (!setUserBackground(session_, loaded->picture)) {
        framework::ShowError(QStringLiteral("تصوير براي کاربر ثبت نشد"), this);
        return false;
    }
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
