#pragma once
#include <QDialog>

namespace orvak::ui::startup {

// "تهيه پشتيبان از اطلاعات": the advice on backups shown when the program is left.
class TFHoshdarBkUp : public QDialog {
    Q_OBJECT
public:
    explicit TFHoshdarBkUp(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace orvak::ui::startup
