#pragma once
// "بروز آوري  و بازسازي ساختار بانکهاي اطلاعاتي": the structure update of the common
// database and then every section's deposits database.
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"
#include "core/startup/StructureUpdate.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFupdateProgress : public QDialog, public Prompt {
    Q_OBJECT
public:
    explicit TFupdateProgress(Session& session, QWidget* parent = nullptr);

    // Runs the update; the collected errors (empty on success).
    QStringList run();
    int parts() const;
    void requestStop() { stop_ = true; }

    // Prompt
    void info(const QString& text) override;
    bool ask(const QString& text) override;
    void progress(const QString& title, int step, int total) override;
    bool stopRequested() override;

    bool quiet = false;   // tests: no message boxes at the end

private:
    Session& session_;
    QCheckBox* parts_[5] = {};
    QLabel* status_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QPushButton* start_ = nullptr;
    bool stop_ = false;
};

} // namespace orvak::ui::startup
