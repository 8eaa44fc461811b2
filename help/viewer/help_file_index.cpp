#include "help/viewer/help_file_index.h"

#include <QRegularExpression>
#include <QtEndian>

namespace tremira::help {

namespace {

// Record codes of the "#SYSTEM" file.
constexpr quint16 kContentsFileCode = 0;
constexpr quint16 kDefaultTopicCode = 2;
constexpr quint16 kTitleCode = 3;

QString recordText(const QByteArray &systemFile, qsizetype offset, quint16 length) {
    QByteArray text = systemFile.mid(offset, length);
    const qsizetype end = text.indexOf('\0');
    if (end >= 0) text.truncate(end);
    return QString::fromUtf8(text);
}

}  // namespace

QString StoredPath(const QString &reference) {
    QString path = reference.trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(QLatin1String("./"))) path.remove(0, 1);
    if (!path.startsWith(QLatin1Char('/'))) path.prepend(QLatin1Char('/'));
    return path;
}

HelpFileOptions ParseHelpFileOptions(const QByteArray &systemFile) {
    HelpFileOptions options;
    const auto *bytes = reinterpret_cast<const uchar *>(systemFile.constData());
    // A 4-byte version, then records of a 2-byte code, a 2-byte length and the data.
    for (qsizetype offset = 4; offset + 4 <= systemFile.size();) {
        const quint16 code = qFromLittleEndian<quint16>(bytes + offset);
        const quint16 length = qFromLittleEndian<quint16>(bytes + offset + 2);
        offset += 4;
        if (offset + length > systemFile.size()) break;
        const QString text = recordText(systemFile, offset, length);
        if (code == kTitleCode)
            options.title = text;
        else if (code == kDefaultTopicCode && !text.isEmpty())
            options.defaultTopic = StoredPath(text);
        else if (code == kContentsFileCode && !text.isEmpty())
            options.contentsFile = StoredPath(text);
        offset += length;
    }
    return options;
}

QList<ContentsEntry> ParseContents(const QString &sitemap) {
    static const QRegularExpression token(
        QStringLiteral(
            R"re(<\s*(/?)\s*(ul|object)\b[^>]*>|<\s*param\s+name\s*=\s*"([^"]*)"\s+value\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    QList<ContentsEntry> entries;
    ContentsEntry current;
    int depth = -1;
    bool inObject = false;
    for (const QRegularExpressionMatch &match : token.globalMatch(sitemap)) {
        const bool closing = !match.captured(1).isEmpty();
        const QString tag = match.captured(2).toLower();
        if (tag == QLatin1String("ul")) {
            depth += closing ? -1 : 1;
        } else if (tag == QLatin1String("object")) {
            if (closing && inObject && !current.name.isEmpty()) entries.append(current);
            inObject = !closing;
            current = ContentsEntry{{}, {}, qMax(depth, 0)};
        } else if (inObject) {
            const QString param = match.captured(3).toLower();
            if (param == QLatin1String("name"))
                current.name = match.captured(4);
            else if (param == QLatin1String("local"))
                current.topic = StoredPath(match.captured(4));
        }
    }
    return entries;
}

QHash<qint32, QString> ParseContextMap(const QStringList &headers) {
    static const QRegularExpression define(QStringLiteral(R"(^\s*#define\s+(\w+)\s+(-?\d+)\s*$)"));
    static const QRegularExpression alias(QStringLiteral(R"(^\s*(\w+)\s*=\s*(\S+)\s*$)"));
    QHash<QString, qint32> numbers;
    QHash<QString, QString> topics;
    for (const QString &header : headers) {
        for (const QString &line : header.split(QLatin1Char('\n'))) {
            if (const QRegularExpressionMatch m = define.match(line); m.hasMatch()) {
                bool ok = false;
                const qint32 number = m.captured(2).toInt(&ok);
                if (ok) numbers.insert(m.captured(1), number);
            } else if (const QRegularExpressionMatch a = alias.match(line); a.hasMatch()) {
                topics.insert(a.captured(1), StoredPath(a.captured(2)));
            }
        }
    }
    QHash<qint32, QString> map;
    for (auto it = numbers.cbegin(); it != numbers.cend(); ++it) {
        if (const auto topic = topics.constFind(it.key()); topic != topics.cend()) map.insert(it.value(), *topic);
    }
    return map;
}

}  // namespace tremira::help
