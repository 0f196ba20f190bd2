#pragma once

#include "chmarchive.h"

#include <QTextBrowser>

namespace pv::help {

// Shows the pages of a compiled help file: every page, picture, style sheet and
// linked page comes out of the archive. Without an archive it shows nothing.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // The archive must outlive the browser, or be taken away first.
    void setArchive(const ChmArchive* archive) { archive_ = archive; }

    // "chm:/index.html" for the archive path "index.html" or "/index.html".
    static QUrl pageUrl(const QString& local);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void followLink(const QUrl& url);

    const ChmArchive* archive_ = nullptr;
};

}  // namespace pv::help
