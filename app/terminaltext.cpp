#include "terminaltext.h"

#include <QChar>

namespace {

// East Asian wide and full-width ranges (two terminal columns).
bool isWide(uint c)
{
    return (c >= 0x1100 && c <= 0x115F)      // Hangul Jamo initials
        || (c >= 0x2E80 && c <= 0x303E)      // CJK radicals .. CJK symbols and punctuation
        || (c >= 0x3041 && c <= 0x33FF)      // kana .. CJK compatibility
        || (c >= 0x3400 && c <= 0x4DBF)      // CJK extension A
        || (c >= 0x4E00 && c <= 0x9FFF)      // CJK unified ideographs
        || (c >= 0xA000 && c <= 0xA4CF)      // Yi
        || (c >= 0xAC00 && c <= 0xD7A3)      // Hangul syllables
        || (c >= 0xF900 && c <= 0xFAFF)      // CJK compatibility ideographs
        || (c >= 0xFE30 && c <= 0xFE4F)      // CJK compatibility forms
        || (c >= 0xFF00 && c <= 0xFF60)      // full-width forms
        || (c >= 0xFFE0 && c <= 0xFFE6)      // full-width signs
        || (c >= 0x1F300 && c <= 0x1F64F)    // pictographs, emoticons
        || (c >= 0x1F900 && c <= 0x1F9FF)
        || (c >= 0x20000 && c <= 0x3FFFD);   // CJK extensions B ..
}

bool isZeroWidth(uint c)
{
    if (c == 0x200B || c == 0x200C || c == 0x200D || c == 0xFEFF)
        return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing
        || category == QChar::Other_Control;
}

} // namespace

int TerminalText::displayWidth(const QString &text)
{
    int columns = 0;
    for (uint c : text.toUcs4()) {
        if (isZeroWidth(c))
            continue;
        columns += isWide(c) ? 2 : 1;
    }
    return columns;
}

QString TerminalText::padded(const QString &text, int columns)
{
    const int missing = columns - displayWidth(text);
    return missing > 0 ? text + QString(missing, QLatin1Char(' ')) : text;
}

QStringList TerminalText::alignedRows(const QVector<QPair<QString, QString>> &rows, int minLabelColumns)
{
    int labelColumns = minLabelColumns;
    for (const auto &row : rows)
        labelColumns = qMax(labelColumns, displayWidth(row.first) + 2);
    QStringList lines;
    for (const auto &row : rows)
        lines << padded(row.first, labelColumns) + row.second;
    return lines;
}
