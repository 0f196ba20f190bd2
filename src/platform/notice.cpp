#include "notice.h"

#include "messageservice.h"
#include "windowregistry.h"

namespace pv {

QString noCategoryText() {
    return QStringLiteral(
        "Please click on 'Prg. setup' in the Main menu\rand create at least 1 category.");
}

void noCategoryNotice() {
    showMessage(noCategoryText(), msg::kOkOnly | msg::kExclamation | msg::kSystemModal,
                QStringLiteral("User error"));
    windows().show(WindowId::Main);
}

}  // namespace pv
