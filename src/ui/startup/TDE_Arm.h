#pragma once
// "اطلاعات استفاده کننده نرم افزار": the organisation's picture, attached from a file,
// shown and deleted.
#include "core/startup/Session.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TDE_Arm : public QDialog {
    Q_OBJECT
public:
    explicit TDE_Arm(Session& session, QWidget* parent = nullptr);

    // The buttons' work without the file dialog and the question.
    bool attach(const QString& file);
    bool removePicture();
    bool hasPicture() const { return shown_; }
    QLabel* picture() const { return picture_; }

private:
    void reload();

    Session& session_;
    QLabel* picture_ = nullptr;
    QPushButton* delete_ = nullptr;
    bool shown_ = false;
};

} // namespace orvak::ui::startup
