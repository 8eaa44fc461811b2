#pragma once
// The help viewer's own window: the table of contents beside the page, back and forward,
// pages, style sheets and pictures read straight out of the compiled help file.

#include <QHash>
#include <QTextBrowser>
#include <QWidget>

#include <optional>

#include "help/viewer/chm_archive.h"
#include "help/viewer/help_file_index.h"

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace tremira::help {

// The page shown in place of a help file, or a page of it, that cannot be read.
QString FailurePage(const QString &fileName);

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

    // Opens another file only when it differs from the one shown; false when it cannot be read.
    bool openFile(const QString &fileName);
    void showDefaultTopic();
    // A number the file does not map shows the default topic.
    void showContext(qint32 contextNumber);

private:
    void createToolBar();
    void createPanes();
    void loadIndex();
    void showFailure();
    void showTopic(const QString &topic);
    void selectContentsEntry(const QUrl &source);

    QString m_readerProgram;
    QString m_fileName;
    std::optional<ChmArchive> m_archive;
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
