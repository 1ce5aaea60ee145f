#ifndef TERMINALTEXT_H
#define TERMINALTEXT_H

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// Text laid out for a terminal, where a Chinese, Japanese or Korean
// character (and a full-width form such as "：") takes two columns and a
// combining mark none. Columns are counted, not characters.
class TerminalText
{
public:
    // Columns the text takes in a terminal.
    static int displayWidth(const QString &text);
    // text followed by spaces up to the given number of columns (unchanged
    // when it is that wide already).
    static QString padded(const QString &text, int columns);
    // One line per row: the label padded to the widest label plus two
    // columns (at least minLabelColumns), then the value, so that the values
    // start in the same column.
    static QStringList alignedRows(const QVector<QPair<QString, QString>> &rows, int minLabelColumns);
};

#endif // TERMINALTEXT_H
