#include "laswriter.h"

#include <QSaveFile>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {

QString number(double value, int decimals)
{
    return std::isfinite(value) ? QString::number(value, 'f', decimals)
                                : QString::number(LasWriter::kNull, 'f', 2);
}

// "MNEM.UNIT  DATA : DESCRIPTION" with the columns lined up.
QString headerLine(const QString &mnemonic, const QString &unit, const QString &data,
                   const QString &description)
{
    QString text = QStringLiteral(" %1.%2").arg(mnemonic, unit);
    text = text.leftJustified(12) + QLatin1Char(' ') + data.leftJustified(24);
    // Readers take the last colon as the start of the description: none
    // may stand in the data or the description itself.
    text.replace(QLatin1Char(':'), QLatin1Char(' '));
    return text + QStringLiteral(" : ") + QString(description).replace(QLatin1Char(':'), QLatin1Char(' '))
           + QLatin1Char('\n');
}

} // namespace

int LasWriter::typeCode(const QString &type)
{
    const QStringList types = StructurePick::types();
    const int index = types.indexOf(type);
    return index >= 0 ? index + 1 : types.indexOf(QStringLiteral("other")) + 1;
}

bool LasWriter::write(const QVector<StructurePick> &unsorted, const TrueOrientation &orientation,
                      const Well &well, QIODevice *device)
{
    QVector<StructurePick> picks = unsorted;
    std::stable_sort(picks.begin(), picks.end(), [](const StructurePick &a, const StructurePick &b) {
        return a.depth < b.depth;
    });
    const bool withTrue = orientation.isActive();
    double start = kNull, stop = kNull, step = 0.0;
    if (!picks.isEmpty()) {
        start = picks.first().depth / 10000.0;
        stop = picks.last().depth / 10000.0;
    }
    // Evenly spaced picks keep their step; anything else is irregular (0).
    if (picks.size() >= 2) {
        const double first = (picks.at(1).depth - picks.at(0).depth) / 10000.0;
        bool even = first > 0.0;
        for (int i = 2; even && i < picks.size(); ++i)
            even = std::fabs((picks.at(i).depth - picks.at(i - 1).depth) / 10000.0 - first) < 1e-6;
        if (even)
            step = first;
    }

    QTextStream out(device);
    out.setCodec("UTF-8");
    out << "~Version Information\n"
        << headerLine(QStringLiteral("VERS"), QString(), QStringLiteral("2.0"),
                      QStringLiteral("CWLS LOG ASCII STANDARD - VERSION 2.0"))
        << headerLine(QStringLiteral("WRAP"), QString(), QStringLiteral("NO"),
                      QStringLiteral("ONE LINE PER DEPTH STEP"))
        << "~Well Information\n"
        << "#MNEM.UNIT   DATA                     : DESCRIPTION\n"
        << headerLine(QStringLiteral("STRT"), QStringLiteral("M"), number(start, 4),
                      QStringLiteral("START DEPTH"))
        << headerLine(QStringLiteral("STOP"), QStringLiteral("M"), number(stop, 4),
                      QStringLiteral("STOP DEPTH"))
        << headerLine(QStringLiteral("STEP"), QStringLiteral("M"), number(step, 4),
                      QStringLiteral("STEP, 0 FOR IRREGULAR SAMPLES"))
        << headerLine(QStringLiteral("NULL"), QString(), number(kNull, 2), QStringLiteral("NULL VALUE"))
        << headerLine(QStringLiteral("COMP"), QString(), well.company, QStringLiteral("COMPANY"))
        << headerLine(QStringLiteral("WELL"), QString(), well.name, QStringLiteral("WELL"))
        << headerLine(QStringLiteral("FLD"), QString(), QString(), QStringLiteral("FIELD"))
        << headerLine(QStringLiteral("LOC"), QString(), QString(), QStringLiteral("LOCATION"))
        << headerLine(QStringLiteral("SRVC"), QString(), QString(), QStringLiteral("SERVICE COMPANY"))
        << headerLine(QStringLiteral("DATE"), QString(), well.date, QStringLiteral("LOG DATE"))
        << headerLine(QStringLiteral("UWI"), QString(), QString(), QStringLiteral("UNIQUE WELL ID"))
        << "~Curve Information\n"
        << "#MNEM.UNIT   API CODE                 : CURVE DESCRIPTION\n"
        << headerLine(QStringLiteral("DEPT"), QStringLiteral("M"), QString(),
                      QStringLiteral("MEASURED DEPTH OF THE PLANE"))
        << headerLine(QStringLiteral("DIP"), QStringLiteral("DEG"), QString(),
                      QStringLiteral("DIP AGAINST THE HOLE AXIS (MEASURED)"))
        << headerLine(QStringLiteral("DAZI"), QStringLiteral("DEG"), QString(),
                      QStringLiteral("DIP DIRECTION ON THE IMAGE AZIMUTH (MEASURED)"));
    if (withTrue)
        out << headerLine(QStringLiteral("TDIP"), QStringLiteral("DEG"), QString(),
                          QStringLiteral("TRUE DIP"))
            << headerLine(QStringLiteral("TAZI"), QStringLiteral("DEG"), QString(),
                          QStringLiteral("TRUE DIP DIRECTION FROM NORTH"));
    out << headerLine(QStringLiteral("TYPE"), QString(), QString(),
                      QStringLiteral("STRUCTURE TYPE CODE, SEE ~OTHER"))
        << "~Other\n";
    const QStringList types = StructurePick::types();
    for (int i = 0; i < types.size(); ++i)
        out << "TYPE " << (i + 1) << " = " << types.at(i) << '\n';
    if (withTrue)
        out << "TDIP and TAZI: true orientation from the hole survey (minimum curvature), "
               "azimuth reference "
            << HoleSurvey::referenceWord(orientation.survey().reference()) << '\n';
    out << "~ASCII DEPT DIP DAZI" << (withTrue ? " TDIP TAZI" : "") << " TYPE\n";
    for (const StructurePick &p : qAsConst(picks)) {
        out << number(p.depth / 10000.0, 4) << ' ' << number(p.dip, 2) << ' '
            << number(p.dipDirection, 2);
        if (withTrue) {
            double dip = 0.0, direction = 0.0;
            orientation.toTrue(p.depth, p.dip, p.dipDirection, &dip, &direction);
            out << ' ' << number(dip, 2) << ' ' << number(direction, 2);
        }
        out << ' ' << typeCode(p.type) << '\n';
    }
    out.flush();
    return out.status() == QTextStream::Ok;
}

bool LasWriter::write(const QVector<StructurePick> &picks, const TrueOrientation &orientation,
                      const Well &well, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (!write(picks, orientation, well, &file) || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
