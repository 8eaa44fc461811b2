#pragma once
// The calculation speaks UTF-8 std::string_view; the window speaks QString. One bridge for both ways.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <string_view>

namespace tremira::ui {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A view of UTF-8 bytes; the QByteArray must outlive it.
inline std::string_view asView(const QByteArray &bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace tremira::ui
