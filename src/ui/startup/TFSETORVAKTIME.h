#pragma once
// "تنظيمات صفحه اصلي ": the background picture, the slide show and the clock, kept in
// the main-screen settings file of the start folder.
#include "ui/framework/EntryForm.h"
#include "core/startup/MainScreenSettings.h"
#include "core/startup/Session.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFSETORVAKTIME : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TFSETORVAKTIME(Session& session, QWidget* parent = nullptr);
    static QString settingsFile(const Session& session);

    MainScreenSettings settings() const;
    void showSettings(const MainScreenSettings& settings);
    // "ذخيره  در فايل" and "فراخواني از فايل" without the file dialog.
    bool saveToFile(const QString& file);
    bool loadFromFile(const QString& file);

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
    QLineEdit* picture_ = nullptr;
    QLineEdit* slideFolder_ = nullptr;
    QSpinBox* interval_ = nullptr;
    QComboBox* fit_ = nullptr;
    QComboBox* rotation_ = nullptr;
    QPushButton* hands_ = nullptr;
    QPushButton* face_ = nullptr;
    QString handsColour_, faceColour_;
    QCheckBox* seconds_ = nullptr;
    QCheckBox* clockOff_ = nullptr;
};

} // namespace orvak::ui::startup
