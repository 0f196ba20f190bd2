#include "aboutwindow.h"
#include "formsetup.h"
#include "twips.h"

#include "hoverhints.h"
#include "pictures.h"

#include <QLabel>
#include <QPixmap>

namespace pv {

AboutWindow::AboutWindow(QWidget* parent)
    : ClickAwayWindow(WindowId::About, QStringLiteral("About"), QSize(px(6570), px(2790)), "Shape1",
                      parent) {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap::fromImage(pictures::recipeBookPicture(48)));
    image->setGeometry(px(300), px(300), 48, 48);
    image->setAccessibleName(QStringLiteral("Picture of a recipe book"));
    // No action belongs to the picture, so its clicks stop here.
    image->setAttribute(Qt::WA_NoMousePropagation);

    QLabel* title = addLabel("lblATitle", QStringLiteral("Pantrova"),
                             QRect(px(1260), px(180), px(3300), px(600)));
    title->setWordWrap(false);
    title->setFont(QFont(QStringLiteral("Tahoma"), 24));
    HoverHints::setColour(title, HoverHints::unlitColour());

    addLabel("lblAVer", QStringLiteral("V1.0"), QRect(px(4800), px(480), px(900), px(240)));
    addLabel("lblAMsg",
             QStringLiteral("Pantrova keeps your recipes and shopping lists. It is a rewrite of "
                            "my earlier recipe program, made for my own household. The help file "
                            "tells more about each screen."),
             QRect(px(1260), px(840), px(5040), px(780)));
    addLabel("lblAMsg1", QStringLiteral("Questions or ideas? Please write to Marten Holloway at:"),
             QRect(px(1260), px(1680), px(5040), px(240)));
    addLabel("lblAEMail", QStringLiteral("marten.holloway@example.org"),
             QRect(px(1260), px(1920), px(5040), px(240)));
    addLabel("lblAMsg2", QStringLiteral("As always,. thanks for trying my program :)"),
             QRect(px(1260), px(2280), px(5040), px(240)));
    finishForm(this, {});
}

}  // namespace pv
