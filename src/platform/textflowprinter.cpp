#include "textflowprinter.h"

#include <QFontMetricsF>
#include <QPrinter>

namespace pv {

TextFlowPrinter::TextFlowPrinter(QPrinter* printer) : printer_(printer) {}

TextFlowPrinter::~TextFlowPrinter() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

bool TextFlowPrinter::begin() {
    if (!printer_ || !painter_.begin(printer_)) {
        return false;
    }
    font_ = painter_.font();
    applyFont();
    x_ = 0;
    y_ = 0;
    pages_ = 1;
    pendingPages_ = 0;
    return true;
}

bool TextFlowPrinter::isActive() const {
    return painter_.isActive();
}

void TextFlowPrinter::applyFont() {
    if (painter_.isActive()) {
        painter_.setFont(QFont(font_, printer_));
    }
}

void TextFlowPrinter::setFontName(const QString& family) {
    font_.setFamily(family);
    applyFont();
}

void TextFlowPrinter::setFontSize(qreal points) {
    font_.setPointSizeF(points);
    applyFont();
}

void TextFlowPrinter::setBold(bool bold) {
    font_.setBold(bold);
    applyFont();
}

void TextFlowPrinter::printRun(const QString& run) {
    if (run.isEmpty() || !painter_.isActive()) {
        return;
    }
    startPendingPages();
    const QFontMetricsF metrics(painter_.font(), printer_);
    painter_.drawText(QPointF(x_, y_ + metrics.ascent()), run);
    x_ += metrics.horizontalAdvance(run);
}

void TextFlowPrinter::print(const QString& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            continue;
        }
        printRun(text.mid(start, i - start));
        endLine();
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            ++i;
        }
        start = i + 1;
    }
    printRun(text.mid(start));
}

void TextFlowPrinter::gap(int blanks) {
    if (blanks > 0) {
        printRun(QString(blanks, QLatin1Char(' ')));
    }
}

void TextFlowPrinter::endLine() {
    if (!painter_.isActive()) {
        return;
    }
    const QFontMetricsF metrics(painter_.font(), printer_);
    x_ = 0;
    y_ += metrics.lineSpacing();
    // Like a line printer, a line that would not fit goes onto the next page.
    // The page itself starts only when something is printed on it, so a
    // document whose last line fills the page ends without a blank page; the
    // position on it counts from its top, so empty lines there keep their room.
    const qreal bottom = printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
    if (y_ + metrics.height() > bottom) {
        ++pendingPages_;
        y_ = 0;
    }
}

void TextFlowPrinter::newPage() {
    if (!painter_.isActive()) {
        return;
    }
    // A page that is pending but still untouched is the new page already.
    if (pendingPages_ == 0 || y_ > 0) {
        ++pendingPages_;
    }
    startPendingPages();
    x_ = 0;
    y_ = 0;
}

void TextFlowPrinter::startPendingPages() {
    for (; pendingPages_ > 0; --pendingPages_) {
        if (printer_->newPage()) {
            ++pages_;
        }
    }
}

bool TextFlowPrinter::endDocument() {
    if (!painter_.isActive()) {
        return false;
    }
    return painter_.end();
}

qreal TextFlowPrinter::toPoints(qreal deviceUnits) const {
    return printer_ ? deviceUnits * 72.0 / printer_->resolution() : deviceUnits;
}

qreal TextFlowPrinter::currentX() const {
    return toPoints(x_);
}
qreal TextFlowPrinter::currentY() const {
    return toPoints(y_);
}

qreal TextFlowPrinter::pageWidth() const {
    return printer_ ? printer_->pageLayout().paintRect(QPageLayout::Point).width() : 0;
}

qreal TextFlowPrinter::pageHeight() const {
    return printer_ ? printer_->pageLayout().paintRect(QPageLayout::Point).height() : 0;
}

qreal TextFlowPrinter::textWidth(const QString& text) const {
    const QFont font = painter_.isActive() ? painter_.font() : QFont(font_, printer_);
    return toPoints(QFontMetricsF(font, printer_).horizontalAdvance(text));
}

}  // namespace pv
