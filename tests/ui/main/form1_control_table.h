#pragma once
// The main window's controls as the data file shared with the end-to-end harness lists them:
// in tab order, each with its place in twips of the client area.

#include <QFile>
#include <QList>
#include <QRect>
#include <QString>

struct ControlPlace {
    QString name;
    QRect twips;
};

// A row that cannot be read comes back named after its text, so that no control matches it.
inline QList<ControlPlace> ControlTable() {
    QList<ControlPlace> rows;
    QFile file(QStringLiteral(TREMIRA_FORM1_CONTROLS));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return rows;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        bool ok = fields.size() == 5;
        int twips[4] = {};
        for (int i = 0; ok && i < 4; ++i) twips[i] = fields[i + 1].toInt(&ok);
        rows.append({ok ? fields[0] : QStringLiteral("unreadable row: ") + line,
                     QRect(twips[0], twips[1], twips[2], twips[3])});
    }
    return rows;
}
