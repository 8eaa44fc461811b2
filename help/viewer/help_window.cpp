#include "help/viewer/help_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWindow>

#include "colours/readable_colour.h"

namespace tremira::help {

namespace {

constexpr int kTopicRole = Qt::UserRole;

QUrl topicUrl(const QString &topic) {
    QUrl url;
    url.setScheme(QLatin1String(kHelpScheme));
    url.setPath(topic);
    return url;
}

// A page that is missing, damaged or decodes to no text at all. A text page never holds a NUL
// byte: chmlib hands out NULs for a block it could not unpack.
bool isReadablePage(const std::optional<QByteArray> &content) {
    return content && !content->contains('\0') &&
           !QTextDocumentFragment::fromHtml(QString::fromUtf8(*content)).toPlainText().trimmed().isEmpty();
}

QStringList mapHeaders(const ChmArchive &archive) {
    QStringList headers;
    for (const QString &path : archive.files()) {
        if (path.endsWith(QLatin1String(".h"), Qt::CaseInsensitive))
            headers.append(QString::fromUtf8(archive.read(path).value_or(QByteArray())));
    }
    return headers;
}

QString damagedFileReason() { return QStringLiteral("Файл повреждён или не является файлом справки."); }

QString failureReason(HelpFileFailure failure, const QString &readerProgram) {
    const QString readerFailed = QStringLiteral("Не удалось прочитать справку: программа чтения справки %1.");
    switch (failure) {
    case HelpFileFailure::Missing: return QStringLiteral("Файл не найден.");
    case HelpFileFailure::Damaged: return damagedFileReason();
    case HelpFileFailure::ReaderNotStarted:
        return readerFailed.arg(
            QStringLiteral("%1 не найдена или не запускается").arg(QDir::toNativeSeparators(readerProgram)));
    case HelpFileFailure::ReaderTimedOut:
        return readerFailed.arg(QStringLiteral("не ответила за %1 с").arg(ChmArchive::kReaderTimeoutMs / 1000));
    case HelpFileFailure::ReaderCrashed: return readerFailed.arg(QStringLiteral("завершилась аварийно"));
    case HelpFileFailure::ReaderOverflowed:
        return readerFailed.arg(QStringLiteral("выдала больше данных, чем может содержать файл"));
    case HelpFileFailure::ReaderGarbled: return readerFailed.arg(QStringLiteral("выдала неверные данные"));
    }
    Q_UNREACHABLE();
}

// The page shown in place of a help file, or a page of it, that cannot be read.
QString failurePage(const QString &fileName, const QString &reason) {
    return QStringLiteral("<h3>Не удаётся открыть файл справки</h3><p>%1</p><p>%2</p>")
        .arg(QDir::toNativeSeparators(fileName).toHtmlEscaped(), reason.toHtmlEscaped());
}

// The colours of a help page's text, headings, links, messages and formulas, from the reader's
// palette and readable on its background; the page's own style sheet sets none. The page lies on
// the active group's base while its window has the focus and on the inactive group's otherwise
// (a little lighter under a dark desktop style): each colour reads on both.
QString pageColours(const QPalette &palette) {
    using colours::ReadableOn;
    const QColor formulaBackground = palette.color(QPalette::AlternateBase);
    const auto onPage = [&palette](const QColor &wanted) {
        // Both bases lie on the same side of the middle grey, so moving away from the second
        // keeps the colour readable on the first.
        return ReadableOn(ReadableOn(wanted, palette.color(QPalette::Active, QPalette::Base)),
                          palette.color(QPalette::Inactive, QPalette::Base))
            .name();
    };
    // Headings in the palette's accent, messages in the program's message colour as in the check
    // window, references in the subdued tone of disabled text.
    return QStringLiteral("body { color: %1; }\n"
                          "h1, h2, h3 { color: %2; }\n"
                          "a { color: %3; }\n"
                          ".message { color: %4; }\n"
                          ".see-also { color: %5; }\n"
                          ".formula { color: %6; background-color: %7; }\n")
        .arg(onPage(palette.color(QPalette::Text)), onPage(palette.color(QPalette::Highlight)),
             onPage(palette.color(QPalette::Link)), onPage(colours::MessageColourOn(palette.color(QPalette::Base))),
             onPage(palette.color(QPalette::Disabled, QPalette::WindowText)),
             ReadableOn(palette.color(QPalette::Text), formulaBackground).name(), formulaBackground.name());
}

}  // namespace

void HelpPage::setArchive(const ChmArchive *archive, const QString &fileName) {
    m_archive = archive;
    m_fileName = fileName;
}

QVariant HelpPage::loadResource(int type, const QUrl &name) {
    if (name.scheme() != QLatin1String(kHelpScheme)) return {};
    std::optional<QByteArray> content = m_archive ? m_archive->read(name.path()) : std::nullopt;
    if (type == QTextDocument::HtmlResource && !isReadablePage(content))
        return failurePage(m_fileName, damagedFileReason());
    return content.value_or(QByteArray());
}

HelpWindow::HelpWindow(const QString &readerProgram) : m_readerProgram(readerProgram) {
    // The help lives on by itself but must not keep the program running once it closes.
    // Closing only hides it: it keeps the file it has read, or why it could not, and it is
    // never deleted while it waits for the reader.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QStringLiteral("HelpWindow"));
    // At a large scale factor the usual size may exceed the screen; the window stays resizable.
    // The frame counts too, as far as the window system tells it before the window is shown.
    create();
    const QSize room = screen()->availableGeometry().size().shrunkBy(windowHandle()->frameMargins());
    resize(QSize(820, 560).boundedTo(room));
    createToolBar();
    createPanes();
    // F1 while reading keeps the page: without a key of its own here, the program's context help
    // would take F1 and bring the overview over the topic being read.
    new QShortcut(QKeySequence(Qt::Key_F1), this);
    new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
}

void HelpWindow::createToolBar() {
    auto *toolBar = new QToolBar(this);
    m_back = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"));
    m_forward = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперёд"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolBar);
}

void HelpWindow::createPanes() {
    auto *splitter = new QSplitter(this);
    m_contents = new QTreeWidget(splitter);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setHeaderHidden(true);
    m_page = new HelpPage(splitter);
    m_page->setObjectName(QStringLiteral("page"));
    m_page->document()->setDefaultStyleSheet(pageColours(m_page->palette()));
    splitter->setSizes({220, 600});
    layout()->addWidget(splitter);

    connect(m_back, &QAction::triggered, m_page, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_page, &QTextBrowser::forward);
    connect(m_page, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_page, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_page, &QTextBrowser::sourceChanged, this, &HelpWindow::selectContentsEntry);
    const auto showEntry = [this](QTreeWidgetItem *item) { showTopic(item->data(0, kTopicRole).toString()); };
    connect(m_contents, &QTreeWidget::itemActivated, this, showEntry);
    connect(m_contents, &QTreeWidget::itemClicked, this, showEntry);
}

void HelpWindow::showHelp(const QString &fileName, std::optional<qint32> topic) {
    if (m_reading) return;
    if (openFile(fileName)) {
        if (topic)
            showContext(*topic);
        else
            showDefaultTopic();
    }
    show();
    raise();
    activateWindow();
}

bool HelpWindow::openFile(const QString &fileName) {
    const std::optional<FileVersion> version = FileVersionOf(fileName);
    if ((m_archive || m_failure) && fileName == m_fileName && version == m_fileVersion) return m_archive.has_value();
    // The pages of the file shown so far stay readable while the reader runs.
    m_reading = true;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    HelpFileFailure failure{};
    std::optional<ChmArchive> archive = ChmArchive::open(m_readerProgram, fileName, &failure);
    QGuiApplication::restoreOverrideCursor();
    m_reading = false;
    m_fileName = fileName;
    m_fileVersion = version;
    m_archive = std::move(archive);
    m_failure = m_archive ? std::nullopt : std::optional(failure);
    m_page->setArchive(m_archive ? &*m_archive : nullptr, fileName);
    // A topic of the same name in the new file must be read again, not kept from the old one.
    m_page->clear();
    m_page->clearHistory();
    loadIndex();
    if (!m_archive) {
        showFailure();
        return false;
    }
    return true;
}

void HelpWindow::loadIndex() {
    m_contents->clear();
    m_contextMap.clear();
    m_options = {};
    if (!m_archive) {
        setWindowTitle(QStringLiteral("Справка"));
        return;
    }
    m_options = ParseHelpFileOptions(m_archive->read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));
    m_contextMap = ParseContextMap(mapHeaders(*m_archive));
    setWindowTitle(m_options.title.isEmpty() ? QFileInfo(m_fileName).completeBaseName() : m_options.title);

    const QList<ContentsEntry> entries =
        ParseContents(QString::fromUtf8(m_archive->read(m_options.contentsFile).value_or(QByteArray())));
    QList<QTreeWidgetItem *> parents;
    for (const ContentsEntry &entry : entries) {
        parents.resize(qMin<qsizetype>(entry.depth, parents.size()));
        auto *item = parents.isEmpty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.name);
        item->setData(0, kTopicRole, entry.topic);
        parents.append(item);
    }
    m_contents->expandAll();
    if (m_options.defaultTopic.isEmpty() && !entries.isEmpty()) m_options.defaultTopic = entries.first().topic;
}

void HelpWindow::showFailure() {
    m_page->setHtml(
        failurePage(m_fileName, m_failure ? failureReason(*m_failure, m_readerProgram) : damagedFileReason()));
}

// A file without a topic to start from cannot show anything: it is damaged.
void HelpWindow::showDefaultTopic() {
    if (!m_archive) return;
    if (m_options.defaultTopic.isEmpty())
        showFailure();
    else
        showTopic(m_options.defaultTopic);
}

void HelpWindow::showContext(qint32 contextNumber) {
    if (!m_archive) return;
    const QString topic = m_contextMap.value(contextNumber);
    if (topic.isEmpty() || !m_archive->contains(topic))
        showDefaultTopic();
    else
        showTopic(topic);
}

void HelpWindow::showTopic(const QString &topic) {
    // Clicking an entry may also activate it: one page, one step of history.
    if (topic.isEmpty()) return;
    if (m_page->source() != topicUrl(topic) || m_page->document()->isEmpty()) m_page->setSource(topicUrl(topic));
}

void HelpWindow::selectContentsEntry(const QUrl &source) {
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        if ((*it)->data(0, kTopicRole).toString() == source.path()) {
            m_contents->setCurrentItem(*it);
            return;
        }
    }
}

}  // namespace tremira::help
