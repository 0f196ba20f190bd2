#pragma once

#include "pvwindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pv {

// The category setup screen: creates and deletes recipe categories. One of its
// two groups (create, delete) is enabled at a time; that is its only state.
class SetupWindow : public PvWindow {
    Q_OBJECT
public:
    explicit SetupWindow(QWidget* parent = nullptr);

    void onLoad() override;

    bool inCreateMode() const;

private:
    void buildControls();
    void setCreateMode(bool create);
    // Adds the names as items; false after a failure that the handler reports.
    bool fillList();
    void itemPicked(QListWidgetItem* item);
    void createCategory();
    void cancelCreate();
    void deleteCategory();
    void cancelDelete();
    void backToMain();

    QLabel* lblSMsg1_ = nullptr;
    QLabel* lblSMsg2_ = nullptr;
    QGroupBox* fraSCategory_ = nullptr;
    QLabel* lblSCreate_ = nullptr;
    QLineEdit* txtSCreate_ = nullptr;
    QPushButton* cmdSCreate_ = nullptr;
    QPushButton* cmdSCCancel_ = nullptr;
    QLabel* lblSCurrent_ = nullptr;
    QListWidget* lswSetup_ = nullptr;
    QLabel* lblSDel_ = nullptr;
    QLineEdit* txtSDel_ = nullptr;
    QPushButton* cmdSDel_ = nullptr;
    QPushButton* cmdSDelCancel_ = nullptr;
    QPushButton* cmdSMain_ = nullptr;
    bool working_ = false;
};

}  // namespace pv
