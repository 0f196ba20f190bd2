#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

class QPrinter;

namespace pv {

// A printer that flows text like a line printer: each print writes at the
// current position and stays on the line; endLine() moves to the start of the
// next line. Positions and page sizes are in points (1/72 inch), measured in
// the printable area of the page.
class TextFlowPrinter {
public:
    explicit TextFlowPrinter(QPrinter* printer);
    ~TextFlowPrinter();
    TextFlowPrinter(const TextFlowPrinter&) = delete;
    TextFlowPrinter& operator=(const TextFlowPrinter&) = delete;

    // Starts the document; false when the printer cannot be opened.
    bool begin();
    bool isActive() const;

    void setFontName(const QString& family);
    void setFontSize(qreal points);
    void setBold(bool bold);
    qreal fontSize() const { return font_.pointSizeF(); }
    const QFont& font() const { return font_; }

    // Writes text at the current position. Line breaks inside the text
    // (CR LF, CR or LF) end the line there, as a line printer would.
    void print(const QString& text);
    // A gap of n blanks.
    void gap(int blanks);
    void endLine();
    void newPage();
    // Sends the document to the printer; false when that failed.
    bool endDocument();

    qreal currentX() const;
    qreal currentY() const;
    qreal pageWidth() const;
    qreal pageHeight() const;
    qreal textWidth(const QString& text) const;
    int pageCount() const { return pages_; }

private:
    qreal toPoints(qreal deviceUnits) const;
    void applyFont();
    void printRun(const QString& run);
    void startPendingPages();

    QPrinter* printer_;
    QPainter painter_;
    QFont font_;
    qreal x_ = 0;  // device units
    qreal y_ = 0;  // device units, top of the current line
    int pages_ = 0;
    int pendingPages_ = 0;  // pages ended by line ends, started by the next print
};

}  // namespace pv
