#include "projectcheck.h"

#include "piecedecoder.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("ProjectCheck", text);
}
} // namespace

int ProjectCheck::commonWidth() const
{
    int width = 0;
    int most = 0;
    for (auto it = m_widths.cbegin(); it != m_widths.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            width = it.key();
        }
    }
    return width;
}

bool ProjectCheck::run(const QString &path, int start, double pixelsPerUnit)
{
    m_error.clear();
    m_pieceCount = m_firstId = m_lastId = 0;
    m_undecodable.clear();
    m_gaps.clear();
    m_widths.clear();
    m_oddWidthIds.clear();
    if (!open(path)) {
        m_error = tr("The project file \"%1\" could not be opened.").arg(path);
        return false;
    }

    QList<QPair<int, int>> widthOfId; // id, width of the pieces that decode
    bool ok = false;
    {
        int total = 0;
        QSqlQuery count(m_database);
        if (count.exec(QStringLiteral("select count(1) from bigImages")) && count.next())
            total = count.value(0).toInt();
        count.finish();

        QSqlQuery query(m_database);
        query.setForwardOnly(true);
        ok = query.exec(QStringLiteral("select id, data from bigImages order by id"));
        if (!ok)
            m_error = tr("The pieces could not be read: %1").arg(query.lastError().text());
        // Rows that the rounding of piece heights may leave open between two
        // pieces are no gap: two rows, and at least a millimetre.
        const double tolerance = pixelsPerUnit > 0.0 ? std::max(10.0, 2.0 / pixelsPerUnit) : 0.0;
        double coveredTo = start;
        while (ok && query.next()) {
            const int id = query.value(0).toInt();
            const QImage piece = PieceDecoder::decode(query.value(1).toByteArray());
            if (m_pieceCount == 0)
                m_firstId = id;
            m_lastId = id;
            ++m_pieceCount;
            if (piece.isNull()) {
                m_undecodable << id;
            } else {
                ++m_widths[piece.width()];
                widthOfId << qMakePair(id, piece.width());
                if (pixelsPerUnit > 0.0) {
                    const double top = id - piece.height() / pixelsPerUnit;
                    // The top is known to a row or so: told in whole centimetres.
                    if (top - coveredTo > tolerance)
                        m_gaps << Gap{int(std::lround(coveredTo / 100.0)) * 100, int(std::lround(top / 100.0)) * 100};
                }
            }
            coveredTo = id;
            if (m_progress)
                m_progress(m_pieceCount, qMax(total, m_pieceCount));
        }
    }
    close();

    const int common = commonWidth();
    for (const auto &piece : qAsConst(widthOfId)) {
        if (piece.second != common)
            m_oddWidthIds << piece.first;
    }
    return ok;
}
