#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace pv {

// A multi-line text box whose text, as the program reads and writes it, has
// CR LF between its lines (the screen shows them as line breaks). Every other
// character comes back as it was put in, no-break spaces included; a copied
// selection keeps them too.
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineBox(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace pv
