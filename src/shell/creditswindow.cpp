#include "creditswindow.h"
#include "formsetup.h"
#include "twips.h"

#include "pictures.h"

#include <QLabel>
#include <QPixmap>

namespace pv {

namespace {

struct Acknowledgement {
    const char* nameLabel;
    QString name;
    const char* reasonLabel;
    QString reason;
};

}  // namespace

CreditsWindow::CreditsWindow(QWidget* parent)
    : ClickAwayWindow(WindowId::Credits, QStringLiteral("Credits"), QSize(px(10245), px(4710)),
                      "shaCr", parent) {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("imgCredit"));
    image->setPixmap(QPixmap::fromImage(pictures::recipeBookPicture(64)));
    image->setGeometry(px(300), px(300), 64, 64);
    image->setAccessibleName(QStringLiteral("Picture of a recipe book"));

    addLabel("lblCrMsg",
             QStringLiteral("My thanks go to the people and projects below. Their work helped "
                            "with parts of this program, and their code may be used in it."),
             QRect(px(1500), px(300), px(8400), px(600)));

    const QList<Acknowledgement> rows = {
        {"lblCrAcc", QStringLiteral("The Qt Project"), "lblCrMsg1",
         QStringLiteral(
             "-- for the code concerning the main screen. I did modify it for my purposes.")},
        {"lblCrChm", QStringLiteral("Jed Wing (CHM Lib)"), "lblCrMsg2",
         QStringLiteral("-- for \"CHM Lib\", the library that opens the help file; its example "
                        "programs helped many times.")},
        {"lblCrGcc", QStringLiteral("The GCC developers"), "lblCrMsg3",
         QStringLiteral("-- for the GNU C++ compiler and its standard library, which filled what "
                        "Qt and CHM Lib left to me.")},
        {"lblCrSMenu", QStringLiteral("The Qt Project (QMenuBar)"), "lblCrMsg4",
         QStringLiteral(
             "-- for the excellent menu bar class which makes editing menus much, much easier.")},
    };
    int top = 1140;
    for (const Acknowledgement& row : rows) {
        addLabel(row.nameLabel, row.name, QRect(px(1500), px(top), px(2700), px(480)));
        addLabel(row.reasonLabel, row.reason, QRect(px(4320), px(top), px(5580), px(480)));
        top += 780;
    }
    // The last reason line does not react to clicks.
    if (auto* last = findChild<QLabel*>(QStringLiteral("lblCrMsg4"))) {
        last->setAttribute(Qt::WA_NoMousePropagation);
    }
    FormSetup setup;
    setup.dropShadowAtLoad = false;
    finishForm(this, setup);
}

}  // namespace pv
