#include "reports/windows1251.h"

#include <QStringEncoder>

namespace tremira::reports {
namespace {

constexpr const char *kCodePage = "windows-1251";

// Qt's converter writes its own substitute (0x1A) for a character it cannot hold and keeps no
// record of where; encoding one character at a time with a fresh converter finds each of them.
QByteArray encodeEachCharacter(const QString &text) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder encoder(kCodePage);
        const QByteArray one = encoder.encode(QStringView(text).mid(i, length));
        bytes += encoder.hasError() ? QByteArray("?") : one;
        i += length - 1;
    }
    return bytes;
}

}  // namespace

std::optional<QByteArray> EncodeWindows1251(const QString &text) {
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid()) return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return encodeEachCharacter(text);
    return bytes;
}

}  // namespace tremira::reports
