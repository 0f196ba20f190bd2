#include "helpbrowser.h"

#include <QDesktopServices>

namespace pv::help {

namespace {

constexpr auto kScheme = "chm";

// A link inside the archive: local paths are archive paths; a leading
// "something.chm::" as written by some help compilers is dropped.
QString archiveLocal(QString local) {
    const qsizetype separator = local.indexOf(u"::");
    if (separator >= 0)
        local = local.mid(separator + 2);
    return local.trimmed();
}

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links are followed here, so that nothing outside the archive is loaded
    // into the page view.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

QUrl HelpBrowser::pageUrl(const QString& local) {
    QString path = archiveLocal(local);
    QString fragment;
    const qsizetype hash = path.indexOf(u'#');
    if (hash >= 0) {
        fragment = path.mid(hash + 1);
        path.truncate(hash);
    }
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    url.setPath(path);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    return url;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    Q_UNUSED(type);
    if (!archive_ || name.scheme() != QLatin1String(kScheme))
        return {};
    if (auto bytes = archive_->read(name.path()))
        return *bytes;
    return {};
}

void HelpBrowser::followLink(const QUrl& url) {
    if (url.scheme() == QLatin1String(kScheme)) {
        setSource(url);
    } else if (url.scheme() == u"http" || url.scheme() == u"https" || url.scheme() == u"mailto") {
        QDesktopServices::openUrl(url);
    }
}

}  // namespace pv::help
