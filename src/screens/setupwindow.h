#pragma once

#include "errorlocation.h"
#include "pvwindow.h"

#include <memory>

class QListWidgetItem;

namespace pv {

namespace Ui {
class SetupWindow;
}

// The category setup screen: creates and deletes recipe categories. One of its
// two groups (create, delete) is enabled at a time; that is its only state.
class SetupWindow : public PvWindow {
    Q_OBJECT
public:
    explicit SetupWindow(QWidget* parent = nullptr);
    ~SetupWindow() override;

    void onLoad() override;

    bool inCreateMode() const;

private:
    void setCreateMode(bool create);
    // Adds the listed names as items; false after a failure, reported at `where`.
    bool fillList(ErrorLocation where);
    void itemPicked(QListWidgetItem* item);
    void createCategory();
    void cancelCreate();
    void deleteCategory();
    void cancelDelete();
    void backToMain();
    // The list again after the data folder changed: the item picked and the
    // boxes stay as they are.
    void followDisk();

    std::unique_ptr<Ui::SetupWindow> ui_;
    bool working_ = false;
};

}  // namespace pv
