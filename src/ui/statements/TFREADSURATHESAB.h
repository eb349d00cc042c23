#pragma once
// "قرائت اطلاعات صورتحساب هاي بانکي" and the settlement reader beside it: the account
// (F7), the range of months, the layout and separator, the folder and a check list of
// its files, progress, read, stop, and (statements) the rebuild of branch data.
#include "ui/framework/Doing.h"
#include "core/startup/Session.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace orvak::ui::framework {
class CodeEdit;
}

namespace orvak::ui::statements {

class ReadScreenBase : public QWidget, protected framework::MessagePrompt {
    Q_OBJECT
public:
    ReadScreenBase(orvak::startup::Session& session, bool settlement, QWidget* parent);

    framework::CodeEdit* account = nullptr;
    QComboBox* fromYear = nullptr;
    QComboBox* fromMonth = nullptr;
    QComboBox* toYear = nullptr;
    QComboBox* toMonth = nullptr;
    QComboBox* format = nullptr;        // statements only
    QLineEdit* separator = nullptr;
    QLineEdit* folder = nullptr;
    QListWidget* files = nullptr;
    QSpinBox* chequeDigits = nullptr;   // settlement only
    QProgressBar* bar = nullptr;
    QLabel* status = nullptr;
    QPushButton* readButton = nullptr;
    QPushButton* stopButton = nullptr;

    // Lists the folder's files, each ticked.
    void setFolder(const QString& path);
    QStringList tickedFiles() const;
    // The last run's summary as shown under the buttons.
    QString summary() const;

    void progress(const QString& title, int step, int total) override;
    bool stopRequested() override;

public slots:
    void read();
    void stop() { stop_ = true; }

protected:
    virtual QString runReading() = 0;
    orvak::startup::Session& session_;
    bool stop_ = false;
    bool running_ = false;
};

class TFREADSURATHESAB : public ReadScreenBase {
    Q_OBJECT
public:
    explicit TFREADSURATHESAB(orvak::startup::Session& session, QWidget* parent = nullptr);
    QPushButton* rebuildButton = nullptr;

public slots:
    void rebuildBranches();

protected:
    QString runReading() override;
};

class TFREADSURATHESABSHAPARAK : public ReadScreenBase {
    Q_OBJECT
public:
    explicit TFREADSURATHESABSHAPARAK(orvak::startup::Session& session, QWidget* parent = nullptr);

protected:
    QString runReading() override;
};

} // namespace orvak::ui::statements
