#pragma once
// The calculation speaks UTF-8 std::string_view; the window speaks QString. One bridge for both ways.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <string_view>

namespace tremira::ui {

inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A view of UTF-8 bytes; the QByteArray must outlive it.
inline std::string_view Utf8View(const QByteArray &utf8) {
    return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

}  // namespace tremira::ui
