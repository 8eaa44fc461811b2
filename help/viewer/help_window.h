#pragma once
// The help viewer's own window: the table of contents beside the page, back and forward,
// pages, style sheets and pictures read straight out of the compiled help file.

#include <QHash>
#include <QTextBrowser>
#include <QWidget>

#include <optional>

#include "help/viewer/chm_archive.h"
#include "help/viewer/file_version.h"
#include "help/viewer/help_file_index.h"

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace tremira::help {

// Pages come from the open help file; every link stays inside it. A page the file cannot
// give shows the failure page.
class HelpPage : public QTextBrowser {
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;
    void setArchive(const ChmArchive *archive, const QString &fileName);
    QVariant loadResource(int type, const QUrl &name) override;

private:
    const ChmArchive *m_archive = nullptr;
    QString m_fileName;
};

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString &readerProgram);

    // Brings the window forward at the topic of a context number, or at the file's default
    // topic; a number the file does not map shows the default topic. Requests that come while
    // the file is read are ignored: the one being served stands.
    void showHelp(const QString &fileName, std::optional<qint32> topic);

private:
    void createToolBar();
    void createPanes();
    // The file is read again only when it is another file or has changed since it was read,
    // whether it could be read then or not; false when it cannot be read.
    bool openFile(const QString &fileName);
    void loadIndex();
    void showFailure();
    void showDefaultTopic();
    void showContext(qint32 contextNumber);
    void showTopic(const QString &topic);
    void selectContentsEntry(const QUrl &source);

    QString m_readerProgram;
    bool m_reading = false;
    // The help file last read, as it was then, and what came of it: its pages or why not.
    QString m_fileName;
    std::optional<FileVersion> m_fileVersion;
    std::optional<ChmArchive> m_archive;
    std::optional<HelpFileFailure> m_failure;
    HelpFileOptions m_options;
    QHash<qint32, QString> m_contextMap;

    QTreeWidget *m_contents = nullptr;
    HelpPage *m_page = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
};

// The scheme of the page addresses inside the help window.
inline constexpr char kHelpScheme[] = "help";

}  // namespace tremira::help
