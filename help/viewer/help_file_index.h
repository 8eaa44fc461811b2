#pragma once
// What the help window needs to know about a compiled help file, read from the files it
// stores: its title, default topic, table of contents and context-number map.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tremira::help {

// The compiler's own record of the project options (the "#SYSTEM" file).
struct HelpFileOptions {
    QString title;
    QString defaultTopic;  // stored path, "/overview.htm"
    QString contentsFile;  // stored path, "/contents.hhc"
};
HelpFileOptions ParseHelpFileOptions(const QByteArray &systemFile);

struct ContentsEntry {
    QString name;
    QString topic;  // stored path, empty for a heading without a page
    int depth = 0;  // 0 for the top level
};
// Reads a sitemap table of contents (nested <ul> with <object type="text/sitemap">).
QList<ContentsEntry> ParseContents(const QString &sitemap);

// Context numbers to stored topic paths, from the map headers stored beside the pages:
// "#define NAME number" lines give the numbers, "NAME=page.htm" lines the pages.
QHash<qint32, QString> ParseContextMap(const QStringList &headers);

// "page.htm", "./page.htm" and "/page.htm" all name the stored "/page.htm".
QString StoredPath(const QString &reference);

}  // namespace tremira::help
