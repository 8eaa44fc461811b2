#pragma once
// Puts a recorder in place of the help viewer for the life of the object.

#include <QList>
#include <QString>

#include <ostream>

#include "help/viewer_call.h"

namespace tremira::testing {

struct ViewerRequest {
    QWidget *owner;
    QString fileName;
    quint32 command;
    qint32 data;
    friend bool operator==(const ViewerRequest &, const ViewerRequest &) = default;
};

inline void PrintTo(const ViewerRequest &request, std::ostream *out) {
    *out << "{owner " << request.owner << ", \"" << request.fileName.toStdString() << "\", command " << request.command
         << ", data " << request.data << "}";
}

class ViewerRecorder {
public:
    ViewerRecorder()
        : m_replaced(help::replaceViewer([this](QWidget *owner, const QString &fileName, quint32 command, qint32 data) {
              requests.append({owner, fileName, command, data});
          })) {}
    ~ViewerRecorder() { help::replaceViewer(m_replaced); }
    ViewerRecorder(const ViewerRecorder &) = delete;
    ViewerRecorder &operator=(const ViewerRecorder &) = delete;

    QList<ViewerRequest> requests;

private:
    help::ViewerCall m_replaced;
};

}  // namespace tremira::testing
