#include "platform/platform_start.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace tremira::platform {
namespace {

const QByteArray kPluginCategory = QByteArrayLiteral("qt.qpa.plugin");

// The plugin a message of Qt's plugin loader names, when it is of the kind asked for.
QString pluginNamed(const QtMessage &message, const QString &kind) {
    static const QRegularExpression named(QStringLiteral("^Could not (find|load) the Qt platform plugin \"([^\"]*)\""));
    const QRegularExpressionMatch match = named.match(message.text);
    if (message.category != kPluginCategory || !match.hasMatch() || match.captured(1) != kind) return {};
    return match.captured(2);
}

QStringList pluginsNamed(const std::vector<QtMessage> &said, const QString &kind) {
    QStringList plugins;
    for (const QtMessage &message : said) {
        const QString plugin = pluginNamed(message, kind);
        if (!plugin.isEmpty()) plugins << plugin;
    }
    return plugins;
}

// The last thing a plugin said about itself before Qt gave it up.
QString lastComplaint(const std::vector<QtMessage> &said) {
    const auto complaint = std::find_if(said.rbegin(), said.rend(), [](const QtMessage &message) {
        return message.type != QtDebugMsg && message.type != QtInfoMsg && message.category != kPluginCategory &&
               !message.text.trimmed().isEmpty();
    });
    return complaint == said.rend() ? QString() : complaint->text;
}

QString firstLine(const QString &text) { return text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed(); }

// The plugin of a platform entry such as "eglfs" or "linuxfb:fb=/dev/fb1;xcb".
QString pluginOf(const QString &asked) {
    return asked.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0).trimmed().toLower();
}

// The packages of Debian 12 that ship Qt's platform plugins.
QString packageOf(const QString &plugin) {
    if (plugin.startsWith(QLatin1String("wayland"))) return QStringLiteral("qt6-wayland");
    if (plugin == QLatin1String("eglfs") || plugin == QLatin1String("minimalegl"))
        return QStringLiteral("libqt6opengl6");
    if (plugin == QLatin1String("vnc")) return QStringLiteral("qt6-qpa-plugins");
    if (QStringList{"xcb", "offscreen", "minimal", "linuxfb", "vkkhrdisplay"}.contains(plugin)) {
        return QStringLiteral("libqt6gui6");
    }
    return {};
}

QString missingPluginMessage(const QString &plugin) {
    const QString package = packageOf(plugin);
    if (package.isEmpty()) {
        return QStringLiteral(
                   "Тремира: не найден модуль Qt для платформы «%1». / Tremira cannot find Qt's platform plugin %1.")
            .arg(plugin);
    }
    return QStringLiteral("Тремира: не найден модуль Qt для платформы «%1», его даёт пакет %2. / "
                          "Tremira cannot find Qt's platform plugin %1; the package %2 provides it.")
        .arg(plugin, package);
}

// Qt's messages reach the one start under way through this: Qt's handler is a plain function.
std::mutex heldMutex;
PlatformStart *heldBy = nullptr;

}  // namespace

PlatformFailure PlatformFailureOf(const QString &asked, const std::vector<QtMessage> &said, const QString &fatal) {
    const QStringList notFound = pluginsNamed(said, QStringLiteral("find"));
    const QStringList notStarted = pluginsNamed(said, QStringLiteral("load"));
    if (notStarted.isEmpty() && !notFound.isEmpty()) return {notFound.front(), {}, true};
    // Qt's closing words only say that no plugin started; the plugin's own say why.
    const bool noneStarted = notFound.size() + notStarted.size() > 0;
    const QString complaint = noneStarted ? lastComplaint(said) : QString();
    return {notStarted.isEmpty() ? pluginOf(asked) : notStarted.front(),
            firstLine(complaint.isEmpty() ? fatal : complaint), false};
}

QString PlatformFailureMessage(const PlatformFailure &failure) {
    if (failure.missing) return missingPluginMessage(failure.plugin);
    if (failure.plugin.isEmpty()) {
        return QStringLiteral("Тремира: Qt не смог открыть окно: %1 / Tremira: Qt could not open a window: %1")
            .arg(failure.reason);
    }
    return QStringLiteral("Тремира: модуль Qt для платформы «%1» не запустился: %2 / "
                          "Tremira: Qt's platform plugin %1 did not start: %2")
        .arg(failure.plugin, failure.reason);
}

void EndWithPlatformFailure(const PlatformFailure &failure) {
    std::fprintf(stderr, "%s\n", PlatformFailureMessage(failure).toUtf8().constData());
    std::_Exit(1);
}

PlatformStart::PlatformStart(QString asked) : m_asked(std::move(asked)) {
    const std::lock_guard lock(heldMutex);
    heldBy = this;
    m_previous = qInstallMessageHandler(&PlatformStart::hold);
}

PlatformStart::~PlatformStart() { passOn(); }

void PlatformStart::passOn() {
    std::vector<QtMessage> said;
    {
        const std::lock_guard lock(heldMutex);
        if (heldBy != this) return;
        heldBy = nullptr;
        qInstallMessageHandler(m_previous);
        said.swap(m_said);
    }
    for (const QtMessage &message : said) {
        m_previous(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()), message.text);
    }
}

void PlatformStart::hold(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    const std::lock_guard lock(heldMutex);
    if (type != QtFatalMsg) {
        heldBy->m_said.push_back({type, QByteArray(context.category), text});
        return;
    }
    EndWithPlatformFailure(PlatformFailureOf(heldBy->m_asked, heldBy->m_said, text));
}

}  // namespace tremira::platform
