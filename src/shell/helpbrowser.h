#pragma once

#include "chmarchive.h"

#include <QTextBrowser>

namespace pv::help {

// Shows the pages of a compiled help file: every page, picture, style sheet and
// linked page comes out of the archive.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(const ChmArchive& archive, QWidget* parent = nullptr);

    // "chm:/index.html" for the archive path "index.html" or "/index.html".
    static QUrl pageUrl(const QString& local);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void followLink(const QUrl& url);

    const ChmArchive& archive_;
};

}  // namespace pv::help
