#pragma once
// Stands in for the help viewer: records every request handed to it.

#include <QList>
#include <QString>

#include <optional>
#include <ostream>

#include "help/viewer_call.h"

namespace tremira::testing {

struct ViewerRequest {
    QString fileName;
    std::optional<qint32> topic;
    friend bool operator==(const ViewerRequest &, const ViewerRequest &) = default;
};

inline void PrintTo(const ViewerRequest &request, std::ostream *out) {
    *out << "{\"" << request.fileName.toStdString() << "\", topic ";
    if (request.topic)
        *out << *request.topic;
    else
        *out << "default";
    *out << "}";
}

class ViewerRecorder {
public:
    help::ViewerCall call() {
        return [this](const QString &fileName, std::optional<qint32> topic) { requests.append({fileName, topic}); };
    }

    QList<ViewerRequest> requests;
};

}  // namespace tremira::testing
