#include "ui/startup/TFInit.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/Login.h"
#include "ui/startup/TFCONNECTION.h"
#include "ui/startup/TFHoshdarBkUp.h"
#include "ui/startup/TMainForm.h"
#include "ui/startup/TV_USERS.h"
#include "core/util/Numbers.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace orvak::ui::startup {

TFInit::TFInit(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(ApplicationTitle());
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(SystemTitle() + QStringLiteral(" نسخه ") + EditionTitle(), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* organisation = new QLabel(session.site().organisationName, this);
    organisation->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(organisation);
    auto* form = new QFormLayout;
    user_ = new QComboBox(this);
    user_->setEditable(true);
    user_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9۰-۹٠-٩]{0,5}")), user_));
    user_->setObjectName(QStringLiteral("uname"));
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    password_->setObjectName(QStringLiteral("password"));
    save_ = new QCheckBox(QStringLiteral("ذخيره کلمه رمز"), this);
    save_->setObjectName(QStringLiteral("TikSavePass"));
    form->addRow(QStringLiteral("کد کاربري"), user_);
    form->addRow(QStringLiteral("کلمه رمز"), password_);
    form->addRow(QString(), save_);
    layout->addLayout(form);
    search_ = new QLabel(QStringLiteral("در حال جستجوي سرور ..."), this);
    search_->setVisible(false);
    layout->addWidget(search_);
    login_ = new QPushButton(QStringLiteral("ورود (F10)"), this);
    login_->setDefault(true);
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    layout->addWidget(login_);
    layout->addWidget(exit);
    auto* version = new QLabel(VersionLabel(), this);
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    connect(login_, &QPushButton::clicked, this, &TFInit::doLogin);
    connect(exit, &QPushButton::clicked, this, &TFInit::reject);
    // Enter in the code moves to the password, Enter in the password logs in; the
    // keys are taken here so that the dialog's default button does not log in too.
    user_->installEventFilter(this);
    user_->lineEdit()->installEventFilter(this);
    password_->installEventFilter(this);
    connect(password_, &QLineEdit::textEdited, this, [this] { savedPasswordShown_ = false; });
    connect(user_, &QComboBox::editTextChanged, this, &TFInit::refreshLoginButton);
    waitOver_.setSingleShot(true);
    connect(&waitOver_, &QTimer::timeout, this, &TFInit::refreshLoginButton);
    resize(420, 360);
}

void TFInit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The saved login fills the form when the program starts; after the main window
    // closes the password is typed again.
    if (shownBefore_) {
        password_->setFocus();
        return;
    }
    shownBefore_ = true;
    const SavedLogin saved = readSavedLogin(session_.startDir());
    if (saved.saved) {
        user_->setEditText(saved.userCode);
        password_->setText(savedPasswordMarker());
        savedPasswordShown_ = true;
        save_->setChecked(true);
        password_->setFocus();
    } else {
        user_->setFocus();
    }
}

void TFInit::fillUserCodes(const QList<int>& codes)
{
    const QString typed = user_->currentText();
    user_->clear();
    for (int c : codes)
        user_->addItem(QString::number(c));
    user_->setEditText(typed);
}

bool TFInit::ensureConnection()
{
    framework::MessagePrompt prompt(this);
    if (session_.ReadConnectionFile() != ConnectionFileState::Ready) {
        auto* setup = framework::EnsureForm<TFCONNECTION>(session_);
        setup->exec();
        setupPending_ = !setup->connectionConfirmed();
        if (setupPending_)
            return false;   // the login button stays disabled until the server is set up
    }
    setupPending_ = false;
    login_->setEnabled(true);
    if (!session_.isConnected() || !session_.common().isOpen()) {
        search_->setVisible(true);
        search_->repaint();
        session_.ConnectServer(prompt);
        search_->setVisible(false);
    }
    return session_.isConnected() && session_.common().isOpen();
}

QString TFInit::savedPasswordMarker() { return QString(8, QChar(0x25CF)); }

void TFInit::refreshLoginButton()
{
    const qint64 wait = session_.loginThrottle().waitMs(util::parseWholeNumber(user_->currentText()).value_or(-1));
    login_->setEnabled(wait == 0 && !setupPending_);
    if (wait > 0)
        waitOver_.start(int(std::min<qint64>(wait, 60000)));
    else
        waitOver_.stop();
}

bool TFInit::doLogin()
{
    login_->setEnabled(false);
    if (!ensureConnection())
        return false;
    framework::MessagePrompt prompt(this);
    const bool useSaved = savedPasswordShown_ && password_->text() == savedPasswordMarker();
    const LoginResult result = login(session_, user_->currentText(), useSaved ? LoginPassword::savedLogin() : LoginPassword(password_->text()),
                                     save_->isChecked(), prompt);
    refreshLoginButton();
    switch (result.outcome) {
    case LoginOutcome::NotAllowed:
        fillUserCodes(result.programUserCodes);
        return false;
    case LoginOutcome::NoUsers: {
        auto* users = framework::EnsureForm<TV_USERS>(session_);
        users->reopen();
        framework::showScreen(users);
        return false;
    }
    case LoginOutcome::RegisterVersion:
        if (registerVersion(session_, prompt))
            framework::ShowInfo(QStringLiteral("نگارش جديد ثبت شد؛ دوباره وارد شويد"), this);
        return false;
    case LoginOutcome::WrongPassword:
        if (savedPasswordShown_) {   // the saved login no longer holds: type it
            savedPasswordShown_ = false;
            password_->clear();
        }
        password_->setFocus();
        password_->selectAll();
        return false;
    case LoginOutcome::TooSoon:
    case LoginOutcome::Blocked:
    case LoginOutcome::VersionRefused:
    case LoginOutcome::NoServer:
        return false;
    case LoginOutcome::LoggedIn:
        break;
    }
    hide();
    if (runMainWindow) {
        runMainWindow();
    } else {
        // The main window runs as the login form's modal step, but other screens
        // opened from it must stay usable: wait for it in a loop of our own.
        auto* main = framework::EnsureForm<TMainForm>(session_);
        QEventLoop loop;
        const auto done = connect(main, &QDialog::finished, &loop, &QEventLoop::quit);
        main->setWindowModality(Qt::NonModal);
        main->showMaximized();
        loop.exec();
        disconnect(done);
        if (main->endsProgram()) {
            session_.logOut();
            endProgram();
            return true;
        }
    }
    session_.logOut();
    // The screens the user left open are not for whoever comes to the form next.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->hide();
    }
    password_->clear();
    savedPasswordShown_ = false;
    show();
    return true;
}

void TFInit::run()
{
    // Hiding the form for the main window ends its modal run; it is begun again
    // until the user has left.
    while (!leaving_) {
        if (isVisible())
            hide();
        exec();
    }
}

void TFInit::endProgram()
{
    leaving_ = true;
    waitOver_.stop();
    QDialog::reject();
}

bool TFInit::leave()
{
    TFHoshdarBkUp reminder(this);
    if (reminder.exec() != QDialog::Accepted)
        return false;
    endProgram();
    return true;
}

void TFInit::reject()
{
    if (!leaving_)
        leave();
}

bool TFInit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == password_) {
                doLogin();
                return true;
            }
            if (watched == user_ || watched == user_->lineEdit()) {
                password_->setFocus();
                password_->selectAll();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFInit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10) {
        doLogin();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvak::ui::startup
