#include "ui/startup/TFupdateProgress.h"

#include "ui/framework/MessageBoxes.h"
#include "core/startup/Versions.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

TFupdateProgress::TFupdateProgress(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("FupdateProgress"));
    setWindowTitle(QStringLiteral("بروز آوري  و بازسازي ساختار بانکهاي اطلاعاتي"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    const char* captions[] = {"بروز آوري جداول", "بروز آوري UDF", "بروز آوري SP", "بروز آوري view", "بروز آوري نهايي"};
    for (int i = 0; i < 5; ++i) {
        parts_[i] = new QCheckBox(QString::fromUtf8(captions[i]), this);
        parts_[i]->setChecked(true);
        row->addWidget(parts_[i]);
    }
    layout->addLayout(row);
    status_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addWidget(log_, 1);
    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("شروع بروز آوري"), this);
    auto* stop = new QPushButton(QStringLiteral("توقف"), this);
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    buttons->addWidget(start_);
    buttons->addWidget(stop);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, [this] { run(); });
    connect(stop, &QPushButton::clicked, this, &TFupdateProgress::requestStop);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(700, 460);
}

int TFupdateProgress::parts() const
{
    const int bits[] = {UpdateTables, UpdateFunctions, UpdateProcedures, UpdateViews, UpdateFixups};
    int p = 0;
    for (int i = 0; i < 5; ++i)
        p |= parts_[i]->isChecked() ? bits[i] : 0;
    return p;
}

void TFupdateProgress::info(const QString& text)
{
    log_->appendPlainText(text);
}

bool TFupdateProgress::ask(const QString& text) { return quiet || framework::Ask(text, this) == framework::AskYes; }

void TFupdateProgress::progress(const QString& title, int step, int total)
{
    status_->setText(title);
    bar_->setMaximum(std::max(1, total));
    bar_->setValue(std::clamp(step, 0, std::max(1, total)));
    status_->repaint();
    bar_->repaint();
}

bool TFupdateProgress::stopRequested()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return stop_;
}

QStringList TFupdateProgress::run()
{
    stop_ = false;
    start_->setEnabled(false);
    log_->clear();
    QStringList errors;
    // The update works on connections of its own: close ours and connect again.
    const int year = session_.CurrentYear();
    const QString section = session_.SectionCode();
    const bool hadSection = session_.hasDeposits();
    session_.CloseConnections();
    // What failed (folder, password, server, ...) is what the list of errors says.
    CollectingPrompt connecting;
    const bool connected = session_.ConnectServer(connecting);
    for (const QString& told : connecting.infos)
        info(told);
    if (!connected) {
        start_->setEnabled(true);
        return connecting.infos;
    }
    db::Server& server = *session_.server();
    if (server.dialect().tableExists(session_.common(), QStringLiteral("BKUP_LETTER_TEMPLATE"))) {
        info(QStringLiteral("جدول BKUP_LETTER_TEMPLATE وجود دارد "));
        if (!ask(QStringLiteral("مطمئن هستيد؟"))) {
            start_->setEnabled(true);
            return {};
        }
    }
    QStringList databases{session_.commonDbName()};
    const QStringList existing = server.databaseNames();
    for (const Section& s : allSections()) {
        const QString name = Session::depositDbNameFor(session_.installationNumber(), s.code, existing);
        if (server.databaseExists(name) && !databases.contains(name, Qt::CaseInsensitive))
            databases << name;
    }
    for (const QString& name : databases) {
        if (stop_)
            break;
        UpdateReport report;
        if (name == session_.commonDbName()) {
            report = updateCommonDatabase(server, name, *this, parts());
        } else {
            StructureUpdate update(server, *this);
            report = update.UpdateDatabase(name, schemaFor(DatabaseKind::Deposits), parts());
        }
        info(report.summary());
        for (const QString& e : report.errors)
            errors << name + QStringLiteral(": ") + e;
    }
    if (hadSection)
        session_.OpenSection(year, section, *this);
    start_->setEnabled(true);
    if (!quiet) {
        if (errors.isEmpty())
            framework::ShowInfo(QStringLiteral("بروز آوري با موفقيت انجام شد"), this);
        else
            framework::ShowError(QStringLiteral("بروزآوري با اشکال به پايان رسيد.موارد اشکال را براي ما ارسال نمائيد") + QLatin1Char('\n')
                                     + errors.join(QLatin1Char('\n')) + QLatin1Char('\n') + QStringLiteral("اشکالات فوق را براي واحد پشتيباني اورواک ارسال کنيد"),
                                 this);
    }
    return errors;
}

} // namespace orvak::ui::startup
